#include "sensorsim.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tintra::sim {

SensorSim::SensorSim(QObject *parent) : QObject(parent)
{
    clock_.start();
    outputTimer_ = new QTimer(this);
    outputTimer_->setSingleShot(true);
    outputTimer_->setTimerType(Qt::PreciseTimer);
    connect(outputTimer_, &QTimer::timeout, this, &SensorSim::flushOutput);
    autoTimer_ = new QTimer(this);
    autoTimer_->setTimerType(Qt::PreciseTimer);
    connect(autoTimer_, &QTimer::timeout, this, &SensorSim::autoSendTick);
}

SensorSim::~SensorSim()
{
    if (client_)
        client_->abort();
    if (ptyMaster_ >= 0)
        ::close(ptyMaster_);
    if (ptySlave_ >= 0)
        ::close(ptySlave_);
    // Remove our link, but only if it still points to our terminal.
    if (!ptyLink_.isEmpty() && QFileInfo(ptyLink_).symLinkTarget() == ptyDevice_)
        QFile::remove(ptyLink_);
}

// ---- TCP -------------------------------------------------------------------------------------

bool SensorSim::listen(const QHostAddress &address, quint16 port)
{
    if (!server_) {
        server_ = new QTcpServer(this);
        connect(server_, &QTcpServer::newConnection, this, &SensorSim::acceptNext);
    }
    if (!server_->listen(address, port)) {
        error_ = server_->errorString();
        return false;
    }
    return true;
}

quint16 SensorSim::serverPort() const
{
    return server_ ? server_->serverPort() : 0;
}

QString SensorSim::errorString() const
{
    return error_;
}

void SensorSim::acceptNext()
{
    // One client at a time: the others wait in the server's queue until this one leaves.
    while (!client_ && server_ && server_->hasPendingConnections()) {
        QTcpSocket *s = server_->nextPendingConnection();
        if (s->state() != QAbstractSocket::ConnectedState && s->bytesAvailable() == 0) {
            s->deleteLater();
            continue;
        }
        client_ = s;
        client_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        input_[Tcp].bytes.clear();
        connect(client_, &QTcpSocket::readyRead, this, [this, s] {
            if (s == client_)
                bytesArrived(Tcp, client_->readAll());
        });
        connect(client_, &QTcpSocket::disconnected, this, [this, s] {
            if (s == client_)
                clientGone();
        });
        if (client_->bytesAvailable() > 0)
            bytesArrived(Tcp, client_->readAll());
        if (client_ && client_->state() != QAbstractSocket::ConnectedState)
            clientGone();
    }
}

void SensorSim::clientGone()
{
    QTcpSocket *s = client_;
    client_ = nullptr;
    if (s) {
        s->disconnect(this);
        s->deleteLater();
    }
    input_[Tcp].bytes.clear();
    std::erase_if(output_, [](const Output &o) { return o.link == Tcp; });
    // Nobody is left to receive automatic frames; the next client starts with sending off.
    if (autoLink_ == Tcp) {
        QMutexLocker lock(&mutex_);
        model_.autoSend = false;
    }
    updateAutoSend();
    // Later, not nested: the caller may still be inside this client's frame handling.
    QMetaObject::invokeMethod(this, &SensorSim::acceptNext, Qt::QueuedConnection);
}

// ---- pseudo-terminal -------------------------------------------------------------------------

