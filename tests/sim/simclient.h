// Helpers for talking to the simulated sensor from a test: building command frames, reading
// answer words, and a blocking TCP peer (the simulator runs in its own thread or process).
#pragma once

#include "link/codec.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QVector>
#include <initializer_list>

namespace tintra::test {

// A command frame: sync, order, then the payload words; the rest zero.
inline QByteArray Frame(uint16_t orderCode, std::initializer_list<uint16_t> payload = {})
{
    QByteArray f(frameBytes, '\0');
    auto *p = reinterpret_cast<unsigned char *>(f.data());
    PutWord(p, 0, sync);
    PutWord(p, 1, orderCode);
    int k = 2;
    for (uint16_t v : payload)
        PutWord(p, k++, v);
    return f;
}

inline uint16_t Word(const QByteArray &bytes, int word)
{
    return GetWord(reinterpret_cast<const unsigned char *>(bytes.constData()), word);
}

// A TCP client whose reads block (with a limit) until bytes arrive.
class TcpPeer {
public:
    bool connectTo(quint16 port)
    {
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (!socket.waitForConnected(3000))
            return false;
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }

    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.waitForBytesWritten(1000);
    }

    // Reads until `count` bytes are there or `timeoutMs` passed; returns what came (can be
    // more than `count` if more arrived in the same read).
    QByteArray read(int count, int timeoutMs = 2000)
    {
        QElapsedTimer t;
        t.start();
        while (buffer.size() < count && t.elapsed() < timeoutMs) {
            if (socket.bytesAvailable() == 0)
                socket.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - t.elapsed())));
            buffer += socket.readAll();
        }
        const QByteArray got = buffer.left(count);
        buffer.remove(0, got.size());
        return got;
    }

    // Everything that arrives within `ms` (for checking that nothing, or nothing more, comes).
    QByteArray readFor(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            socket.waitForReadyRead(int(std::max<qint64>(1, ms - t.elapsed())));
            buffer += socket.readAll();
        }
        QByteArray got = buffer;
        buffer.clear();
        return got;
    }

    QByteArray exchange(const QByteArray &frame, int timeoutMs = 2000)
    {
        send(frame);
        return read(frameBytes, timeoutMs);
    }

    QTcpSocket socket;
    QByteArray buffer;
};

} // namespace tintra::test
