#include "platform/dialogparts.h"

namespace ui {

QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    QPushButton *b = namedButton(parent, name, caption);
    b->setGeometry(place);
    return b;
}

QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    ok->setDefault(true);
    return row;
}

} // namespace ui
