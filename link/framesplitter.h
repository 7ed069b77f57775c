// Taking the byte stream a sensor sends by itself apart into its answer frames.
#pragma once

#include <QByteArray>

namespace tintra {

// Bytes go in as they arrive from the link, in reads of any size; whole 36-byte frames whose
// first word is 170 (bytes 0x00 0xAA) come out, in order. A frame may arrive in pieces or
// together with others. Bytes that cannot start such a frame are dropped, one by one, up to the
// next 0x00 0xAA, and counted. Once a frame's start is found, the frame is taken as soon as its 36
// bytes are there; what follows the header is not checked (any value may stand there). Only when
// the bytes after it are already there, are no frame start, and a later 0x00 0xAA inside it is
// followed by a frame start 36 bytes on, that later one is taken as the frame and the bytes
// before it as noise.
// No window and no link: the triggered recording feeds it, a test can too.
class FrameSplitter {
public:
    // Appends the bytes of one read. Invalidates the frame last returned by next().
    void add(const char *bytes, qsizetype n);
    // The next whole frame (36 bytes), or nullptr when none is complete yet. Valid until the next
    // add() or clear().
    const unsigned char *next();
    // The stream has ended: an unfinished frame held back is dropped and counted.
    void finish();
    void clear(); // back to the start, counts included

    qint64 dropped() const { return dropped_; }   // bytes dropped since clear()
    qint64 frames() const { return frames_; }     // frames taken since clear()
    qsizetype held() const { return buf_.size() - head_; } // bytes of an unfinished frame

private:
    QByteArray buf_;
    qsizetype head_ = 0; // first byte not yet taken or dropped
    qint64 dropped_ = 0;
    qint64 frames_ = 0;
};

} // namespace tintra