bool SensorSim::openPty(const QString &linkPath)
{
    const QFileInfo existing(linkPath);
    if (existing.exists() && !existing.isSymLink()) {
        error_ = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
        return false;
    }
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        error_ = QStringLiteral("cannot create a pseudo-terminal: %1").arg(strerror(errno));
        if (master >= 0)
            ::close(master);
        return false;
    }
    const QString device = QString::fromLocal8Bit(ptsname(master));
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        error_ = QStringLiteral("cannot open %1: %2").arg(device, strerror(errno));
        ::close(master);
        return false;
    }
    // Raw 8-bit line both ways: no echo, no line editing, no character translation.
    for (int fd : {master, slave}) {
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        cfsetispeed(&t, B19200);
        cfsetospeed(&t, B19200);
        tcsetattr(fd, TCSANOW, &t);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    if (existing.isSymLink())
        QFile::remove(linkPath);
    if (!QFile::link(device, linkPath)) {
        error_ = QStringLiteral("cannot create the link %1").arg(linkPath);
        ::close(slave);
        ::close(master);
        return false;
    }
    ptyMaster_ = master;
    ptySlave_ = slave;
    ptyDevice_ = device;
    ptyLink_ = linkPath;
    ptyNotifier_ = new QSocketNotifier(master, QSocketNotifier::Read, this);
    connect(ptyNotifier_, &QSocketNotifier::activated, this, &SensorSim::readPty);
    return true;
}

// The serial counterpart of a closed connection: the adapter goes (both ends of the terminal close,
// so the program's open device reports a hang-up) and comes back at once as a fresh terminal
// behind the same link, as a replugged adapter under the same name.
void SensorSim::replugPty()
{
    delete ptyNotifier_;
    ptyNotifier_ = nullptr;
    ::close(ptyMaster_);
    ::close(ptySlave_);
    ptyMaster_ = ptySlave_ = -1;
    input_[Pty].bytes.clear();
    const QString link = ptyLink_;
    if (QFileInfo(link).symLinkTarget() == ptyDevice_)
        QFile::remove(link);
    ptyLink_.clear();
    ptyDevice_.clear();
    if (!openPty(link))
        qWarning("sensorsim: the terminal did not come back: %s", qPrintable(error_));
}

QString SensorSim::ptyDevice() const
{
    return ptyDevice_;
}

