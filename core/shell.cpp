#include "shell.h"

#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/calibpanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/teachpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/panels/controls.h"
#include "link/platform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tintra {

const char *const dimmedControlNames[] = {
    "ButtonSend",         "ButtonGet",          "ButtonGo",          "SelectRAM",
    "SelectEEPROM",       "SelectFILE",         "Calcmode",          "ButtonTryToConnect",
    "ButtonDiscard",      "ButtonCalcCF",       "ButtonSendCF",      "ButtonGetCF",
    "EditSelectDataRec",  "ButtonStartRecord",  "ButtonStartTrigRec", "ButtonSelRecFile",
    "ButtonCompare",      "ButtonCompareFile",  "ButtonCompareRAM",  "ButtonCompareEEPROM",
    nullptr,
};

QWidget *ChildPanel(int index)
{
    switch (index) {
    case 1: return interfacepanel;
    case 2: return parapanel1;
    case 3: return ttpanel;
    case 4: return parapanel2;
    case 5: return recpanel;
    case 6: return calibpanel;
    case 7: return tapanel;
    default: return nullptr;
    }
}

void ShowChildPanel(int index)
{
    if (mainpanel)
        for (int i = 1; i <= 7; ++i)
            if (QPushButton *b = mainpanel->PageButton(i))
                SetButtonColour(b, neutralButtonColour);
    for (int i = 1; i <= 7; ++i)
        if (QWidget *p = ChildPanel(i))
            p->hide();
    if (index < 1 || index > 7)
        return;
    if (mainpanel)
        if (QPushButton *b = mainpanel->PageButton(index))
            SetButtonColour(b, markedButtonColour);
    if (QWidget *p = ChildPanel(index))
        p->show();
    if (index == 1 && interfacepanel)
        interfacepanel->ButtonAccept->setEnabled(false);
}

QWidget *FindControl(const char *objectName)
{
    const QString name = QString::fromLatin1(objectName);
    QWidget *const panels[] = {mainpanel,  parapanel1, parapanel2,  ttpanel,     datapanel,
                               tapanel,    interfacepanel, recpanel, calibpanel, graphpanel,
                               teachpanel, colbigpanel, grpbigpanel, p3sidesview};
    for (QWidget *p : panels) {
        if (!p)
            continue;
        if (p->objectName() == name)
            return p;
        if (QWidget *w = p->findChild<QWidget *>(name))
            return w;
    }
    return nullptr;
}

namespace {
bool longOperation = false;
}

bool LongOperationRunning() { return longOperation; }

void SetButtonsDimmed(int dimmed)
{
    longOperation = dimmed != 0;
    for (const char *const *n = dimmedControlNames; *n; ++n)
        if (QWidget *w = FindControl(*n))
            w->setEnabled(dimmed == 0);
    ProcessSystemEvents();
}

void SetControlVisible(QWidget *control, bool visible)
{
    if (!control)
        return;
    control->setVisible(visible);
    if (QWidget *parent = control->parentWidget())
        for (QLabel *l : parent->findChildren<QLabel *>())
            if (l->buddy() == control)
                l->setVisible(visible);
}

void SetStatusText(const QString &text)
{
    QLineEdit *const fields[] = {datapanel ? datapanel->DispStatus : nullptr,
                                 interfacepanel ? interfacepanel->DispInterfaceStatus : nullptr};
    for (QLineEdit *f : fields)
        if (f) {
            f->setText(text);
            f->setCursorPosition(0);
        }
}

void ShowGraphPanel(bool graph)
{
    if (datapanel)
        datapanel->setVisible(!graph);
    if (graphpanel)
        graphpanel->setVisible(graph);
}

} // namespace tintra
