#include "connection.h"
#include "portlist.h"

#include "core/panels.h"
#include "core/settings/paths.h"
#include "core/shell.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "widgets/combobox.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <cstring>

namespace tintra {

uint16_t comprotocolold = 0;
uint16_t comportold = 0;
char ipBufOld[256] = {};
char portNumStrOld[32] = {};

namespace {

#ifdef Q_OS_WIN
const char lineEnd[] = "\r\n";
#else
const char lineEnd[] = "\n";
#endif

// `text` as UTF-8, cut at a character boundary so that it fits `size` bytes with the final zero.
void CopyText(char *dst, int size, const QString &text)
{
    QByteArray b = text.toUtf8();
    QString t = text;
    while (b.size() > size - 1) {
        t.chop(1);
        b = t.toUtf8();
    }
    std::memset(dst, 0, size_t(size));
    std::memcpy(dst, b.constData(), size_t(b.size()));
}

QString FirstChars(const QString &text, int n) { return text.left(n); }

void SetProtocolControl(int protocol)
{
    if (protocol == 0 || protocol == 1)
        interfacepanel->EditCommunicationProtocol->setCurrentIndex(protocol);
}

} // namespace

bool ReadComSettings(const QString &path, ConnectionSettings *s, FileRead *why)
{
    QStringList lines;
    // Four lines are used; reading stops there. A line is cut to 255 characters below, so 1 KB
    // of it is plenty even for multi-byte characters.
    FileRead r = ReadTextHead(path, &lines, 4, 1024);
    if (r == FileRead::Ok && lines.isEmpty())
        r = FileRead::Truncated; // nothing at all: a write that never finished
    if (why)
        *why = r;
    if (r != FileRead::Ok)
        return false;
    while (lines.size() < 4)
        lines << QString();
    s->protocol = DecimalValue(FirstChars(lines[0], 100));
    s->comPort = DecimalValue(FirstChars(lines[1], 100));
    s->server = FirstChars(lines[2], 255);
    s->portNumber = FirstChars(lines[3], 31);
    return true;
}

bool WriteComSettings(const QString &path, const ConnectionSettings &s)
{
    QByteArray out;
    out += QByteArray::number(s.protocol) + lineEnd;
    out += QByteArray::number(s.comPort) + lineEnd;
    out += s.server.left(255).toUtf8() + lineEnd;
    out += s.portNumber.left(31).toUtf8() + lineEnd;
    return WriteFileAtomically(path, out);
}

QStringList ReadServerFile(const QString &path, FileRead *why)
{
    QStringList servers;
    QByteArray content;
    const FileRead r = ReadSmallFile(path, &content);
    if (why)
        *why = r;
    if (r != FileRead::Ok)
        return servers;
    const qint64 count = content.size() / (serverRecordSize + 1);
    qsizetype pos = 0;
    for (qint64 i = 0; i < count && pos < content.size() && servers.size() < maxServerEntries;
         ++i) {
        const qsizetype end = content.indexOf('\n', pos);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        QByteArray line = content.mid(pos, next - pos);
        pos = next;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        line.truncate(serverRecordSize);
        const int zero = int(line.indexOf('\0'));
        if (zero >= 0)
            line.truncate(zero);
        if (!line.isEmpty())
            servers << QString::fromUtf8(line);
    }
    return servers;
}

bool ServerFileInLayout(const QString &path)
{
    QByteArray content;
    const FileRead r = ReadSmallFile(path, &content);
    if (r == FileRead::Missing)
        return true;
    if (r != FileRead::Ok)
        return false;
    qsizetype pos = 0;
    while (pos < content.size()) {
        const qsizetype end = pos + serverRecordSize;
        if (end < content.size() && content[end] == '\n')
            pos = end + 1;
        else if (end + 1 < content.size() && content[end] == '\r' && content[end + 1] == '\n')
            pos = end + 2;
        else
            return false;
    }
    return true;
}

bool KeepServerFileCopy(const QString &path)
{
    if (ServerFileInLayout(path))
        return true;
    const QString bak = path + QStringLiteral(".bak");
    const QString fresh = bak + QStringLiteral(".new");
    QFile::remove(fresh);
    if (!QFile::copy(path, fresh)) {
        QFile::remove(fresh);
        return false;
    }
    QFile::remove(bak);
    if (!QFile::rename(fresh, bak))
        return false;
    MessagePopup(QStringLiteral("INFO!"),
                 QStringLiteral(" %1 \n did not hold a list of servers in this program's layout. \n"
                                " It has been kept as \n %2 \n before the new list was saved. ")
                     .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(bak)));
    return true;
}

