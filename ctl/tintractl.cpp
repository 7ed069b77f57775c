// tintractl: the sensor from a shell script. It connects as the window does and runs the same
// exchanges (link/exchange.h, the line check), without any window: messages the window would
// show as popups are printed on standard error.
//
//   tintractl [--tcp HOST:PORT | --serial DEVICE|COMn] COMMAND ...
//     identify                     the sensor's identification text
//     get ram|eeprom [-o FILE]     the parameter set as a parameter file (or on standard output)
//     send ram|eeprom FILE         a parameter file to the sensor, as SEND does
// Without a connection option the settings the window saved in "ComSettings.cfg" are used.
// Exit status: 0 done, 2 usage or file error, 3 no answer (TIMEOUT), 4 a wrong echo.
#include "core/settings/connection.h"
#include "link/codec.h"
#include "link/exchange.h"
#include "link/paraimage.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstring>

using namespace tintra;

namespace {

enum Exit { Done = 0, Usage = 2, NoAnswer = 3, BadEcho = 4 };

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

const char *const usage =
    "usage: tintractl [--tcp HOST:PORT | --serial DEVICE|COMn] COMMAND ...\n"
    "  identify                   the sensor's identification text\n"
    "  get ram|eeprom [-o FILE]   the parameter set as a parameter file (standard output without -o)\n"
    "  send ram|eeprom FILE       a parameter file to the sensor's RAM or EEPROM, as SEND does\n"
    "Without --tcp or --serial the settings saved by the program (\"ComSettings.cfg\") are used.\n"
    "Exit status: 0 done, 2 usage or file error, 3 no answer (TIMEOUT), 4 a wrong echo.\n";

int Fail(const QString &why, int status = Usage)
{
    err() << why << Qt::endl;
    return status;
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

// After a failed exchange: no (complete) answer, or an answer that does not echo the order.
int ExchangeFailed()
{
    if (bytesToRead != 0)
        return Fail(QStringLiteral("TIMEOUT"), NoAnswer);
    return Fail(QStringLiteral("wrong echo"), BadEcho);
}

int Place(const QString &word)
{
    if (word == QLatin1String("ram"))
        return RAM;
    if (word == QLatin1String("eeprom"))
        return EEPROM;
    return 0;
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
            std::fputs(usage, stdout);
            return Done;
        }
        if ((opt == QLatin1String("--tcp") || opt == QLatin1String("--serial")) && !args.isEmpty())
            (opt == QLatin1String("--tcp") ? tcp : serial) = args.takeFirst();
        else
            return Fail(QStringLiteral("unknown option %1\n%2").arg(opt, QString::fromLatin1(usage)));
    }
    if (args.isEmpty())
        return Fail(QString::fromLatin1(usage));
    const QString command = args.takeFirst();

    // Everything about the command is checked before the sensor is spoken to.
    QString outPath, inPath;
    if (command == QLatin1String("get") || command == QLatin1String("send")) {
        if (args.isEmpty() || !Place(args.first()))
            return Fail(QStringLiteral("%1 needs ram or eeprom\n%2").arg(command, QString::fromLatin1(usage)));
        target = uint16_t(Place(args.takeFirst()));
        if (command == QLatin1String("get") && args.size() == 2 && args[0] == QLatin1String("-o"))
            outPath = args[1];
        else if (command == QLatin1String("send") && args.size() == 1)
            inPath = args[0];
        else if (!(command == QLatin1String("get") && args.isEmpty()))
            return Fail(QString::fromLatin1(usage));
    } else if (command != QLatin1String("identify") || !args.isEmpty()) {
        return Fail(QString::fromLatin1(usage));
    }
    if (!inPath.isEmpty()) {
        uint16_t image[anzpara];
        if (!FileToArray(inPath, image, anzpara))
            return Fail(QStringLiteral("%1 is not a parameter file: it must hold 233 lines, each a whole "
                                       "number 0 ... 65535. Nothing was sent.")
                            .arg(inPath));
        std::copy(image, image + anzpara, pp);
        CopyFileParatoVars();
    }

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

    if (command == QLatin1String("identify")) {
        QTextStream(stdout) << VersionText() << Qt::endl;
        return Done;
    }
    if (command == QLatin1String("send")) {
        SendParaToSensor();
        return comecho == 1 ? Done : ExchangeFailed();
    }
    if (!ReadParaFromSensor())
        return ExchangeFailed();
    CopyVarsToPP();
    if (outPath.isEmpty()) {
        const QByteArray text = ArrayText(pp, anzpara);
        return std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size())
                   ? Done
                   : Fail(QStringLiteral("standard output could not be written"));
    }
    if (!ArrayToFile(outPath, pp, anzpara))
        return Fail(QStringLiteral("the parameter file could not be written: %1").arg(outPath));
    return Done;
}
