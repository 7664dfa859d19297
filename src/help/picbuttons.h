#pragma once
// Two picture-drawn controls whose faces come from a strip of equal cells (normal, hover,
// pressed): windowBox, a square close box, and cmdBtn, a push button with a caption and a
// face stretched to any size. Each notices that the mouse has left it by polling the
// cursor with its Timer1 (10 ms) from the first mouse move over it until a tick finds the
// cursor outside. Pixels throughout.

#include "help/skinlogic.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <functional>

// What both controls share: the strip, the current cell and the polling timer.
class PictureControl : public QWidget {
    Q_OBJECT
public:
    PictureControl(QWidget *parent, const QString &name, const QPixmap &strip, int columns);

    QTimer *Timer1 = nullptr;
    // The cell of the strip by index (the picture clip's GraphicCell).
    QPixmap GraphicCell(int index) const;
    // The cell shown now (skin::Look).
    int look() const { return m_look; }
    // Where the cursor is, in screen pixels; tests put their own position here.
    std::function<QPoint()> cursorPos;

protected:
    // The cursor lies outside the control (polled on each tick).
    bool cursorOutside() const;
    void showLook(int look);

private:
    QPixmap m_strip;
    int m_columns;
    int m_look = skin::LookNormal;
};

class windowBox : public PictureControl {
    Q_OBJECT
public:
    explicit windowBox(QWidget *parent, const QString &name = QStringLiteral("windowBox"));

    void UserControl_MouseMove(int button, int shift, float x, float y);
    void UserControl_MouseDown();
    void UserControl_MouseUp(int button, int shift, float x, float y);
    void Timer1_Timer();

signals:
    // Every release on the control, with the release's arguments.
    void Click(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class cmdBtn : public PictureControl {
    Q_OBJECT
public:
    // The caption starts as the instance's name, until the host sets one.
    explicit cmdBtn(QWidget *parent, const QString &name = QStringLiteral("cmdBtn"));

    QString caption() const { return lbl->text(); }
    void setCaption(const QString &text);

    void UserControl_Resize();
    void pic_MouseMove(int button, int shift, float x, float y);
    void pic_MouseDown();
    void pic_MouseUp();
    void Timer1_Timer();
    // Paints a look: the face from its cell and the caption's colour.
    void drawState(int look);

    QLabel *lbl = nullptr;
    // True while the hover look is shown after a mouse move.
    bool hover = false;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
