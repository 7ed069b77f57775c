#include "connection.h"
#include "portlist.h"

#include "core/panels.h"
#include "core/panels/datapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
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

void SetProtocolControl(int protocol)
{
    if (protocol == 0 || protocol == 1)
        interfacepanel->EditCommunicationProtocol->setCurrentIndex(protocol);
}

} // namespace

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
