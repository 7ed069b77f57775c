#include "scriptedpeer.h"

#include "link/codec.h"
#include "link/platform.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tintra::test {

class PeerWorker : public QObject {
public:
    ScriptedPeer::Kind kind;
    QString link;
    quint16 port = 0;

    mutable QMutex mutex; // guards the members below, shared with the test thread
    QList<QByteArray> frames;
    QList<PeerReply> script;
    ScriptedPeer::Fallback fallback = ScriptedPeer::Silent;
    int accepted = 0;

    // Owned by the peer's thread.
    QTcpServer *server = nullptr;
    QPointer<QTcpSocket> client;
    int master = -1;
    int slaveKeep = -1;
    QSocketNotifier *notifier = nullptr;
    QByteArray rx;

    PeerWorker(ScriptedPeer::Kind k, const QString &l) : kind(k), link(l) {}

    bool setUp()
    {
        if (kind == ScriptedPeer::Tcp) {
            server = new QTcpServer(this);
            if (!server->listen(QHostAddress::LocalHost, 0))
                return false;
            port = server->serverPort();
            QObject::connect(server, &QTcpServer::newConnection, this, [this] { accept(); });
            return true;
        }
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return false;
        const char *slave = ptsname(master);
        if (!slave)
            return false;
        // Keeping the slave open ourselves means the master never reads a hang-up while the
        // program under test has the port closed.
        slaveKeep = ::open(slave, O_RDWR | O_NOCTTY);
        if (slaveKeep < 0)
            return false;
        for (int fd : {master, slaveKeep}) {
            termios t{};
            tcgetattr(fd, &t);
            cfmakeraw(&t);
            tcsetattr(fd, TCSANOW, &t);
        }
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        QFile::remove(link);
        if (::symlink(slave, QFile::encodeName(link).constData()) != 0)
            return false;
        notifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
        QObject::connect(notifier, &QSocketNotifier::activated, this, [this] { readPty(); });
        return true;
    }

    void tearDown()
    {
        delete notifier;
        notifier = nullptr;
        if (client)
            client->abort();
        delete server;
        server = nullptr;
        if (master >= 0)
            ::close(master);
        if (slaveKeep >= 0)
            ::close(slaveKeep);
        master = slaveKeep = -1;
        if (kind == ScriptedPeer::Pty)
            QFile::remove(link);
    }

    void accept()
    {
        while (QTcpSocket *s = server->nextPendingConnection()) {
            if (client)
                client->abort();
            client = s;
            s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            rx.clear();
            {
                QMutexLocker lock(&mutex);
                ++accepted;
            }
            QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] {
                if (s == client)
                    received(s->readAll());
            });
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    }

    void readPty()
    {
        char buf[512];
        for (;;) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) {
                received(QByteArray(buf, int(n)));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
    }

    void received(const QByteArray &bytes)
    {
        rx += bytes;
        while (rx.size() >= 36) {
            const QByteArray frame = rx.left(36);
            rx.remove(0, 36);
            PeerReply reply;
            bool have = false;
            {
                QMutexLocker lock(&mutex);
                frames << frame;
                if (!script.isEmpty()) {
                    reply = script.takeFirst();
                    have = true;
                } else if (fallback == ScriptedPeer::Echo) {
                    reply.bytes = frame;
                    reply.bytes[0] = 0x00;
                    reply.bytes[1] = char(0xAA);
                    have = true;
                }
            }
            if (have)
                play(reply);
        }
    }

    void play(const PeerReply &r)
    {
        QList<QByteArray> pieces;
        int from = 0;
        for (int cut : r.cuts) {
            if (cut > from && cut < r.bytes.size()) {
                pieces << r.bytes.mid(from, cut - from);
                from = cut;
            }
        }
        if (from < r.bytes.size())
            pieces << r.bytes.mid(from);
        int at = r.delayMs;
        for (const QByteArray &p : pieces) {
            later(at, [this, p] { write(p); });
            at += r.gapMs;
        }
        if (r.closeAfter)
            later(at, [this] { closeClient(); });
    }

    template <class F> void later(int ms, F f)
    {
        if (ms <= 0)
            f();
        else
            QTimer::singleShot(ms, Qt::PreciseTimer, this, f);
    }

    void write(const QByteArray &bytes)
    {
        if (kind == ScriptedPeer::Tcp) {
            if (client) {
                client->write(bytes);
                client->flush();
            }
            return;
        }
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                break;
        }
    }

    void closeClient()
    {
        if (client)
            client->disconnectFromHost();
    }

    void hangUp()
    {
        delete notifier;
        notifier = nullptr;
        for (int *fd : {&slaveKeep, &master}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }
};

