// Connection settings page: protocol, COM port, server, port number, status line, TRY TO
// CONNECT / ACCEPT / DISCARD and the sensor identification text.
// The constructor builds the layout; behaviour is connected elsewhere.
#pragma once

#include <QComboBox>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tintra {

class ComboBox;

// The list of the machine's serial ports; it is filled afresh each time it opens.
class PortListBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;
    void showPopup() override
    {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};

class InterfacePanel : public QWidget {
    Q_OBJECT
public:
    explicit InterfacePanel(QWidget *parent = nullptr);

    QComboBox *EditCommunicationProtocol; // item index = protocol: 0 RS-232, 1 TCP/IP
    QSpinBox *EditSelectComPort;
    QLabel *DispComDevice;                // which device the COM port number means
    PortListBox *SelectSerialPort;        // the machine's serial ports; choosing maps the number
    QLabel *DispSerialProblem;            // why the last serial opening failed, what to do
    ComboBox *StringIpAdress;             // server name or address, with remembered servers
    QLineEdit *StringPortNumber;
    QLineEdit *DispInterfaceStatus;
    QPushButton *ButtonTryToConnect;
    QPushButton *ButtonAccept;            // dimmed until a line check with these values succeeded
    QPushButton *ButtonDiscard;
    QLineEdit *EditID;                    // sensor identification, up to 99 characters
};

} // namespace tintra
