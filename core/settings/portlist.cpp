#include "portlist.h"

#include "connection.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/interfacepanel.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"

#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace tintra {

namespace {

QString Text(const char *name) { return QString::fromUtf8(InfoText(name)); }

QString Canonical(const QString &device)
{
    const QString c = QFileInfo(device).canonicalFilePath();
    return c.isEmpty() ? device : c;
}

} // namespace

QString SerialOpenReason(const SerialOpenFacts &f)
{
    switch (f.kind) {
    case SerialOpenFacts::None:
        return QString();
    case SerialOpenFacts::Missing:
        return Text("SerialPortMissing").arg(f.device);
    case SerialOpenFacts::NotSerial:
        return Text("SerialPortNotSerial").arg(f.device);
    case SerialOpenFacts::Busy: {
        QStringList who;
        for (const QString &h : f.holders)
            who << QStringLiteral("process ") + h;
        return Text("SerialPortBusy")
            .arg(f.device, who.isEmpty() ? Text("SerialPortBusyUnknown")
                                         : who.join(QStringLiteral(", ")));
    }
    case SerialOpenFacts::Permission:
        return Text("SerialPortPermission")
            .arg(f.device, f.user.isEmpty() ? QStringLiteral("$USER") : f.user,
                 f.group.isEmpty() ? QStringLiteral("dialout") : f.group);
    case SerialOpenFacts::Other:
        return Text("SerialPortOther").arg(f.device, f.systemText);
    }
    return QString();
}

void FillSerialPortList()
{
    PortListBox *box = interfacepanel->SelectSerialPort;
    const QSignalBlocker block(box);
    box->clear();
    const QString current = Canonical(ComPortDevice(interfacepanel->EditSelectComPort->value()));
    int selected = -1;
    for (const SerialPortEntry &e : ListSerialPorts()) {
        if (Canonical(e.device) == current)
            selected = box->count();
        box->addItem(SerialPortLabel(e), e.device);
    }
    box->setCurrentIndex(selected);
}

void ChooseSerialPort(int index)
{
    PortListBox *box = interfacepanel->SelectSerialPort;
    const QString device = box->itemData(index).toString();
    const int n = interfacepanel->EditSelectComPort->value();
    if (device.isEmpty())
        return;
    if (!MapComPort(n, device))
        MessagePopup(QStringLiteral("ATTENTION!"),
                     Text("SerialPortNotMapped").arg(n).arg(device, ComPortsCfgPath()));
    DimAccept(); // the COM number may mean another port now: connect again before ACCEPT
    ShowComPortDevice();
}

void ShowSerialProblem()
{
    QLabel *l = interfacepanel->DispSerialProblem;
    const QString text = comprotocol == 0 ? SerialOpenReason(LastSerialOpenFacts()) : QString();
    l->setText(text);
    l->setVisible(!text.isEmpty());
}

} // namespace tintra
