// Answer handling: the bytes of one exchange arrive in arbitrary pieces into the receive path the
// links use (CollectAnswer for TCP; DropSerialSurplus and TakeSerialAnswer for the serial port),
// then the answer is unpacked and its echo checked.
//
// Input: byte 0 chooses the link (bit 0: 1 TCP, 0 serial), whether the bytes belong to the
// current TCP conversation (bit 1 clear) and the echo length (bits 2 ... 7); byte 1 how many of
// the following pieces arrive before the frame is written (bytes nobody waits for). Then pieces:
// a length byte (its low 7 bits; 127 means 1500 bytes, a flood) and that many bytes.
#include "fuzzutil.h"
#include "link/codec.h"
#include "link/state.h"
#include "link/receive.h"
#include "link/transport.h"

#include <QByteArray>
#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <vector>

using namespace tintra;

namespace {

// A sequential device the test fills: what a socket or a serial port holds after bytes arrived.
class FeedDevice : public QIODevice
{
public:
    FeedDevice() { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    void feed(const char *p, qsizetype n) { held.append(p, n); }
    void clearAll()
    {
        held.clear();
        pos = 0;
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return held.size() - pos + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        const qint64 n = std::min<qint64>(max, held.size() - pos);
        std::memcpy(data, held.constData() + pos, size_t(n));
        pos += n;
        if (pos == held.size()) {
            held.clear();
            pos = 0;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray held;
    qsizetype pos = 0;
};

// Splits the input after the two leading bytes into pieces; a flood piece repeats its bytes.
std::vector<QByteArray> Pieces(const uint8_t *data, size_t size)
{
    std::vector<QByteArray> out;
    size_t i = 2;
    while (i < size) {
        const int code = data[i++] & 0x7F;
        const size_t take = std::min<size_t>(code == 127 ? 64 : size_t(code), size - i);
        QByteArray piece(reinterpret_cast<const char *>(data + i), qsizetype(take));
        i += take;
        if (code == 127 && !piece.isEmpty())
            while (piece.size() < 1500)
                piece += piece.left(1500 - piece.size());
        out.push_back(piece);
    }
    return out;
}

void Unpack(int echoWords)
{
    const bool echoes = AnswerEchoes(echoWords);
    // The echo test agrees with a byte-by-byte comparison.
    bool same = szReadBuf[0] == 0x00 && szReadBuf[1] == 0xAA;
    for (int i = 2; i < std::min(2 * echoWords, frameBytes); ++i)
        same = same && szReadBuf[i] == szWriteBuf[i];
    FUZZ_CHECK(echoes == same);
    GetRxBufPara();
    GetRxBufData();
    for (int w = 0; w < anzframe; ++w) {
        FUZZ_CHECK(pp[w] == GetWord(szReadBuf, w));
        FUZZ_CHECK(databuf[w] == GetWord(szReadBuf, w));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Init();
    static FeedDevice dev;
    dev.clearAll();
    if (size < 2)
        return 0;
    const bool tcp = data[0] & 1;
    const bool current = !(data[0] & 2);
    const int echoWords = data[0] >> 2; // 0 ... 63: beyond the frame counts as the whole frame
    const std::vector<QByteArray> pieces = Pieces(data, size);
    const size_t before = std::min<size_t>(data[1], pieces.size());

    // The frame being answered: a parameter read of row 7.
    FillTxBuf(OrderGetRow, 7, 0, 0);
    std::memset(szReadBuf, 0x5A, sizeof szReadBuf);

    if (tcp) {
        // Bytes nobody waits for are read and thrown away, the buffer untouched.
        bytesToRead = 0;
        dataSize = frameBytes;
        for (size_t k = 0; k < before; ++k) {
            dev.feed(pieces[k].constData(), pieces[k].size());
            CollectAnswer(&dev, current);
            FUZZ_CHECK(dev.bytesAvailable() == 0);
            FUZZ_CHECK(bytesToRead == 0);
        }
        FUZZ_CHECK(szReadBuf[0] == 0x5A && szReadBuf[bufSize - 1] == 0x5A);
        // The answer is armed; it is collected from byte 0, exactly the first 36 bytes.
        bytesToRead = dataSize = frameBytes;
        QByteArray stream;
        for (size_t k = before; k < pieces.size(); ++k) {
            stream += pieces[k];
            dev.feed(pieces[k].constData(), pieces[k].size());
            CollectAnswer(&dev, current);
            FUZZ_CHECK(dev.bytesAvailable() == 0);
            FUZZ_CHECK(bytesToRead >= 0 && bytesToRead <= frameBytes);
        }
        const int got = frameBytes - bytesToRead;
        FUZZ_CHECK(current || got == 0);
        FUZZ_CHECK(got == std::min<int>(current ? frameBytes : 0, int(stream.size())));
        FUZZ_CHECK(std::memcmp(szReadBuf, stream.constData(), size_t(got)) == 0);
        FUZZ_CHECK(szReadBuf[frameBytes] == 0x5A);
        if (bytesToRead == 0)
            Unpack(echoWords);
        bytesToRead = 0;
        return 0;
    }

    // Serial: everything arrives while nobody reads; the surplus is dropped as it arrives.
    QByteArray stream;
    for (const QByteArray &piece : pieces) {
        stream += piece;
        dev.feed(piece.constData(), piece.size());
        DropSerialSurplus(&dev);
        const qint64 kept = dev.bytesAvailable();
        FUZZ_CHECK(kept <= serialQueueBytes + frameBytes - 1);
        FUZZ_CHECK((stream.size() - kept) % frameBytes == 0); // dropped in whole frames
    }
    const qint64 kept = dev.bytesAvailable();
    dataSize = int(kept);
    TakeSerialAnswer(&dev);
    FUZZ_CHECK(dev.bytesAvailable() == 0);
    FUZZ_CHECK(bytesToRead == frameBytes - int(kept));
    const QByteArray tail = stream.right(kept);
    FUZZ_CHECK(std::memcmp(szReadBuf, tail.constData(), size_t(std::min<qint64>(kept, bufSize))) ==
               0);
    if (bytesToRead == 0)
        Unpack(echoWords);
    return 0;
}
