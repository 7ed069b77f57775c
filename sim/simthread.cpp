#include "simthread.h"

#include <QThread>

namespace tintra::sim {

SimThread::SimThread() = default;

SimThread::~SimThread()
{
    stop();
}

bool SimThread::start(const Options &options)
{
    stop();
    thread_ = std::make_unique<QThread>();
    thread_->setObjectName(QStringLiteral("sensorsim"));
    context_ = std::make_unique<QObject>();
    context_->moveToThread(thread_.get());
    thread_->start();

    bool ok = true;
    QString error;
    quint16 port = 0;
    SensorSim *sim = nullptr;
    // The simulator and its sockets are created in its own thread, so their events run there.
    QMetaObject::invokeMethod(
        context_.get(),
        [&] {
            sim = new SensorSim;
            if (options.tcp && !sim->listen(options.address, options.port))
                ok = false;
            else if (!options.ptyLink.isEmpty() && !sim->openPty(options.ptyLink))
                ok = false;
            port = sim->serverPort();
            if (!ok) {
                error = sim->errorString();
                delete sim;
                sim = nullptr;
            }
        },
        Qt::BlockingQueuedConnection);
    error_ = error;
    if (!ok) {
        stop();
        return false;
    }
    sim_ = sim;
    port_ = port;
    ptyLink_ = options.ptyLink;
    return true;
}

void SimThread::stop()
{
    if (!thread_)
        return;
    if (sim_) {
        SensorSim *sim = sim_;
        sim_ = nullptr;
        QMetaObject::invokeMethod(context_.get(), [sim] { delete sim; },
                                  Qt::BlockingQueuedConnection);
    }
    thread_->quit();
    thread_->wait();
    context_.reset();
    thread_.reset();
    port_ = 0;
    ptyLink_.clear();
}

} // namespace tintra::sim
