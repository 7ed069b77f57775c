// sensorsim: the simulated colour sensor as a program, for running the front end without a
// sensor and for tests that talk to a separate process.
#include "sensorsim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace tintra::sim;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

int fail(const QString &text)
{
    QTextStream(stderr) << "sensorsim: " << text << Qt::endl;
    return 2;
}

bool parseColour(const QString &text, Rgb *out)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 3)
        return false;
    uint16_t v[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int n = parts[i].trimmed().toInt(&ok);
        if (!ok || n < 0 || n > 4095)
            return false;
        v[i] = static_cast<uint16_t>(n);
    }
    *out = {v[0], v[1], v[2]};
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sensorsim"));

    // SIGINT and SIGTERM end the event loop, so the simulator cleans up (e.g. its pty link).
    // Installed first: whoever started us may signal as soon as we print our address.
    if (::pipe(signalPipe) != 0)
        return fail(QStringLiteral("cannot create a pipe"));
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated colour sensor: answers the front end's 36-byte frames over TCP and/or a "
        "pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption listenOpt(QStringLiteral("listen"),
                                       QStringLiteral("TCP server address; port 0 picks a free "
                                                      "port and prints it."),
                                       QStringLiteral("HOST:PORT"));
    const QCommandLineOption ptyOpt(QStringLiteral("pty"),
                                    QStringLiteral("Create a pseudo-terminal and a symbolic link "
                                                   "to it at PATH (open PATH as a serial port)."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption idOpt(QStringLiteral("id"),
                                   QStringLiteral("Identification text (order 7), at most 36 "
                                                  "bytes."),
                                   QStringLiteral("TEXT"), QStringLiteral("SIMULATED COLOUR SENSOR"));
    const QCommandLineOption sceneOpt(QStringLiteral("scene"),
                                      QStringLiteral("fixed: one colour (--colour); cycle: a new "
                                                     "colour every 1.5 s (default); white: a "
                                                     "slightly uneven white target to calibrate "
                                                     "on."),
                                      QStringLiteral("fixed|cycle|white"), QStringLiteral("cycle"));
    const QCommandLineOption colourOpt(QStringLiteral("colour"),
                                       QStringLiteral("Raw target colour of the fixed scene, "
                                                      "0 ... 4095 each."),
                                       QStringLiteral("R,G,B"));
    const QCommandLineOption noiseOpt(QStringLiteral("noise"),
                                      QStringLiteral("Raw noise, +- counts (default 4)."),
                                      QStringLiteral("N"));
    const QCommandLineOption triggerOpt(QStringLiteral("trigger-send"),
                                        QStringLiteral("Automatic sending on the scene's trigger "
                                                       "instead of every 100 ms."));
    const QCommandLineOption faultOpt(
        QStringLiteral("fault"),
        QStringLiteral("Play a fault; may be repeated. KIND is noanswer, short, extra, wrongecho, "
                       "delay, split or close; ORDER empty or * for all; FROMFRAME counts from 1; "
                       "ARG: extra bytes, byte index, milliseconds or pieces."),
        QStringLiteral("KIND[:ORDER[:FROMFRAME[:ARG[:once]]]]"));
    parser.addOptions(
        {listenOpt, ptyOpt, idOpt, sceneOpt, colourOpt, noiseOpt, triggerOpt, faultOpt});
    const QCommandLineOption periodOpt(
        QStringLiteral("send-period"),
        QStringLiteral("Period of automatic sending (order 50) in milliseconds, 1 ... 60000 "
                       "(default 100); at a few milliseconds frames often arrive in pairs."),
        QStringLiteral("MS"));
    parser.addOption(periodOpt);
    const QCommandLineOption baudOpt(
        QStringLiteral("full-rate"),
        QStringLiteral("Automatic sending as fast as a serial line of BAUD baud carries frames "
                       "(36 bytes of 10 bits each: 115200 gives a frame every 3.125 ms)."),
        QStringLiteral("BAUD"));
    parser.addOption(baudOpt);
    parser.process(app);

    if (!parser.isSet(listenOpt) && !parser.isSet(ptyOpt))
        return fail(QStringLiteral("give --listen HOST:PORT and/or --pty PATH (see --help)"));

    SensorSim sim;
    sim.setIdText(parser.value(idOpt).toUtf8());
    const QString scene = parser.value(sceneOpt);
    if (scene == u"cycle")
        sim.setScene(Scene::Cycle);
    else if (scene == u"fixed")
        sim.setScene(Scene::Fixed);
    else if (scene == u"white") {
        sim.setScene(Scene::Fixed);
        sim.setColour(SensorModel::whiteTarget);
    } else
        return fail(QStringLiteral("unknown scene \"%1\" (fixed, cycle or white)").arg(scene));
    if (parser.isSet(colourOpt)) {
        Rgb c;
        if (!parseColour(parser.value(colourOpt), &c))
            return fail(QStringLiteral("bad colour \"%1\": give R,G,B, each 0 ... 4095")
                            .arg(parser.value(colourOpt)));
        sim.withModel([&](SensorModel &m) { m.colour = c; });
        if (!parser.isSet(sceneOpt))
            sim.setScene(Scene::Fixed);
    }
    if (parser.isSet(noiseOpt)) {
        bool ok = false;
        const int n = parser.value(noiseOpt).toInt(&ok);
        if (!ok || n < 0 || n > 4095)
            return fail(QStringLiteral("bad noise \"%1\"").arg(parser.value(noiseOpt)));
        sim.setNoise(n);
    }
    if (parser.isSet(triggerOpt))
        sim.setAutoSendMode(AutoSendMode::Trigger);
    if (parser.isSet(periodOpt)) {
        bool ok = false;
        const double ms = parser.value(periodOpt).toDouble(&ok);
        if (!ok || !(ms >= 0.2 && ms <= 60000))
            return fail(QStringLiteral("bad --send-period \"%1\": give 0.2 ... 60000 ms")
                            .arg(parser.value(periodOpt)));
        sim.setAutoSendPeriodUs(qRound64(ms * 1000));
    }
    if (parser.isSet(baudOpt)) {
        bool ok = false;
        const int baud = parser.value(baudOpt).toInt(&ok);
        if (!ok || baud < 1200 || baud > 1800000)
            return fail(QStringLiteral("bad --full-rate \"%1\": give 1200 ... 1800000 baud")
                            .arg(parser.value(baudOpt)));
        sim.setAutoSendPeriodUs(qRound64(360.0e6 / baud));
    }
    for (const QString &text : parser.values(faultOpt)) {
        QString error;
        const auto f = Fault::parse(text, &error);
        if (!f)
            return fail(QStringLiteral("bad --fault %1: %2").arg(text, error));
        sim.addFault(*f);
    }

    QTextStream out(stdout);
    if (parser.isSet(listenOpt)) {
        const QString spec = parser.value(listenOpt);
        const qsizetype colon = spec.lastIndexOf(u':');
        bool ok = false;
        const uint port = colon > 0 ? spec.mid(colon + 1).toUInt(&ok) : 0;
        QString hostText = colon > 0 ? spec.left(colon) : QString();
        if (hostText.startsWith(u'[') && hostText.endsWith(u']')) // [::1]:PORT
            hostText = hostText.mid(1, hostText.size() - 2);
        QHostAddress host;
        if (hostText == u"localhost")
            host = QHostAddress(QHostAddress::LocalHost);
        else if (hostText == u"*" || hostText == u"0.0.0.0")
            host = QHostAddress(QHostAddress::AnyIPv4);
        else
            host = QHostAddress(hostText);
        if (!ok || port > 65535 || host.isNull())
            return fail(QStringLiteral("bad --listen \"%1\": give HOST:PORT, e.g. 127.0.0.1:10001")
                            .arg(spec));
        if (!sim.listen(host, quint16(port)))
            return fail(QStringLiteral("cannot listen on %1: %2").arg(spec, sim.errorString()));
        out << "listening on " << host.toString() << ':' << sim.serverPort() << Qt::endl;
    }
    if (parser.isSet(ptyOpt)) {
        if (!sim.openPty(parser.value(ptyOpt)))
            return fail(sim.errorString());
        out << "serial link " << parser.value(ptyOpt) << " -> " << sim.ptyDevice() << Qt::endl;
    }

    const int rc = app.exec();
    out << "sensorsim stopped" << Qt::endl;
    return rc;
}
