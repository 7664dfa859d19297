#pragma once
// Stands in for a browser pane in handler tests: records what the window asked of it.

#include "ui/browserpane.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

class FakePane : public QWidget, public IBrowserPane {
    Q_OBJECT
public:
    explicit FakePane(QWidget *parent = nullptr, PaneOptions paneOptions = {})
        : QWidget(parent)
        , options(paneOptions)
    {
    }
    void navigate(const QString &page) override;
    void write(const QString &piece) override { pieces << piece; }
    void setInnerHTML(const QString &id, const QString &html) override;
    void prependInnerHTML(const QString &id, const QString &html) override;
    QString value(const QString &id) const override { return values.value(id); }
    QWidget *widget() override { return this; }

    QString lastPage() const { return pages.isEmpty() ? QString() : pages.last(); }
    QString written() const { return pieces.join(QString()); }

    PaneOptions options;
    QStringList pages;  // every navigation, as given
    QStringList pieces; // written since the last navigation
    QHash<QString, QString> inner; // element id -> current content
    QHash<QString, QString> values; // set by a test to play the page's script
};

// Installs a factory that makes FakePanes for as long as it lives.
class FakePaneFactory {
public:
    FakePaneFactory();
    ~FakePaneFactory();
    QList<FakePane *> made() const;
    FakePane *last() const;
    // The pane made for a parent of this object name (nullptr when none).
    FakePane *forParent(const QString &objectName) const;

private:
    QList<QPointer<FakePane>> m_made;
};