ScriptedPeer::ScriptedPeer(Kind kind, const QString &linkPath)
    : thread(std::make_unique<QThread>()), worker(new PeerWorker(kind, linkPath))
{
    worker->moveToThread(thread.get());
    QObject::connect(thread.get(), &QThread::finished, worker, &QObject::deleteLater);
}

ScriptedPeer::~ScriptedPeer()
{
    if (thread->isRunning()) {
        QMetaObject::invokeMethod(worker, [w = worker] { w->tearDown(); },
                                  Qt::BlockingQueuedConnection);
        thread->quit();
        thread->wait();
    } else {
        delete worker;
    }
}

bool ScriptedPeer::start()
{
    thread->start();
    bool ok = false;
    QMetaObject::invokeMethod(worker, [this, &ok] { ok = worker->setUp(); },
                              Qt::BlockingQueuedConnection);
    return ok;
}

quint16 ScriptedPeer::port() const { return worker->port; }

QString ScriptedPeer::linkPath() const { return worker->link; }

void ScriptedPeer::push(const PeerReply &reply)
{
    QMutexLocker lock(&worker->mutex);
    worker->script << reply;
}

void ScriptedPeer::setFallback(Fallback f)
{
    QMutexLocker lock(&worker->mutex);
    worker->fallback = f;
}

void ScriptedPeer::send(const QByteArray &bytes)
{
    QMetaObject::invokeMethod(worker, [w = worker, bytes] { w->write(bytes); },
                              Qt::BlockingQueuedConnection);
}

void ScriptedPeer::closeClient()
{
    QMetaObject::invokeMethod(worker, [w = worker] { w->closeClient(); },
                              Qt::BlockingQueuedConnection);
}

void ScriptedPeer::hangUp()
{
    QMetaObject::invokeMethod(worker, [w = worker] { w->hangUp(); },
                              Qt::BlockingQueuedConnection);
}

QList<QByteArray> ScriptedPeer::frames() const
{
    QMutexLocker lock(&worker->mutex);
    return worker->frames;
}

void ScriptedPeer::clearFrames()
{
    QMutexLocker lock(&worker->mutex);
    worker->frames.clear();
}

int ScriptedPeer::connections() const
{
    QMutexLocker lock(&worker->mutex);
    return worker->accepted;
}

bool ScriptedPeer::waitFrames(int n, double seconds) const
{
    const double start = Timer();
    while (frames().size() < n) {
        const double left = seconds - (Timer() - start);
        if (left <= 0)
            return false;
        WaitForEvents(std::min(left, 0.01));
    }
    return true;
}

QByteArray ScriptedPeer::answer(const QByteArray &fill)
{
    QByteArray a = QByteArray("\x00\xAA", 2) + fill;
    a.resize(36, '\0');
    return a;
}

void BuildFrame(uint16_t tag)
{
    for (int i = 0; i < 16; ++i)
        pp[i] = uint16_t(tag * 100 + i);
    order = OrderData;
    FillTxBuf(order, 0, 0, 0);
}

QByteArray Numbered(char first)
{
    QByteArray a = ScriptedPeer::answer();
    for (int i = 2; i < frameBytes; ++i)
        a[i] = char(first + i);
    return a;
}

} // namespace tintra::test
