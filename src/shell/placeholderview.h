#pragma once
// A window whose own work is not built yet: it carries its caption and nothing else.

#include "ui/formregistry.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

class PlaceholderView : public QWidget, public IForm {
    Q_OBJECT
public:
    PlaceholderView(const QString &caption, QWidget *parent, QSize size = QSize(675, 416))
        : QWidget(parent)
    {
        setWindowTitle(caption);
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(caption, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
        resize(size);
    }
};
