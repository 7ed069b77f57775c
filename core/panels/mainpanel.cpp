#include "mainpanel.h"

#include "controls.h"
#include "core/info.h"
#include "widgets/logo.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

namespace tintra {

namespace {

struct ButtonRow {
    QPushButton *MainPanel::*member;
    const char *name;
    const char *caption;
    const char *info;
    const char *infoTitle;
};

const ButtonRow pageButtons[] = {
    {&MainPanel::ButtonConnect, "ButtonConnect", "CONNECT", "InfoButtonConnect", InfoTitle},
    {&MainPanel::ButtonPara1, "ButtonPara1", "SENSOR PARAMETERS 1", "InfoButtonPara1", InfoTitle},
    {&MainPanel::ButtonTeachTable, "ButtonTeachTable", "COLOR TEACH TABLE", "InfoButtonTeachTable",
     InfoTitle},
    {&MainPanel::ButtonPara2, "ButtonPara2", "SENSOR PARAMETERS 2", "InfoButtonPara2", InfoTitle},
    {&MainPanel::ButtonRecorder, "ButtonRecorder", "RECORDER", "InfoButtonOpenRecorder", InfoTitle},
    {&MainPanel::ButtonCalibrate, "ButtonCalibrate", "CALIBRATION", "InfoButtonCalibration",
     InfoTitle},
    {&MainPanel::ButtonTableAttr, "ButtonTableAttr", "TABLE ATTRIBUTES", "InfoButtonTableAttr",
     InfoTitleAttr},
};

const ButtonRow transferButtons[] = {
    {&MainPanel::ButtonSend, "ButtonSend", "SEND", "InfoButtonSend", InfoTitle},
    {&MainPanel::ButtonGet, "ButtonGet", "GET", "InfoButtonGet", InfoTitle},
    {&MainPanel::ButtonCompare, "ButtonCompare", "COMPARE", "InfoButtonCompare", InfoTitle},
};
const ButtonRow selectorButtons[] = {
    {&MainPanel::SelectRAM, "SelectRAM", "RAM", "InfoSelectMEM", InfoTitle},
    {&MainPanel::SelectEEPROM, "SelectEEPROM", "EEPROM", "InfoSelectMEM", InfoTitle},
    {&MainPanel::SelectFILE, "SelectFILE", "FILE", "InfoSelectMEM", InfoTitle},
};
const ButtonRow runButtons[] = {
    {&MainPanel::ButtonGo, "ButtonGo", "GO", "InfoButtonGo", InfoTitle},
    {&MainPanel::ButtonStop, "ButtonStop", "STOP", "InfoButtonStop", InfoTitle},
};

struct KeyRow {
    QPushButton *MainPanel::*member;
    Qt::Key key;
};
const KeyRow shortcutKeys[] = {
    {&MainPanel::ButtonSend, Qt::Key_F9},
    {&MainPanel::ButtonGet, Qt::Key_F10},
    {&MainPanel::ButtonGo, Qt::Key_F11},
    {&MainPanel::ButtonStop, Qt::Key_F12},
};

template <size_t N>
QHBoxLayout *BuildRow(MainPanel *panel, QWidget *parent, const ButtonRow (&rows)[N], int minWidth)
{
    auto *row = new QHBoxLayout();
    row->setSpacing(6);
    for (const ButtonRow &r : rows) {
        QPushButton *b = MakeButton(parent, r.name, QString::fromLatin1(r.caption));
        b->setMinimumWidth(minWidth);
        SetInfo(b, r.info, r.infoTitle);
        panel->*r.member = b;
        row->addWidget(b);
    }
    return row;
}

QGroupBox *Group(const QString &title, QLayout *content)
{
    auto *g = new QGroupBox(title);
    g->setLayout(content);
    return g;
}

} // namespace

MainPanel::MainPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mainpanel"));
    setWindowTitle(QStringLiteral("TINTRA-Revov V3.0"));

    // The branding area is the panel's top band, from its top left corner: the branding
    // table places the logo and its labels in the panel's own coordinates.
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    LogoArea = new Logo(this);
    top->addWidget(LogoArea);
    auto *outer = new QVBoxLayout();
    outer->setContentsMargins(8, 6, 8, 8);
    outer->setSpacing(6);
    top->addLayout(outer, 1);

    // Page buttons; SHOW GRAPH at the far end of the same row.
    auto *pages = BuildRow(this, this, pageButtons, 96);
    pages->addStretch(1);
    ButtonShowGraph = MakeButton(this, "ButtonShowGraph", QStringLiteral("SHOW GRAPH"));
    SetInfo(ButtonShowGraph, "InfoButtonShowGraph");
    pages->addWidget(ButtonShowGraph);
    outer->addLayout(pages);

    // Parameter transfer with its source/target, then the acquisition.
    auto *transfer = BuildRow(this, this, transferButtons, 80);
    auto *selectors = BuildRow(this, this, selectorButtons, 80);
    for (QPushButton *b : {SelectRAM, SelectEEPROM, SelectFILE})
        b->setCheckable(true);
    SelectRAM->setChecked(true);
    auto *run = BuildRow(this, this, runButtons, 80);
    auto *actions = new QHBoxLayout();
    actions->addWidget(Group(QStringLiteral("PARAMETERS"), transfer));
    actions->addWidget(Group(QStringLiteral("SOURCE / TARGET"), selectors));
    actions->addWidget(Group(QStringLiteral("DATA"), run));
    actions->addStretch(1);
    outer->addLayout(actions);

    // Child pages share one cell of a grid; exactly one is shown at a time. The data panel and
    // the signal graph panel share another.
    PageArea = new QWidget(this);
    PageArea->setObjectName(QStringLiteral("PageArea"));
    auto *pageGrid = new QGridLayout(PageArea);
    pageGrid->setContentsMargins(0, 0, 0, 0);
    DataArea = new QWidget(this);
    DataArea->setObjectName(QStringLiteral("DataArea"));
    auto *dataGrid = new QGridLayout(DataArea);
    dataGrid->setContentsMargins(0, 0, 0, 0);
    auto scrolled = [this](QWidget *area, const char *name) {
        auto *s = new QScrollArea(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setFrameShape(QFrame::NoFrame);
        s->setWidgetResizable(true); // the area fills the view and shrinks down to its minimum
        s->setWidget(area);
        return s;
    };
    PageScroll = scrolled(PageArea, "PageScroll");
    DataScroll = scrolled(DataArea, "DataScroll");
    auto *content = new QHBoxLayout();
    content->addWidget(PageScroll, 1);
    content->addWidget(DataScroll, 1);
    outer->addLayout(content, 1);

    // F9 ... F12 work from every window of the program, as long as the button is operable.
    for (const KeyRow &k : shortcutKeys) {
        QPushButton *b = this->*k.member;
        auto *sc = new QShortcut(QKeySequence(k.key), this);
        sc->setContext(Qt::ApplicationShortcut);
        connect(sc, &QShortcut::activated, b, [b] {
            if (b->isEnabled())
                b->click();
        });
    }
}

QPushButton *MainPanel::PageButton(int index) const
{
    switch (index) {
    case 1: return ButtonConnect;
    case 2: return ButtonPara1;
    case 3: return ButtonTeachTable;
    case 4: return ButtonPara2;
    case 5: return ButtonRecorder;
    case 6: return ButtonCalibrate;
    case 7: return ButtonTableAttr;
    default: return nullptr;
    }
}

void MainPanel::closeEvent(QCloseEvent *e)
{
    if (closeAllowed && !closeAllowed()) {
        e->ignore();
        return;
    }
    emit closeRequested();
    e->accept();
}

} // namespace tintra
