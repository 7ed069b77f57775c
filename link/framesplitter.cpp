#include "framesplitter.h"

#include "codec.h"

#include <cstring>

namespace tintra {

namespace {

bool IsStart(const unsigned char *p) { return p[0] == 0x00 && p[1] == (answerHeader & 0xFF); }

} // namespace

void FrameSplitter::add(const char *bytes, qsizetype n)
{
    // What is left of earlier reads is at most one unfinished frame: moving it is cheap.
    if (head_ > 0) {
        buf_.remove(0, head_);
        head_ = 0;
    }
    if (n > 0)
        buf_.append(bytes, n);
}

const unsigned char *FrameSplitter::next()
{
    const auto *data = reinterpret_cast<const unsigned char *>(buf_.constData());
    const qsizetype size = buf_.size();
    for (;;) {
        const qsizetype avail = size - head_;
        if (avail <= 0)
            return nullptr;
        const unsigned char *p = data + head_;
        if (p[0] != 0x00) {
            // Straight on to the next zero byte: nothing before it can start a frame.
            const void *zero = std::memchr(p, 0, std::size_t(avail));
            const qsizetype skip = zero ? static_cast<const unsigned char *>(zero) - p : avail;
            dropped_ += skip;
            head_ += skip;
            continue;
        }
        if (avail >= 2 && p[1] != (answerHeader & 0xFF)) {
            ++dropped_;
            ++head_;
            continue;
        }
        if (avail < frameBytes)
            return nullptr;
        // Noise that happens to hold 0x00 0xAA looks like a frame start. When the bytes after
        // this frame are there and are no frame start, while a start further in is followed by
        // one 36 bytes later, the stream is in step from there: the bytes before it are noise.
        if (avail >= frameBytes + 2 && !IsStart(p + frameBytes)) {
            qsizetype q = 1;
            while (q < frameBytes && !(avail >= q + frameBytes + 2 && IsStart(p + q) &&
                                       IsStart(p + q + frameBytes)))
                ++q;
            if (q < frameBytes) {
                dropped_ += q;
                head_ += q;
                continue;
            }
        }
        head_ += frameBytes;
        ++frames_;
        return p;
    }
}

void FrameSplitter::finish()
{
    dropped_ += held();
    buf_.clear();
    head_ = 0;
}

void FrameSplitter::clear()
{
    buf_.clear();
    head_ = 0;
    dropped_ = 0;
    frames_ = 0;
}

} // namespace tintra
