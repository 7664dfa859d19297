#pragma once
// The template thumbnail control: the template's picture with an option button below
// it that carries the template's name. The template pickers hold a grid of them.

#include <QLabel>
#include <QRadioButton>
#include <QString>
#include <QWidget>

namespace profile {
// Shows the picture file in a picture box, scaled down to fit it and centred; a file
// that cannot be read leaves the box empty. Returns whether the picture was shown.
bool showPicture(QLabel *box, const QString &path);
// A picture box's single-line frame, shown or not; the picture keeps its place.
void setFramed(QLabel *box, bool on);
bool isFramed(const QLabel *box);
} // namespace profile

class tmpl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(int selected READ selected WRITE setSelected NOTIFY selectedChanged)
public:
    explicit tmpl(QWidget *parent = nullptr);

    // The template's picture file name in the program folder's template/.
    QString value() const { return m_value; }
    void setValue(const QString &value);
    // 1 when this thumbnail is the chosen one, else 0.
    int selected() const { return m_selected; }
    void setSelected(int selected);
    // The picture carries its frame.
    bool framed() const;

    // Handlers, by the names of their controls and events.
    void imgTmpl_Click();
    void imgTmpl_DblClick();
    void optTmpl_Click();
    void optTmpl_DblClick() { imgTmpl_DblClick(); }
    void UserControl_Click() { optTmpl_Click(); }
    void UserControl_DblClick() { imgTmpl_DblClick(); }

    QLabel *imgTmpl = nullptr;
    QRadioButton *optTmpl = nullptr;

signals:
    void click();
    void DoubleClick();
    void valueChanged();
    void selectedChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_value;
    int m_selected = 0;
};