void SensorSim::readPty()
{
    char buf[512];
    QByteArray got;
    for (;;) {
        const ssize_t n = ::read(ptyMaster_, buf, sizeof buf);
        if (n > 0) {
            got.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            ptyNotifier_->setEnabled(false); // the terminal is broken: stop listening to it
        break;
    }
    if (!got.isEmpty())
        bytesArrived(Pty, got);
}

// ---- frames ----------------------------------------------------------------------------------

void SensorSim::bytesArrived(Link link, const QByteArray &bytes)
{
    Input &in = input_[link];
    // A partial frame left lying is a broken write; a new frame starts over.
    if (!in.bytes.isEmpty() && in.lastByte.isValid() && in.lastByte.elapsed() > staleInputMs)
        in.bytes.clear();
    in.lastByte.start();
    in.bytes.append(bytes);
    for (;;) {
        // A command frame starts with the sync word 0x00 0x55; bytes before it are noise.
        qsizetype skip = 0;
        const auto *b = reinterpret_cast<const unsigned char *>(in.bytes.constData());
        while (skip < in.bytes.size() &&
               !(b[skip] == 0x00 && (skip + 1 == in.bytes.size() || b[skip + 1] == sync)))
            ++skip;
        in.bytes.remove(0, skip);
        if (in.bytes.size() < frameBytes)
            break;
        const QByteArray frame = in.bytes.left(frameBytes);
        in.bytes.remove(0, frameBytes);
        handleFrame(link, frame);
        if (link == Tcp && !client_)
            break; // the frame closed the connection
    }
}

void SensorSim::handleFrame(Link link, const QByteArray &frame)
{
    QByteArray answer;
    std::optional<Fault> fault;
    bool autoWasOn = false, autoIsOn = false;
    {
        QMutexLocker lock(&mutex_);
        frames_.append(frame);
        frameTimesUs_.append(clock_.nsecsElapsed() / 1000);
        autoWasOn = model_.autoSend;
        answer = model_.handleFrame(reinterpret_cast<const unsigned char *>(frame.constData()),
                                    nowMs());
        autoIsOn = model_.autoSend;
        const int orderCode = GetWord(reinterpret_cast<const unsigned char *>(frame.constData()), 1);
        for (auto &armed : faults_)
            ++armed.seen;
        for (qsizetype i = 0; i < faults_.size(); ++i) {
            if (faults_[i].fault.appliesTo(orderCode, faults_[i].seen)) {
                fault = faults_[i].fault;
                if (fault->once)
                    faults_.removeAt(i);
                break;
            }
        }
    }
    if (autoIsOn && !autoWasOn) {
        autoLink_ = link;
        QMutexLocker lock(&mutex_);
        autoSent_ = 0;
    }
    if (autoIsOn != autoWasOn)
        updateAutoSend();
    deliver(link, answer, fault);
    emit frameReceived();
}

void SensorSim::deliver(Link link, QByteArray answer, const std::optional<Fault> &fault)
{
    const qint64 now = nowMs();
    if (!fault) {
        if (!answer.isEmpty())
            queue(link, answer, now);
        return;
    }
    switch (fault->kind) {
    case Fault::NoAnswer:
        return;
    case Fault::Close:
        queue(link, {}, now, true);
        return;
    default:
        break;
    }
    if (answer.isEmpty())
        return;
    switch (fault->kind) {
    case Fault::ShortAnswer:
        queue(link, answer.left(frameBytes - 1), now);
        break;
    case Fault::ExtraBytes:
        queue(link, answer + QByteArray(fault->argOr(4), char(0xEE)), now);
        break;
    case Fault::WrongEcho: {
        const int index = fault->argOr(-1);
        if (index < 0)
            answer[1] = char(0xAB);
        else if (index < answer.size())
            answer[index] = char(answer[index] ^ 0xFF);
        queue(link, answer, now);
        break;
    }
    case Fault::Delay:
        queue(link, answer, now + fault->argOr(500));
        break;
    case Fault::Garbage: {
        // Noise that starts like an answer: the header, then bytes no answer holds there.
        QByteArray noise(std::max(fault->argOr(6), 1), char(0xC5));
        noise[0] = 0x00;
        if (noise.size() > 1)
            noise[1] = char(0xAA);
        queue(link, noise + answer, now);
        break;
    }
    case Fault::Merge: {
        QByteArray bytes = answer;
        {
            QMutexLocker lock(&mutex_);
            for (int i = 0; i < fault->argOr(1); ++i)
                bytes += model_.dataFrame(now, false);
        }
        queue(link, bytes, now);
        break;
    }
    case Fault::Trail:
        queue(link, answer, now);
        queue(link, QByteArray(fault->argOr(4), char(0xEE)), now + trailPauseMs);
        break;
    case Fault::Split: {
        const int pieces = std::clamp(fault->argOr(3), 1, int(answer.size()));
        const qsizetype size = answer.size() / pieces;
        for (int p = 0; p < pieces; ++p) {
            const qsizetype from = p * size;
            const qsizetype len = p + 1 == pieces ? answer.size() - from : size;
            queue(link, answer.mid(from, len), now + qint64(p) * splitPauseMs);
        }
        break;
    }
    default:
        break;
    }
}

// ---- output ----------------------------------------------------------------------------------

void SensorSim::queue(Link link, const QByteArray &bytes, qint64 dueMs, bool closeAfter)
{
    // Answers leave in the order their frames came, so a late answer holds back the next one.
    if (!output_.empty())
        dueMs = std::max(dueMs, output_.back().dueMs);
    output_.push_back({link, bytes, dueMs, closeAfter});
    flushOutput();
}

void SensorSim::flushOutput()
{
    while (!output_.empty()) {
        const qint64 wait = output_.front().dueMs - nowMs();
        if (wait > 0) {
            outputTimer_->start(int(wait));
            return;
        }
        const Output out = output_.front();
        output_.pop_front();
        writeLink(out.link, out.bytes);
        if (out.closeAfter && out.link == Tcp && client_) {
            client_->disconnectFromHost();
            clientGone();
        }
        if (out.closeAfter && out.link == Pty && ptyMaster_ >= 0)
            replugPty();
    }
}

bool SensorSim::linkOpen(Link link) const
{
    return link == Tcp ? client_ != nullptr : ptyMaster_ >= 0;
}

void SensorSim::writeLink(Link link, const QByteArray &bytes)
{
    if (bytes.isEmpty() || !linkOpen(link))
        return;
    if (link == Tcp) {
        client_->write(bytes);
        client_->flush();
        return;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(ptyMaster_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (!(n < 0 && errno == EINTR))
            break; // the terminal's buffer is full: nobody reads, the rest is lost as on a wire
    }
}

// ---- automatic sending -----------------------------------------------------------------------

void SensorSim::updateAutoSend()
{
    bool on = false;
    AutoSendMode mode;
    qint64 period = autoSendIntervalMs * 1000;
    {
        QMutexLocker lock(&mutex_);
        on = model_.autoSend;
        mode = autoMode_;
        period = autoPeriodUs_;
        lastTrigger_ = model_.triggerState(nowMs());
        autoStartUs_ = clock_.nsecsElapsed() / 1000;
        autoDue_ = 0;
    }
    if (!on) {
        autoTimer_->stop();
        return;
    }
    autoTimer_->start(mode == AutoSendMode::Interval ? int(std::max<qint64>(period / 1000, 1)) : 5);
}

void SensorSim::autoSendTick()
{
    int send = 0;
    bool triggered = false;
    {
        QMutexLocker lock(&mutex_);
        if (!model_.autoSend)
            return;
        if (autoMode_ == AutoSendMode::Interval && autoPeriodUs_ >= 1000) {
            send = 1;
        } else if (autoMode_ == AutoSendMode::Interval) {
            // The timer ticks every millisecond at best: the frames due meanwhile go together.
            const qint64 due = (clock_.nsecsElapsed() / 1000 - autoStartUs_) / autoPeriodUs_;
            send = int(std::min<qint64>(due - autoDue_, 10000));
            autoDue_ = due;
        } else {
            const uint16_t t = model_.triggerState(nowMs());
            send = (triggered = t && !lastTrigger_) ? 1 : 0;
            lastTrigger_ = t;
        }
    }
    if (send > 0)
        sendAutoFrames(send, triggered);
}

void SensorSim::sendAutoFrames(int n, bool triggered)
{
    if (!linkOpen(autoLink_))
        return;
    QByteArray bytes;
    {
        QMutexLocker lock(&mutex_);
        if (autoLimit_ > 0)
            n = int(std::clamp<qint64>(autoLimit_ - autoSent_, 0, n));
        for (int i = 0; i < n; ++i) {
            bytes += model_.dataFrame(nowMs(), triggered);
            ++autoSent_;
            if (autoNoiseEvery_ > 0 && autoSent_ % autoNoiseEvery_ == 0)
                bytes += autoNoise_;
        }
    }
    queue(autoLink_, bytes, nowMs());
}

// ---- thread-safe accessors -------------------------------------------------------------------

void SensorSim::setScene(Scene scene)
{
    withModel([&](SensorModel &m) { m.scene = scene; });
}

void SensorSim::setColour(Rgb colour)
{
    withModel([&](SensorModel &m) {
        m.colour = colour;
        m.scene = Scene::Fixed;
    });
}

void SensorSim::setNoise(int counts)
{
    withModel([&](SensorModel &m) { m.noise = std::max(counts, 0); });
}

void SensorSim::setIdText(const QByteArray &text)
{
    withModel([&](SensorModel &m) { m.idText = text; });
}

Image SensorSim::ramImage() const
{
    QMutexLocker lock(&mutex_);
    return model_.ram;
}

void SensorSim::setRamImage(const Image &image)
{
    withModel([&](SensorModel &m) { m.ram = image; });
}

Image SensorSim::eepromImage() const
{
    QMutexLocker lock(&mutex_);
    return model_.eeprom;
}

void SensorSim::setEepromImage(const Image &image)
{
    withModel([&](SensorModel &m) { m.eeprom = image; });
}

std::array<uint16_t, 3> SensorSim::calibrationFactors() const
{
    QMutexLocker lock(&mutex_);
    return model_.cf;
}

void SensorSim::setCalibrationFactors(const std::array<uint16_t, 3> &cf)
{
    withModel([&](SensorModel &m) { m.cf = cf; });
}

RootTable SensorSim::rootTable() const
{
    QMutexLocker lock(&mutex_);
    return model_.rootTable;
}

void SensorSim::setRootTable(const RootTable &table)
{
    withModel([&](SensorModel &m) { m.rootTable = table; });
}

bool SensorSim::autoSending() const
{
    QMutexLocker lock(&mutex_);
    return model_.autoSend;
}

void SensorSim::setFaults(const QList<Fault> &faults)
{
    QMutexLocker lock(&mutex_);
    faults_.clear();
    for (const Fault &f : faults)
        faults_.append({f, 0});
}

void SensorSim::addFault(const Fault &fault)
{
    QMutexLocker lock(&mutex_);
    faults_.append({fault, 0});
}

void SensorSim::clearFaults()
{
    QMutexLocker lock(&mutex_);
    faults_.clear();
}

QList<QByteArray> SensorSim::frames() const
{
    QMutexLocker lock(&mutex_);
    return frames_;
}

QList<qint64> SensorSim::frameTimesUs() const
{
    QMutexLocker lock(&mutex_);
    return frameTimesUs_;
}

void SensorSim::clearFrames()
{
    QMutexLocker lock(&mutex_);
    frames_.clear();
    frameTimesUs_.clear();
}

void SensorSim::setAutoSendMode(AutoSendMode mode)
{
    {
        QMutexLocker lock(&mutex_);
        autoMode_ = mode;
    }
    QMetaObject::invokeMethod(this, [this] { updateAutoSend(); });
}

void SensorSim::setAutoSendPeriod(int ms)
{
    setAutoSendPeriodUs(qint64(std::clamp(ms, 1, 60000)) * 1000);
}

int SensorSim::autoSendPeriod() const { return int(autoSendPeriodUs() / 1000); }

void SensorSim::setAutoSendPeriodUs(qint64 us)
{
    {
        QMutexLocker lock(&mutex_);
        autoPeriodUs_ = std::clamp<qint64>(us, 200, 60000000);
    }
    QMetaObject::invokeMethod(this, [this] { updateAutoSend(); });
}

qint64 SensorSim::autoSendPeriodUs() const
{
    QMutexLocker lock(&mutex_);
    return autoPeriodUs_;
}

void SensorSim::setAutoSendLimit(qint64 frames)
{
    QMutexLocker lock(&mutex_);
    autoLimit_ = std::max<qint64>(frames, 0);
}

void SensorSim::setAutoSendNoise(const QByteArray &noise, int every)
{
    QMutexLocker lock(&mutex_);
    autoNoise_ = noise;
    autoNoiseEvery_ = std::max(every, 0);
}

qint64 SensorSim::autoFramesSent() const
{
    QMutexLocker lock(&mutex_);
    return autoSent_;
}

void SensorSim::sendBurst(int frames)
{
    QMetaObject::invokeMethod(this, [this, frames] {
        if (!autoSending() || !linkOpen(autoLink_))
            return;
        sendAutoFrames(frames, false);
    });
}

void SensorSim::fireTrigger()
{
    QMetaObject::invokeMethod(this, [this] {
        if (autoSending())
            sendAutoFrames(1, true);
    });
}

void SensorSim::reset()
{
    {
        QMutexLocker lock(&mutex_);
        model_ = SensorModel();
        faults_.clear();
        frames_.clear();
        frameTimesUs_.clear();
        autoMode_ = AutoSendMode::Interval;
        autoPeriodUs_ = autoSendIntervalMs * 1000;
        autoLimit_ = 0;
        autoNoise_.clear();
        autoNoiseEvery_ = 0;
        autoSent_ = 0;
    }
    QMetaObject::invokeMethod(this, [this] {
        // Nothing of an earlier conversation may leak into the next one.
        output_.clear();
        outputTimer_->stop();
        for (Input &in : input_)
            in.bytes.clear();
        updateAutoSend();
    });
}

} // namespace tintra::sim