QByteArray ServerRecord(const QString &text)
{
    QByteArray r = CutServerText(text).toUtf8();
    r.append(QByteArray(serverRecordSize - int(r.size()), '\0'));
    return r;
}

bool WriteServerFile(const QString &path, const QStringList &servers)
{
    QByteArray out;
    for (const QString &s : servers)
        out += ServerRecord(s) + lineEnd;
    return WriteFileAtomically(path, out);
}

QString CutServerText(const QString &text)
{
    QString t = text;
    while (t.toUtf8().size() > maxServerChars)
        t.chop(1);
    return t;
}

int DecimalValue(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

// ---- the page ----------------------------------------------------------------------------------

void DimAccept() { interfacepanel->ButtonAccept->setEnabled(false); }

void FillServerList()
{
    ComboBox *c = interfacepanel->StringIpAdress;
    FileRead why = FileRead::Ok;
    for (const QString &s : ReadServerFile(ipComboBoxFileName, &why))
        Combo_InsertComboItem(c, -1, s);
    if (why != FileRead::Ok && why != FileRead::Missing)
        MessagePopup(QStringLiteral("ATTENTION!"), RefusedFileText(ipComboBoxFileName, why));
}

void GetConnectionSettingsFromFile()
{
    ConnectionSettings s;
    FileRead why = FileRead::Ok;
    if (!ReadComSettings(conSettingsFileName, &s, &why)) {
        // Missing, or refused: the page keeps the values it was loaded with.
        if (why != FileRead::Missing)
            MessagePopup(QStringLiteral("ATTENTION!"), RefusedFileText(conSettingsFileName, why));
        comprotocol = 0;
        comport = 1;
        return;
    }
    comprotocol = uint16_t(s.protocol);
    // A number beyond what the field holds stays an invalid port instead of wrapping to a valid one.
    s.comPort = std::clamp(s.comPort, 0, 65535);
    comport = uint16_t(s.comPort);
    CopyText(ipBuf, sizeof ipBuf, s.server);
    CopyText(portNumStr, sizeof portNumStr, s.portNumber);
    SetProtocolControl(s.protocol);
    interfacepanel->EditSelectComPort->setValue(s.comPort);
    interfacepanel->StringIpAdress->setText(s.server);
    interfacepanel->StringPortNumber->setText(s.portNumber);
    ShowComPortDevice();
}

void InitConnectPanel()
{
    InterfacePanel *p = interfacepanel;
    comprotocol = uint16_t(p->EditCommunicationProtocol->currentIndex());
    if (comprotocol != 0 && comprotocol != 1)
        return;
    const bool serial = comprotocol == 0;
    SetControlVisible(p->EditSelectComPort, serial);
    SetControlVisible(p->SelectSerialPort, serial);
    if (!serial)
        p->DispSerialProblem->hide();
    SetControlVisible(p->StringIpAdress, !serial);
    SetControlVisible(p->StringPortNumber, !serial);
}

namespace {

void ReadPage()
{
    InterfacePanel *p = interfacepanel;
    comprotocol = uint16_t(p->EditCommunicationProtocol->currentIndex());
    comport = uint16_t(p->EditSelectComPort->value());
    CopyText(ipBuf, sizeof ipBuf, p->StringIpAdress->text());
    CopyText(portNumStr, sizeof portNumStr, p->StringPortNumber->text());
}

} // namespace

void TryToConnect()
{
    CloseCom();
    SetStatusText(QStringLiteral("TRY"));
    ReadPage();
    ProcessSystemEvents();

    datapanel->DispComPort->setText(QString::number(comport));
    datapanel->DispServer->setText(QString::fromUtf8(ipBuf));
    datapanel->DispServer->setCursorPosition(0);
    portNum = DecimalValue(QString::fromUtf8(portNumStr));

    if (comprotocol == 0) {
        SetControlVisible(datapanel->DispComPort, true);
        SetControlVisible(datapanel->DispServer, false);
        InitRS232();
        ShowSerialProblem();
    } else {
        SetControlVisible(datapanel->DispComPort, false);
        SetControlVisible(datapanel->DispServer, true);
        InitTCP_IP();
        ShowSerialProblem();
    }
    if (ret < 0)
        SetPopupTimeout();
    else
        CheckComLine();
}

bool SaveCommunicationSettings()
{
    ReadPage();
    ConnectionSettings s;
    s.protocol = comprotocol;
    s.comPort = comport;
    s.server = QString::fromUtf8(ipBuf);
    s.portNumber = QString::fromUtf8(portNumStr);
    return WriteComSettings(conSettingsFileName, s);
}

void RememberConnectionSettings()
{
    InterfacePanel *p = interfacepanel;
    comprotocolold = uint16_t(p->EditCommunicationProtocol->currentIndex());
    comportold = uint16_t(p->EditSelectComPort->value());
    CopyText(ipBufOld, sizeof ipBufOld, p->StringIpAdress->text());
    CopyText(portNumStrOld, sizeof portNumStrOld, p->StringPortNumber->text());
}

void RestoreConnectionSettings()
{
    InterfacePanel *p = interfacepanel;
    SetProtocolControl(comprotocolold);
    p->EditSelectComPort->setValue(comportold);
    p->StringIpAdress->setText(QString::fromUtf8(ipBufOld));
    p->StringPortNumber->setText(QString::fromUtf8(portNumStrOld));
    ShowComPortDevice();
}

void CommitServer()
{
    DimAccept();
    ComboBox *c = interfacepanel->StringIpAdress;
    CopyText(ipBuf, sizeof ipBuf, c->text());
    const QString entry = CutServerText(QString::fromUtf8(ipBuf));
    if (entry.isEmpty())
        return; // nothing to remember
    int index = -1;
    Combo_GetIndexFromValue(c, &index, entry);
    if (index >= 0)
        Combo_DeleteComboItem(c, index, 1);
    Combo_InsertComboItem(c, 0, entry);
    if (c->count() > maxServerEntries)
        Combo_DeleteComboItem(c, maxServerEntries, -1);
    QStringList list;
    for (int i = 0; i < c->count(); ++i)
        list << c->itemText(i);
    if (!KeepServerFileCopy(ipComboBoxFileName) || !WriteServerFile(ipComboBoxFileName, list))
        MessagePopup(QStringLiteral("ATTENTION!"),
                     QStringLiteral(" The list of servers could not be saved to \n %1 ")
                         .arg(ipComboBoxFileName));
}

void CopySensorId()
{
    const QString id = interfacepanel->EditID->text().left(99);
    colbigpanel->DispIdColBig->setText(id);
    grpbigpanel->DispIdGrpBig->setText(id);
    recpanel->DispIdRec->setText(id);
}

void ShowComPortDevice()
{
    const int n = interfacepanel->EditSelectComPort->value();
    const QString device = ComPortDevice(n);
    QString text = QStringLiteral("COM %1 = %2")
                       .arg(n)
                       .arg(device.isEmpty() ? SerialStatusText(-2) : device);
    if (!device.isEmpty() && SerialDeviceCheck(device) == -7)
        text += QStringLiteral(": not a serial port");
    interfacepanel->DispComDevice->setText(text);
    FillSerialPortList();
}

} // namespace tintra
