#include "interfacepanel.h"

#include "controls.h"
#include "core/info.h"
#include "widgets/combobox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tintra {

InterfacePanel::InterfacePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("interfacepanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    auto *box = new QGroupBox(QStringLiteral("CONNECTION SETTINGS"), this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);

    EditCommunicationProtocol = new QComboBox(box);
    EditCommunicationProtocol->setObjectName(QStringLiteral("EditCommunicationProtocol"));
    EditCommunicationProtocol->addItem(QStringLiteral("RS-232"), 0);
    EditCommunicationProtocol->addItem(QStringLiteral("TCP/IP"), 1);
    SetInfo(EditCommunicationProtocol, "InfoEditCommunicationProtocol");

    EditSelectComPort = new QSpinBox(box);
    EditSelectComPort->setObjectName(QStringLiteral("EditSelectComPort"));
    // Any number the settings file may hold is shown as it is; the opening decides whether it
    // names a port.
    EditSelectComPort->setRange(0, 65535);
    EditSelectComPort->setValue(1);
    EditSelectComPort->setMinimumWidth(80);
    SetInfo(EditSelectComPort, "InfoEditConnect");
    DispComDevice = new QLabel(box);
    DispComDevice->setObjectName(QStringLiteral("DispComDevice"));
    DispComDevice->setTextFormat(Qt::PlainText);
    DispComDevice->setBuddy(EditSelectComPort);

    SelectSerialPort = new PortListBox(box);
    SelectSerialPort->setObjectName(QStringLiteral("SelectSerialPort"));
    SelectSerialPort->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    SelectSerialPort->setMinimumWidth(260);
    SelectSerialPort->setMaximumWidth(520);
    SelectSerialPort->setPlaceholderText(QString::fromUtf8(InfoText("SerialPortChoose")));
    SetInfo(SelectSerialPort, "InfoSelectSerialPort");
    DispSerialProblem = new QLabel(box);
    DispSerialProblem->setObjectName(QStringLiteral("DispSerialProblem"));
    DispSerialProblem->setTextFormat(Qt::PlainText);
    DispSerialProblem->setWordWrap(true);
    DispSerialProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    DispSerialProblem->setStyleSheet(QStringLiteral("color: #a00000"));
    DispSerialProblem->hide();
    SetInfo(DispSerialProblem, "InfoDispSerialProblem");

    StringIpAdress = new ComboBox(box);
    StringIpAdress->setObjectName(QStringLiteral("StringIpAdress"));
    StringIpAdress->setMinimumWidth(260);
    StringIpAdress->setMaximumWidth(420);
    StringIpAdress->lineEdit()->setMaxLength(255);
    SetInfo(StringIpAdress, "InfoStringIpAdress");

    StringPortNumber = new QLineEdit(box);
    StringPortNumber->setObjectName(QStringLiteral("StringPortNumber"));
    StringPortNumber->setMaxLength(31);
    StringPortNumber->setMaximumWidth(120);
    SetInfo(StringPortNumber, "InfoStringPortNumber");

    DispInterfaceStatus = MakeDisplay(box, "DispInterfaceStatus", 36, false);
    SetInfo(DispInterfaceStatus, "InfoStatus");

    int row = 0;
    grid->addWidget(MakeCaption(box, "CaptionProtocol", QStringLiteral("PROTOCOL"),
                                EditCommunicationProtocol), row, 0);
    grid->addWidget(EditCommunicationProtocol, row++, 1, Qt::AlignLeft);
    grid->addWidget(MakeCaption(box, "CaptionComPortEdit", QStringLiteral("COM PORT"),
                                EditSelectComPort), row, 0);
    auto *comRow = new QHBoxLayout();
    comRow->addWidget(EditSelectComPort);
    comRow->addWidget(SelectSerialPort);
    comRow->addStretch(1);
    grid->addLayout(comRow, row++, 1);
    grid->addWidget(DispComDevice, row++, 1);
    grid->addWidget(MakeCaption(box, "CaptionServerEdit", QStringLiteral("SERVER"), StringIpAdress),
                    row, 0);
    grid->addWidget(StringIpAdress, row++, 1);
    grid->addWidget(MakeCaption(box, "CaptionPortNumber", QStringLiteral("PORT NUMBER"),
                                StringPortNumber), row, 0);
    grid->addWidget(StringPortNumber, row++, 1, Qt::AlignLeft);
    grid->addWidget(MakeCaption(box, "CaptionInterfaceStatus", QStringLiteral("STATUS"),
                                DispInterfaceStatus), row, 0);
    grid->addWidget(DispInterfaceStatus, row++, 1);
    grid->addWidget(DispSerialProblem, row++, 1);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout();
    buttons->setSpacing(12);
    ButtonTryToConnect = MakeButton(box, "ButtonTryToConnect", QStringLiteral("TRY TO CONNECT"));
    SetInfo(ButtonTryToConnect, "InfoButtonTryToConnect");
    ButtonAccept = MakeButton(box, "ButtonAccept", QStringLiteral("ACCEPT"));
    SetInfo(ButtonAccept, "InfoButtonAccept");
    ButtonAccept->setEnabled(false);
    ButtonDiscard = MakeButton(box, "ButtonDiscard", QStringLiteral("DISCARD"));
    SetInfo(ButtonDiscard, "InfoButtonDiscard");
    for (QPushButton *b : {ButtonTryToConnect, ButtonAccept, ButtonDiscard}) {
        b->setMinimumWidth(130);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    grid->addLayout(buttons, row++, 0, 1, 2);
    outer->addWidget(box);

    auto *idBox = new QGroupBox(QStringLiteral("SENSOR ID"), this);
    auto *idRow = new QHBoxLayout(idBox);
    EditID = new QLineEdit(idBox);
    EditID->setObjectName(QStringLiteral("EditID"));
    EditID->setMaxLength(99);
    SetInfo(EditID, "InfoEditID");
    idRow->addWidget(EditID);
    outer->addWidget(idBox);
    outer->addStretch(1);
}

} // namespace tintra
