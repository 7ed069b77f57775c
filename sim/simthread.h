// Runs a SensorSim in its own thread, so a test can use it as a real peer over TCP or a
// pseudo-terminal while the test's own thread waits in its event loop.
//
// Every member is safe to call from the thread that owns the SimThread; the sensor accessors
// forward to SensorSim's thread-safe members.
#pragma once

#include "sensorsim.h"

#include <QHostAddress>
#include <QString>
#include <memory>

class QThread;

namespace tintra::sim {

class SimThread {
public:
    struct Options {
        bool tcp = true;
        QHostAddress address = QHostAddress(QHostAddress::LocalHost);
        quint16 port = 0;  // 0: a free port, see port()
        QString ptyLink;   // non-empty: also open a pseudo-terminal linked there
    };

    SimThread();
    ~SimThread(); // stops
    SimThread(const SimThread &) = delete;
    SimThread &operator=(const SimThread &) = delete;

    // Starts the thread and returns once the server listens and the terminal exists; false
    // (errorString() says why) if either could not be set up, and nothing runs then.
    bool start(const Options &options);
    bool start() { return start(Options{}); }
    void stop();
    bool isRunning() const { return sim_ != nullptr; }
    quint16 port() const { return port_; }
    QString ptyLink() const { return ptyLink_; }
    QString errorString() const { return error_; }

    // The simulator itself; only its thread-safe members may be used from here.
    SensorSim &sim() { return *sim_; }

    void setScene(Scene scene) { sim_->setScene(scene); }
    void setColour(Rgb colour) { sim_->setColour(colour); }
    void setNoise(int counts) { sim_->setNoise(counts); }
    void setIdText(const QByteArray &text) { sim_->setIdText(text); }
    void setFaults(const QList<Fault> &faults) { sim_->setFaults(faults); }
    void addFault(const Fault &fault) { sim_->addFault(fault); }
    void clearFaults() { sim_->clearFaults(); }
    QList<QByteArray> frames() const { return sim_->frames(); }
    QList<qint64> frameTimesUs() const { return sim_->frameTimesUs(); }
    void clearFrames() { sim_->clearFrames(); }
    Image ramImage() const { return sim_->ramImage(); }
    void setRamImage(const Image &image) { sim_->setRamImage(image); }
    Image eepromImage() const { return sim_->eepromImage(); }
    void setEepromImage(const Image &image) { sim_->setEepromImage(image); }
    std::array<uint16_t, 3> calibrationFactors() const { return sim_->calibrationFactors(); }
    void setCalibrationFactors(const std::array<uint16_t, 3> &cf) { sim_->setCalibrationFactors(cf); }
    RootTable rootTable() const { return sim_->rootTable(); }
    void setRootTable(const RootTable &table) { sim_->setRootTable(table); }
    bool autoSending() const { return sim_->autoSending(); }
    void setAutoSendMode(AutoSendMode mode) { sim_->setAutoSendMode(mode); }
    void fireTrigger() { sim_->fireTrigger(); }
    void setAutoSendPeriod(int ms) { sim_->setAutoSendPeriod(ms); }
    void sendBurst(int frames) { sim_->sendBurst(frames); }
    void setAutoSendPeriodUs(qint64 us) { sim_->setAutoSendPeriodUs(us); }
    void setAutoSendLimit(qint64 frames) { sim_->setAutoSendLimit(frames); }
    void setAutoSendNoise(const QByteArray &noise, int every) { sim_->setAutoSendNoise(noise, every); }
    qint64 autoFramesSent() const { return sim_->autoFramesSent(); }
    void reset() { sim_->reset(); }

private:
    std::unique_ptr<QThread> thread_;
    std::unique_ptr<QObject> context_; // lives in the thread; runs start-up and shutdown there
    SensorSim *sim_ = nullptr;
    quint16 port_ = 0;
    QString ptyLink_;
    QString error_;
};

} // namespace tintra::sim
