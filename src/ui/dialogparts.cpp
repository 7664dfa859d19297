#include "ui/dialogparts.h"

#include "ui/formregistry.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

namespace dialogparts {

QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit *lineEdit(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPlainTextEdit *textBox(QWidget *parent, const char *name)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setTabChangesFocus(true);
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    QPushButton *b = button(parent, name, caption);
    b->setGeometry(place);
    return b;
}

QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel, EnterKey enter)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    ok->setDefault(enter == EnterKey::PressesOk);
    return row;
}

void unloadOnFinish(QDialog *dlg)
{
    QObject::connect(dlg, &QDialog::finished, dlg, [dlg] { forms().unloadWidget(dlg); });
}

QStatusBar *statusBar(QWidget *parent, std::initializer_list<QLabel **> panels)
{
    auto *bar = new QStatusBar(parent);
    bar->setObjectName(QStringLiteral("StsBar"));
    bar->setSizeGripEnabled(false);
    int n = 0;
    for (QLabel **panel : panels) {
        *panel = new QLabel(bar);
        (*panel)->setObjectName(QStringLiteral("StsBar_panel%1").arg(++n));
        bar->addWidget(*panel, 1);
    }
    bar->setFixedHeight(bar->sizeHint().height() + 2);
    return bar;
}

} // namespace dialogparts
