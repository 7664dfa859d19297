#pragma once
// The splash window shown while the program starts; on its third timer tick it shows
// the main window, whose load sequence unloads the splash. The web engine starts while
// it is up, once its picture is on screen.

#include "ui/formregistry.h"

#include <QElapsedTimer>
#include <functional>
#include <QLabel>
#include <QTimer>
#include <QWidget>

class frmSplash : public QWidget, public IForm {
    Q_OBJECT
public:
    static constexpr FormKind kKind = FormKind::TopLevel;
    explicit frmSplash(QWidget *parent = nullptr);

    void Form_Load() override;
    // One tick of Timer1 (callable directly).
    void Timer1_Timer();

    QLabel *Image1 = nullptr;
    QTimer *Timer1 = nullptr;
    long elapsed = 0;
    // Milliseconds since the previous tick (or since load); tests replace it.
    std::function<qint64()> msSinceLastTick;
    // The slow work done while the splash is up (the web engine's start), run once the
    // splash picture has been painted; tests replace it.
    std::function<void()> warmUp;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QElapsedTimer m_sinceTick;
    bool m_painted = false;
};

namespace mdl_frmSplash {
// The program's start procedure: shows the splash.
void Main();
} // namespace mdl_frmSplash
