// A scripted sensor peer for link tests: a TCP server on 127.0.0.1 (a free port) or a
// pseudo-terminal whose slave side is reachable through a symbolic link, run in its own thread so
// that it answers while the test's thread waits in its event loop.
//
// The peer assembles 36-byte frames from what it receives, records them, and answers each with the
// next scripted reply (exact, late, split, short, surplus, closing). With the script used up it
// answers by its fallback: silence, or an echo of the frame with the answer header 0x00 0xAA.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

class QThread;

namespace tintra::test {

struct PeerReply {
    QByteArray bytes;         // sent back; empty: no answer
    int delayMs = 0;          // pause before the first byte
    QList<int> cuts;          // offsets at which the answer is cut into pieces
    int gapMs = 0;            // pause between pieces
    bool closeAfter = false;  // TCP: close the connection once the bytes are out
};

class PeerWorker;

class ScriptedPeer {
public:
    enum Kind { Tcp, Pty };
    enum Fallback { Silent, Echo };

    // For Pty, linkPath is where the symbolic link to the slave device is made.
    explicit ScriptedPeer(Kind kind, const QString &linkPath = QString());
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer &) = delete;
    ScriptedPeer &operator=(const ScriptedPeer &) = delete;

    bool start(); // blocks until the server listens / the pseudo-terminal exists
    quint16 port() const;
    QString linkPath() const;

    void push(const PeerReply &reply);
    void push(const QByteArray &bytes, int delayMs = 0)
    {
        push(PeerReply{bytes, delayMs, {}, 0, false});
    }
    void pushSilence() { push(PeerReply{}); }
    void setFallback(Fallback f);
    void send(const QByteArray &bytes); // unsolicited bytes, now
    void closeClient();                 // TCP: close the current connection
    void hangUp();                      // pseudo-terminal: the device goes away

    QList<QByteArray> frames() const; // every frame received, 36 bytes each, in arrival order
    void clearFrames();
    int connections() const;          // TCP connections accepted so far

    // Waits (events running) until at least n frames have arrived or `seconds` have passed.
    bool waitFrames(int n, double seconds = 2.0) const;

    // The answer header followed by `fill`, cut or padded with zero bytes to 36 bytes.
    static QByteArray answer(const QByteArray &fill = QByteArray());

private:
    std::unique_ptr<QThread> thread;
    PeerWorker *worker = nullptr;
};

// Builds a data request in szWriteBuf whose payload differs per tag, so frames can be told apart.
void BuildFrame(uint16_t tag);
// A 36-byte answer with the header 0x00 0xAA and bytes 2 ... 35 numbered from `first`.
QByteArray Numbered(char first);

} // namespace tintra::test
