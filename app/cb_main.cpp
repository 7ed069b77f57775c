// Main window callbacks: page buttons, SHOW GRAPH and CLOSE of the signal graph panel, closing the
// main window, and the big number windows opened from the data panel.
#include "app/callbacks.h"
#include "app/startup.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/shell.h"
#include "link/state.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tintra {

namespace {

// Calls `fn` on the given event of `target`; the event still reaches the widget.
class EventHook : public QObject {
public:
    EventHook(QWidget *target, QEvent::Type type, std::function<void()> fn)
        : QObject(target), type(type), fn(std::move(fn))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == type)
            fn();
        return false;
    }

private:
    QEvent::Type type;
    std::function<void()> fn;
};

void CBF_MAINP()
{
    EndLoop();
    QuitUserInterface();
}

} // namespace

void ConnectMainCallbacks()
{
    MainPanel *m = mainpanel;
    struct Page {
        QPushButton *button;
        int index;
    };
    // CONNECT (page 1) and RECORDER (page 5) have their own callbacks.
    const Page pages[] = {{m->ButtonPara1, 2},     {m->ButtonTeachTable, 3}, {m->ButtonPara2, 4},
                          {m->ButtonCalibrate, 6}, {m->ButtonTableAttr, 7}};
    for (const Page &p : pages) {
        const int index = p.index;
        QObject::connect(p.button, &QPushButton::clicked, m, [index] { ShowChildPanel(index); });
    }

    QObject::connect(m->ButtonShowGraph, &QPushButton::clicked, m, [] { ShowGraphPanel(true); });
    QObject::connect(graphpanel->ButtonGpClose, &QPushButton::clicked, graphpanel,
                     [] { ShowGraphPanel(false); });

    QObject::connect(m, &MainPanel::closeRequested, m, [] { CBF_MAINP(); });

    // Double click on C-No: or GRP opens the big window; a right click into it or closing it
    // hides it again (closing a top-level window hides it).
    new EventHook(datapanel->DispCOL, QEvent::MouseButtonDblClick, [] { colbigpanel->show(); });
    new EventHook(datapanel->DispGroup, QEvent::MouseButtonDblClick, [] { grpbigpanel->show(); });
    OnRightClick(colbigpanel, [] { colbigpanel->hide(); });
    OnRightClick(grpbigpanel, [] { grpbigpanel->hide(); });
    OnRightClick(p3sidesview, [] {}); // its right click does nothing; closing hides it
}

} // namespace tintra
