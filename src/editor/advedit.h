#pragma once
// The HTML editor control hosted by the data-entry view for pages of the advanced
// format: design, code and preview tabs, a toolbar, insert dialogs, and a save button
// that stores the page of the data-entry view's current column.
// (Still to be built: this is its outline, with the interface its host uses.)

#include <QString>
#include <QWidget>

class advEdit : public QWidget {
    Q_OBJECT
public:
    explicit advEdit(QWidget *parent = nullptr)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("advEdit"));
    }

    // The page in the stored HTML form, read from the view on the current tab.
    QString innerHTML() const { return m_page; }
    // Loads a page given in the stored HTML form into the design view.
    void putInnerHTML(const QString &stored) { m_page = stored; }
    // Appends an HTML fragment to the end of the page's body (the insert dialogs).
    void setInnerHTML(const QString &fragment) { m_page += fragment; }

    // A page-kind marker the host may set ("news": the save stores nothing).
    QString aspFileName = QStringLiteral("none");

    // The save button: stores the page of the data-entry view's current column.
    void saveContent() {}

private:
    QString m_page;
};
