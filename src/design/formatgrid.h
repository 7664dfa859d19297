#pragma once
// The grid of display formats in the page dialogs: eight thumbnails with their option
// buttons, a highlight behind the chosen thumbnail, scrolled by the dialog's scroll bar.

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPoint>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>
#include <array>

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

class FormatGrid : public QWidget {
    Q_OBJECT
public:
    enum class Variant { AddFile, ModFile };

    // Positions in twips of a thumbnail and its option at scroll value v.
    struct Place {
        QPoint thumbnail;
        QPoint option;
    };
    static Place gridPos(int index, int v);
    // The scroll bar's maximum: at its end the last row of options, captions and
    // buttons whole, lies inside the visible area with a margin below.
    int scrollMaximum() const;
    // The visible height of the grid area, in twips.
    static constexpr int kViewHeight = 4460;
    static constexpr int kViewWidth = 8160;

    FormatGrid(Variant variant, QWidget *parent = nullptr);

    // The dialog's scroll bar that moves the grid: a format chosen or reached with the
    // keyboard is scrolled into sight with it, and the wheel over the grid turns it.
    void setScrollBar(QScrollBar *bar) { m_bar = bar; }

    // The key of the checked option ("txt" when the dialog opens).
    QString chosenFormat() const;
    int chosenIndex() const { return m_chosen; }

    // Choosing a format by its thumbnail or its option.
    void img_Click(int index);
    void opt_Click(int index);
    // Scrolling to value v.
    void vscrl_Change(int v);

    std::array<ClickLabel *, 8> img{};
    std::array<QRadioButton *, 8> opt{};
    QLabel *lbl_bg = nullptr;
    QLabel *lbl_model = nullptr;
    QFrame *Line1 = nullptr;
    QButtonGroup *group = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void layoutAt(int v);
    // Scrolls so that the thumbnail and the option of this index are in sight.
    void scrollIntoView(int index);
    int m_chosen = 0; // the thumbnail chosen last
    int m_scroll = 0;
    QScrollBar *m_bar = nullptr;
};
