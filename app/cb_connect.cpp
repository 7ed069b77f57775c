// CONNECT on the main window and the controls of the connection settings page.
#include "app/callbacks.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/interfacepanel.h"
#include "core/params/unsent.h"
#include "core/settings/connection.h"
#include "core/settings/paths.h"
#include "core/settings/portlist.h"
#include "core/shell.h"
#include "link/platform.h"
#include "link/state.h"
#include "widgets/combobox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace tintra {

namespace {

void CBF_ButtonConnect()
{
    EndLoop();
    RememberConnectionSettings();
    ShowChildPanel(1);
}

// A connection reads the sensor's parameters onto the panels: edits not yet sent would be
// replaced, so the operator is asked first. False: nothing is done.
bool ConnectAllowed()
{
    if (!HasUnsentParameterChanges())
        return true;
    return ConfirmPopup(QStringLiteral("ATTENTION!"),
                        QString::fromUtf8(InfoText("ConnectWithUnsent"))) == 1;
}

void CBF_ButtonTryToConnect()
{
    if (!ConnectAllowed())
        return;
    DimAccept(); // the attempt decides again whether these values may be accepted
    SetButtonsDimmed(1);
    TryToConnect();
    SetButtonsDimmed(0);
}

void CBF_ButtonAccept()
{
    if (!SaveCommunicationSettings()) {
        MessagePopup(QStringLiteral("ATTENTION!"),
                     QStringLiteral(" The connection settings could not be saved to \n %1 ")
                         .arg(conSettingsFileName));
        return;
    }
    ShowChildPanel(2);
}

void CBF_ButtonDiscard()
{
    if (!ConnectAllowed())
        return;
    RestoreConnectionSettings();
    DimAccept();
    SetButtonsDimmed(1);
    InitConnectPanel();
    TryToConnect();
    SetButtonsDimmed(0);
}

void CBF_SelectSerialPort(int index) { ChooseSerialPort(index); }

} // namespace

void ConnectConnectionCallbacks()
{
    InterfacePanel *p = interfacepanel;
    QObject::connect(mainpanel->ButtonConnect, &QPushButton::clicked, p, [] { CBF_ButtonConnect(); });
    QObject::connect(p->ButtonTryToConnect, &QPushButton::clicked, p,
                     [] { CBF_ButtonTryToConnect(); });
    QObject::connect(p->ButtonAccept, &QPushButton::clicked, p, [] { CBF_ButtonAccept(); });
    QObject::connect(p->ButtonDiscard, &QPushButton::clicked, p, [] { CBF_ButtonDiscard(); });

    QObject::connect(p->EditCommunicationProtocol, &QComboBox::activated, p, [] {
        InitConnectPanel();
        DimAccept();
    });
    QObject::connect(p->EditSelectComPort, &QSpinBox::valueChanged, p, [] {
        ShowComPortDevice();
        DimAccept();
    });
    // Any change of the port number or server text dims ACCEPT at once, so that ACCEPT can only
    // save values that have just been connected with.
    QObject::connect(p->StringPortNumber, &QLineEdit::textEdited, p, [] { DimAccept(); });
    QObject::connect(p->StringIpAdress->lineEdit(), &QLineEdit::textEdited, p, [] { DimAccept(); });
    QObject::connect(p->StringIpAdress, &ComboBox::committed, p, [] { CommitServer(); });
    QObject::connect(p->EditID, &QLineEdit::editingFinished, p, [] { CopySensorId(); });
    // The list shows the ports as they are when it opens; choosing one maps the COM number.
    p->SelectSerialPort->beforePopup = [] { FillSerialPortList(); };
    QObject::connect(p->SelectSerialPort, &QComboBox::activated, p,
                     [](int index) { CBF_SelectSerialPort(index); });
}

} // namespace tintra
