#pragma once
// xp_canvas: turns a borderless window into one with a picture-drawn frame: a caption bar
// that moves the window (double-click: maximise / restore), border bars and grips that
// resize it on release, and an active or inactive look that follows whether the window is
// the application's active one. It fills its host and holds the host's controls; what
// happens on its own surface is passed on to the host as signals. Pixels throughout.

#include "help/skinlogic.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class xp_canvas : public QWidget {
    Q_OBJECT
public:
    // `name` is the instance's name, which is also its caption until the host sets one.
    explicit xp_canvas(QWidget *host, const QString &name = QStringLiteral("xp_canvas"));

    QString caption() const { return m_caption; }
    // Sets both caption labels and the host window's own title, then repaints.
    void setCaption(const QString &text);
    QPixmap Icon() const { return m_icon; }
    // Shows the picture at 16 x 16; no repaint of the frame.
    void setIcon(const QPixmap &picture);
    bool Fixed_Single() const { return m_fixed; }
    // True: neither resizing nor maximising by the user.
    void setFixed_Single(bool fixed);
    // Applies the active look and stops both timers; the keyboard focus stays where it is.
    void SetFocus();
    // Clears the form's own surface (its background, under the frame) to its background
    // colour and, while the form is in the normal state, paints the two 5-pixel caps of
    // the live caption-bar picture at its top corners.
    void make_trans(QWidget *form);

    // The repaint routine, also run on every resize: lays the parts out again, redraws,
    // then raises Resize.
    void UserControl_Resize();

    // Look polling. Timer1 waits for the host to stop being the active window, Timer2 for
    // it to become active again; each stops once it has seen its change.
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    void setTimerInterval(int ms);
    void Timer1_Timer();
    void Timer2_Timer();
    bool activeLook() const { return m_active; }

    // Mouse on the frame's parts; cursor positions in screen pixels.
    void pictop_MouseDown(QPoint cursor);
    void pictop_DblClick();
    void border_MouseDown(int edge, QPoint cursor);
    void border_MouseUp(int edge, QPoint cursor);
    QPoint startPoint;
    QPoint endPoint;

    skin::FrameGeometry frameGeometry() const;
    skin::Part partAt(QPoint p) const { return skin::partAt(frameGeometry(), p); }
    Qt::CursorShape pointerOf(skin::Part part) const;
    skin::HostState hostState() const;
    QFont captionFont() const;

    // What the bars show now (copied from the active or the inactive set).
    QPixmap imgleft, imgright, imgtop, imgtopmax, imgbottom;

signals:
    void Click();
    void DblClick();
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);
    void Resize();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void applyLook(bool active);
    QWidget *host() const { return m_host; }
    bool hostIsActive() const;

    QWidget *m_host = nullptr;
    QString m_caption;
    QPixmap m_icon;
    bool m_fixed = false;
    bool m_active = true;
    // A press on a border waiting for its release (-1: none).
    int m_pressedEdge = -1;
    // A press on the caption bar: waiting for a drag, or moving the window by hand.
    bool m_movePending = false;
    bool m_moving = false;
    QPoint m_moveFrom;
    QPoint m_moveOrigin;
    // The press belonged to the surface (its release is the host's mouseUp / Click).
    bool m_surfacePress = false;
    bool m_afterDblClick = false;
};
