#pragma once
// A date box: a one-line text box holding the date as text, with a drop-down button
// that opens a month calendar below it. Picking a day writes it as yyyy-M-d; whatever
// the user types stays as typed.

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

class myDate : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue)
public:
    explicit myDate(QWidget *parent = nullptr);
    ~myDate() override;

    // The text of the box.
    QString value() const;
    // Shows the text; the calendar moves to it when it reads as a date.
    void setValue(const QString &text);

    // Handlers.
    void cmdDown_Click() { toggleCalendar(); }
    void txtValue_Click() { toggleCalendar(); }
    void mnthView_DateClick(const QDate &date);

    bool calendarShown() const;

    QLineEdit *txtValue = nullptr;
    QToolButton *cmdDown = nullptr;
    // Drawn over the host window's other controls, directly under the text box.
    QPointer<QCalendarWidget> mnthView;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void toggleCalendar();
};
