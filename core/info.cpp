#include "info.h"

#include "link/platform.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tintra {

namespace {

// Runs a control's right-click action, also while the control is dimmed: Qt passes the mouse
// events of a disabled widget through its event filters before the widget drops them, so the
// filter is the one place that sees every right click. The click is taken whole: press, release,
// double click and the context-menu request that follows the press, so a right click never steps
// a field, opens a list or a text menu, or presses a button.
class RightClickFilter : public QObject {
public:
    RightClickFilter(QWidget *owner, std::function<void()> fn) : QObject(owner), fn(std::move(fn))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(e)->button() != Qt::RightButton)
                return false;
            if (e->type() == QEvent::MouseButtonPress)
                run(true);
            return true;
        case QEvent::ContextMenu:
            // The window system follows the press with a context-menu request in the same pass;
            // that one was answered already. A request of its own (menu key) shows the text.
            if (pressTaken && static_cast<QContextMenuEvent *>(e)->reason() == QContextMenuEvent::Mouse)
                pressTaken = false;
            else
                run(false);
            return true;
        default:
            return false;
        }
    }

private:
    void run(bool byPress)
    {
        QPointer<RightClickFilter> self(this);
        fn(); // a popup waits for the operator here
        if (!self || !byPress)
            return;
        pressTaken = true;
        QTimer::singleShot(0, this, [this] { pressTaken = false; });
    }

    std::function<void()> fn;
    bool pressTaken = false;
};

} // namespace

void OnRightClick(QWidget *w, std::function<void()> fn)
{
    // Spin boxes and editable combo boxes carry an inner line edit, tables and lists a viewport:
    // that is where the operator's click lands.
    auto *filter = new RightClickFilter(w, std::move(fn));
    QList<QWidget *> targets{w};
    for (QLineEdit *e : w->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
        targets << e;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(w))
        targets << area->viewport();
    for (QWidget *t : targets)
        t->installEventFilter(filter);
}

void SetInfo(QWidget *w, const char *name, const char *title)
{
    const char *text = InfoText(name);
    const QString t = QString::fromUtf8(title);
    const QString body = text ? QString::fromUtf8(text) : QString();
    OnRightClick(w, [t, body] { MessagePopup(t, body); });
}

} // namespace tintra
