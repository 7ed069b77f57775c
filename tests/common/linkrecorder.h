// Records what the link layer shows: status texts, connection-page switches, parameter reads and
// undimming of ACCEPT. Installs itself as the link's user interface for its lifetime.
#pragma once

#include "link/state.h"
#include "link/transport.h"

#include <QStringList>

namespace tintra::test {

class LinkRecorder {
public:
    QStringList statuses;
    int connectionPages = 0;
    int paraReads = 0;
    int undims = 0;
    int busyOn = 0;
    int busyOff = 0;
    // What the parameter read leaves in comecho (the real one reads the sensor's parameters).
    int paraResult = 1;

    LinkRecorder()
    {
        previous = CurrentLinkUi();
        LinkUi ui;
        ui.showStatus = [this](const QString &t) { statuses << t; };
        ui.showConnectionPage = [this] { ++connectionPages; };
        ui.getPara = [this] {
            ++paraReads;
            comecho = uint16_t(paraResult);
        };
        ui.undimAccept = [this] { ++undims; };
        ui.busy = [this](bool on) { ++(on ? busyOn : busyOff); };
        SetLinkUi(ui);
    }
    ~LinkRecorder() { SetLinkUi(previous); }
    LinkRecorder(const LinkRecorder &) = delete;
    LinkRecorder &operator=(const LinkRecorder &) = delete;

    QString lastStatus() const { return statuses.isEmpty() ? QString() : statuses.last(); }

private:
    LinkUi previous;
};

} // namespace tintra::test
