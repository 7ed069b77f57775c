#include "bignumber.h"

#include "controls.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tintra {

void BuildBigNumberWindow(QWidget *w, const QString &title, const char *numberName,
                          const char *idName, QLabel **number, QLabel **id)
{
    w->setWindowTitle(title);
    auto *v = new QVBoxLayout(w);
    auto *caption = new QLabel(title, w);
    caption->setAlignment(Qt::AlignCenter);
    auto *n = new QLabel(QStringLiteral("0"), w);
    n->setObjectName(QString::fromLatin1(numberName));
    n->setTextFormat(Qt::PlainText);
    n->setAlignment(Qt::AlignCenter);
    n->setFont(NumericFont(96));
    n->setMinimumSize(320, 160);
    auto *i = new QLabel(w);
    i->setObjectName(QString::fromLatin1(idName));
    i->setTextFormat(Qt::PlainText);
    i->setAlignment(Qt::AlignCenter);
    v->addWidget(caption);
    v->addWidget(n, 1);
    v->addWidget(i);
    *number = n;
    *id = i;
}

} // namespace tintra
