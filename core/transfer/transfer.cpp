#include "transfer.h"

#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/params/panelvalues.h"
#include "core/params/unsent.h"
#include "link/state.h"

#include <QPushButton>
#include <QSignalBlocker>

namespace tintra {

namespace {

void setChecked(QPushButton *b, bool on)
{
    if (!b)
        return;
    const QSignalBlocker block(b);
    b->setChecked(on);
}

} // namespace

void SendPara()
{
    GetPanelValues();
    SendParaToSensor();
    if (comecho == 1)
        MarkPanelsSynced();
}

void GetPara()
{
    if (!ReadParaFromSensor())
        return;
    ShowLoadedParameters();
    MarkPanelsSynced();
}

void SelectTarget(int which, bool on)
{
    MainPanel *m = mainpanel;
    if (!on || which == RAM) {
        SelectRamTarget();
        return;
    }
    target = static_cast<uint16_t>(which);
    setChecked(m->SelectRAM, false);
    setChecked(m->SelectEEPROM, which == EEPROM);
    setChecked(m->SelectFILE, which == DATFILE);
}

void SelectRamTarget()
{
    target = RAM;
    if (!mainpanel)
        return;
    setChecked(mainpanel->SelectRAM, true);
    setChecked(mainpanel->SelectEEPROM, false);
    setChecked(mainpanel->SelectFILE, false);
}

} // namespace tintra
