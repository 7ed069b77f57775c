#include "info.h"

#include "link/platform.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QWidget>

namespace tintra {

void OnRightClick(QWidget *w, std::function<void()> fn)
{
    // Editable combo boxes and spin boxes carry an inner line edit with its own context menu:
    // route its right click to the same action. Scroll areas (tables, plots) report it through
    // their viewport, which the signal of the outer widget already covers.
    QList<QWidget *> targets{w};
    for (QLineEdit *e : w->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
        targets << e;
    for (QWidget *t : targets) {
        t->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(t, &QWidget::customContextMenuRequested, w, [fn](const QPoint &) { fn(); });
    }
}

void SetInfo(QWidget *w, const char *name, const char *title)
{
    const char *text = InfoText(name);
    const QString t = QString::fromUtf8(title);
    const QString body = text ? QString::fromUtf8(text) : QString();
    OnRightClick(w, [t, body] { MessagePopup(t, body); });
}

} // namespace tintra
