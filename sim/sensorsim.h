// The simulated sensor on its links: a TCP server (one client at a time) and a pseudo-terminal
// that a serial client opens through a symbolic link. Bytes are assembled into 36-byte frames,
// handed to the SensorModel, and the answers go back, bent by the faults that are set.
//
// A SensorSim lives in one thread (its own, see SimThread, or the main thread of the sensorsim
// program). listen() and openPty() are called in that thread; every other public member is
// thread-safe and may be called from anywhere.
#pragma once

#include "fault.h"
#include "sensormodel.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QObject>
#include <deque>

class QSocketNotifier;
class QTcpServer;
class QTcpSocket;
class QTimer;

namespace tintra::sim {

// How automatic sending (order 50) paces its data frames.
enum class AutoSendMode {
    Interval, // one frame every autoSendPeriodUs() us (100 ms by default)
    Trigger,  // one frame on each rising edge of the scene's trigger, and on fireTrigger()
};

class SensorSim : public QObject {
    Q_OBJECT
public:
    static constexpr int autoSendIntervalMs = 100;
    static constexpr int splitPauseMs = 20;  // pause between the pieces of a split answer
    static constexpr int trailPauseMs = 200; // from an answer to the noise that trails it
    static constexpr int staleInputMs = 500; // a partial frame older than this is dropped

    explicit SensorSim(QObject *parent = nullptr);
    ~SensorSim() override;

    // ---- links (call in the simulator's thread) ---------------------------------------------
    bool listen(const QHostAddress &address, quint16 port); // port 0: a free one
    quint16 serverPort() const;
    // Creates a pseudo-terminal and a symbolic link `linkPath` to its device; a stale symbolic
    // link there is replaced, any other file is left alone (error).
    bool openPty(const QString &linkPath);
    QString ptyDevice() const; // the terminal device the link points to
    QString errorString() const;

    // ---- thread-safe ------------------------------------------------------------------------
    // Runs f(model) under the simulator's lock, e.g. to read or change the sensor's memory.
    template <class F> auto withModel(F &&f)
    {
        QMutexLocker lock(&mutex_);
        return f(model_);
    }

    void setScene(Scene scene);
    void setColour(Rgb colour); // also selects the fixed scene
    void setNoise(int counts);
    void setIdText(const QByteArray &text);
    Image ramImage() const;
    void setRamImage(const Image &image);
    Image eepromImage() const;
    void setEepromImage(const Image &image);
    std::array<uint16_t, 3> calibrationFactors() const;
    void setCalibrationFactors(const std::array<uint16_t, 3> &cf);
    RootTable rootTable() const;
    void setRootTable(const RootTable &table);
    bool autoSending() const;

    void setFaults(const QList<Fault> &faults);
    void addFault(const Fault &fault);
    void clearFaults();

    // Every frame received (36 bytes each, in arrival order) since the last clearFrames().
    QList<QByteArray> frames() const;
    // When each of those frames was complete, in microseconds of the simulator's own clock.
    QList<qint64> frameTimesUs() const;
    void clearFrames();

    void setAutoSendMode(AutoSendMode mode);
    // Period of automatic sending in Interval mode, milliseconds (1 ... 60000; default 100).
    // At a few milliseconds the receiver often finds two frames waiting at once.
    void setAutoSendPeriod(int ms);
    int autoSendPeriod() const;
    // The same in microseconds (200 ... 60 000 000). Below a millisecond the frames due since
    // the last tick of a 1 ms timer leave together in one write, as many as the period asks for.
    void setAutoSendPeriodUs(qint64 us);
    qint64 autoSendPeriodUs() const;
    // Automatic sending stops by itself after `frames` frames (0: no limit), counted from when
    // it was switched on; the sensor still counts as sending.
    void setAutoSendLimit(qint64 frames);
    // `noise` is sent after every `every`-th automatic frame (every 0: none), as a disturbed line
    // would deliver it.
    void setAutoSendNoise(const QByteArray &noise, int every);
    // Data frames sent by automatic sending (periodic, triggered and bursts) since it was last
    // switched on.
    qint64 autoFramesSent() const;
    // While automatic sending is on: `frames` data frames in one write, as if they had queued up.
    void sendBurst(int frames);
    // A simulated trigger: while automatic sending is on, one data frame with trigger word 1.
    void fireTrigger();
    // Back to the start-up state: default memory and scene, no faults, no frames, no sending.
    void reset();

signals:
    void frameReceived(); // emitted in the simulator's thread after each frame is handled

private:
    enum Link { Tcp = 0, Pty = 1 };
    struct Input {
        QByteArray bytes;
        QElapsedTimer lastByte;
    };
    struct Output {
        Link link;
        QByteArray bytes;
        qint64 dueMs;
        bool closeAfter;
    };
    struct ArmedFault {
        Fault fault;
        int seen = 0; // frames received since the fault was set
    };

    qint64 nowMs() const { return clock_.elapsed(); }
    void acceptNext();
    void clientGone();
    void readPty();
    void replugPty();
    void bytesArrived(Link link, const QByteArray &bytes);
    void handleFrame(Link link, const QByteArray &frame);
    void deliver(Link link, QByteArray answer, const std::optional<Fault> &fault);
    void queue(Link link, const QByteArray &bytes, qint64 dueMs, bool closeAfter = false);
    void flushOutput();
    void writeLink(Link link, const QByteArray &bytes);
    bool linkOpen(Link link) const;
    void updateAutoSend();
    void autoSendTick();
    void sendAutoFrames(int n, bool triggered);

    mutable QMutex mutex_; // guards model_, faults_, frames_, autoMode_
    SensorModel model_;
    QList<ArmedFault> faults_;
    QList<QByteArray> frames_;
    QList<qint64> frameTimesUs_;
    AutoSendMode autoMode_ = AutoSendMode::Interval;
    qint64 autoPeriodUs_ = autoSendIntervalMs * 1000; // guarded by mutex_, as are the next four
    qint64 autoLimit_ = 0;
    QByteArray autoNoise_;
    int autoNoiseEvery_ = 0;
    qint64 autoSent_ = 0;
    qint64 autoStartUs_ = 0; // the periodic sending's clock: frames due since then
    qint64 autoDue_ = 0;     // and how many of them have gone

    QElapsedTimer clock_;
    QTcpServer *server_ = nullptr;
    QTcpSocket *client_ = nullptr;
    int ptyMaster_ = -1;
    int ptySlave_ = -1; // held open so the master never sees a hang-up between clients
    QSocketNotifier *ptyNotifier_ = nullptr;
    QString ptyLink_, ptyDevice_;
    QString error_;
    Input input_[2];
    std::deque<Output> output_;
    QTimer *outputTimer_ = nullptr;
    QTimer *autoTimer_ = nullptr;
    Link autoLink_ = Tcp;
    uint16_t lastTrigger_ = 0;
};

} // namespace tintra::sim
