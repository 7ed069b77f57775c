// tintractl: the sensor from a shell script. It connects as the window does and runs the same
// exchanges, without any window: messages the window would show as popups are printed on
// standard error. Each command lives in its own file (ctl.h describes the table); this file
// reads the options, connects and hands over.
//
//   tintractl [--tcp HOST:PORT | --serial DEVICE|COMn] COMMAND ...
//   tintractl COMMAND --help
// Without a connection option the settings the window saved in "ComSettings.cfg" are used.
#include "ctl.h"

#include "core/settings/connection.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

using namespace tintra;
using namespace tintra::ctl;

namespace {

const Command *const commands[] = {&identifyCommand, &getCommand,    &sendCommand,     &compareCommand,
                                   &watchCommand,    &recordCommand, &calibrateCommand};

QString UsageText()
{
    QString u = QStringLiteral("usage: tintractl [--tcp HOST:PORT | --serial DEVICE|COMn] COMMAND ...\n");
    for (const Command *c : commands)
        u += QStringLiteral("  %1\n").arg(QLatin1String(c->synopsis));
    u += QStringLiteral(
        "Without --tcp or --serial the settings saved by the program (\"ComSettings.cfg\") are used.\n"
        "tintractl COMMAND --help describes a command.\n"
        "Exit status: 0 done, 1 compare found differences, 2 usage or file error, 3 no answer\n"
        "(TIMEOUT), 4 a wrong echo, 5 a calibration refused by its checks.\n");
    return u;
}

const Command *Find(const QString &name)
{
    for (const Command *c : commands)
        if (name == QLatin1String(c->name))
            return c;
    return nullptr;
}

void SetText(char *dst, size_t size, const QString &text)
{
    const QByteArray b = text.toUtf8().left(int(size) - 1);
    std::memcpy(dst, b.constData(), size_t(b.size()));
    dst[b.size()] = 0;
}

// Where to connect: the options, else "ComSettings.cfg". A device path for --serial is given a
// COM number through a "ComPorts.cfg" of this run's own, as the window maps one.
QString Choose(const QString &tcp, const QString &serial, QTemporaryDir &portsDir)
{
    if (!tcp.isEmpty()) {
        // The sensor has no fixed port: it is given, as on the connection page.
        comprotocol = 1;
        const int colon = int(tcp.lastIndexOf(u':'));
        if (colon <= 0 || DecimalValue(tcp.mid(colon + 1)) <= 0)
            return QStringLiteral("--tcp needs HOST:PORT, e.g. --tcp 192.168.0.10:10001");
        SetText(ipBuf, sizeof ipBuf, tcp.left(colon));
        SetText(portNumStr, sizeof portNumStr, tcp.mid(colon + 1));
        portNum = DecimalValue(QString::fromUtf8(portNumStr));
        return {};
    }
    if (!serial.isEmpty()) {
        comprotocol = 0;
        QString s = serial;
        if (s.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            s = s.mid(3);
        bool number = false;
        comport = uint16_t(s.toInt(&number));
        if (number)
            return {};
        if (!portsDir.isValid())
            return QStringLiteral("no temporary folder for the port mapping");
        QFile f(portsDir.filePath(QStringLiteral("ComPorts.cfg")));
        if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray("1 ") + serial.toUtf8() + "\n") < 0)
            return QStringLiteral("cannot map the device %1").arg(serial);
        f.close();
        SetComPortsCfgDir(portsDir.path());
        comport = 1;
        return {};
    }
    ConnectionSettings s;
    const QString path = QDir(GetSettingsDir()).filePath(QStringLiteral("ComSettings.cfg"));
    if (!ReadComSettings(path, &s))
        return QStringLiteral("no --tcp or --serial, and no connection settings in %1").arg(path);
    comprotocol = uint16_t(s.protocol);
    comport = uint16_t(s.comPort);
    SetText(ipBuf, sizeof ipBuf, s.server);
    SetText(portNumStr, sizeof portNumStr, s.portNumber);
    portNum = DecimalValue(s.portNumber);
    return {};
}

// Opens the link and runs the line check (automatic sending off, the identification), as the
// window's connection does.
int Connect()
{
    const int r = comprotocol == 0 ? InitRS232() : InitTCP_IP();
    if (r < 0 || ret < 0)
        return Fail(QStringLiteral("cannot connect: %1")
                        .arg(comprotocol == 0 ? SerialStatusText(ret) : TcpStatusText(ret)),
                    NoAnswer);
    CheckComLine();
    if (bytesToRead != 0 || comecho != 1)
        return Fail(QStringLiteral("TIMEOUT"), NoAnswer);
    return Done;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    // Messages go to standard error; nothing waits for an answer.
    PopupHandler h;
    h.message = [](const QString &title, const QString &text) {
        err() << title << ": " << text.simplified() << Qt::endl;
    };
    h.confirm = [](const QString &, const QString &) { return 0; };
    SetPopupHandler(h);

    QString tcp, serial;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--help")) {
            out() << UsageText() << Qt::flush;
            return Done;
        }
        if ((opt == QLatin1String("--tcp") || opt == QLatin1String("--serial")) && !args.isEmpty())
            (opt == QLatin1String("--tcp") ? tcp : serial) = args.takeFirst();
        else
            return Fail(QStringLiteral("unknown option %1\n%2").arg(opt, UsageText()));
    }
    if (args.isEmpty())
        return Fail(UsageText());
    const Command *command = Find(args.first());
    if (!command)
        return Fail(QStringLiteral("unknown command %1\n%2").arg(args.first(), UsageText()));
    args.removeFirst();
    if (args.contains(QLatin1String("--help"))) {
        out() << "usage: tintractl [CONNECTION] " << command->synopsis << "\n" << command->help << Qt::flush;
        return Done;
    }

    // Everything about the command is checked before the sensor is spoken to.
    if (const int r = command->parse(args)) {
        err() << "usage: tintractl [CONNECTION] " << command->synopsis << Qt::endl;
        return r;
    }
    if (!command->connects)
        return command->run();

    QTemporaryDir portsDir;
    const QString why = Choose(tcp, serial, portsDir);
    if (!why.isEmpty())
        return Fail(why);
    // The link is closed on the way out, as a deliberate end: no "server has closed" message.
    struct CloseLink {
        ~CloseLink()
        {
            DisconnectTCP();
            CloseCom();
        }
    } closeLink;
    if (const int r = Connect())
        return r;
    return command->run();
}
