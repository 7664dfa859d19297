// The skinned frame, the close box, the picture button and the About box they draw,
// driven through their handlers and tick handlers.
#include "core/twips.h"
#include "core/version.h"
#include "help/aboutfrm.h"
#include "help/picbuttons.h"
#include "help/xpcanvas.h"
#include "testenv.h"
#include "testmain.h"

#include <QSignalSpy>
#include <memory>

using namespace skin;

class TestSkinControls : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_host;
    xp_canvas *canvas = nullptr;

    // A borderless host at (100, 80), 300 x 200, filled by a frame.
    void makeHost()
    {
        m_host = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        canvas = new xp_canvas(m_host.get(), QStringLiteral("canvas1"));
        m_host->setGeometry(100, 80, 300, 200);
        canvas->setGeometry(0, 0, 300, 200);
        canvas->Timer1->stop();
        canvas->Timer2->stop();
    }

    // Puts a picture control's polled cursor at a point of the control.
    static void cursorAt(PictureControl *c, QPoint p)
    {
        c->cursorPos = [c, p] { return c->mapToGlobal(p); };
    }

private slots:
    void cleanup()
    {
        m_host.reset();
        canvas = nullptr;
        QApplication::setActiveWindow(nullptr);
        forms().unloadAll();
        testenv::settle();
    }

    void frameDefaultsAndCaption()
    {
        makeHost();
        // A new frame is captioned with its name and shows the active look.
        QCOMPARE(canvas->caption(), QStringLiteral("canvas1"));
        QCOMPARE(m_host->windowTitle(), QStringLiteral("canvas1"));
        QVERIFY(canvas->activeLook());
        QVERIFY(!canvas->Fixed_Single());
        QCOMPARE(canvas->Icon().size(), QSize(16, 16));

        QSignalSpy resized(canvas, &xp_canvas::Resize);
        canvas->setCaption(QStringLiteral("关于Quorvik"));
        QCOMPARE(canvas->caption(), QStringLiteral("关于Quorvik"));
        QCOMPARE(m_host->windowTitle(), QStringLiteral("关于Quorvik"));
        QCOMPARE(resized.count(), 1);
        // The icon is shown at 16 x 16 and does not repaint the frame.
        QPixmap big(32, 32);
        big.fill(Qt::red);
        canvas->setIcon(big);
        QCOMPARE(canvas->frameGeometry().icon.size(), QSize(16, 16));
        QCOMPARE(resized.count(), 1);
    }

    void bordersResizeTheHostOnRelease()
    {
        makeHost();
        // Left bar pressed, released 10 pixels further right.
        canvas->border_MouseDown(EdgeLeft, QPoint(500, 400));
        QCOMPARE(m_host->geometry(), QRect(100, 80, 300, 200)); // nothing while held
        canvas->border_MouseUp(EdgeLeft, QPoint(510, 400));
        QCOMPARE(m_host->geometry(), QRect(110, 80, 290, 200));
        QCOMPARE(canvas->startPoint, QPoint(500, 400));
        QCOMPARE(canvas->endPoint, QPoint(510, 400));
        // The same through real mouse events on the bottom bar.
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 197));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(100, 210));
        QCOMPARE(m_host->geometry(), QRect(110, 80, 290, 213));
        // A release without a press changes nothing.
        canvas->border_MouseUp(EdgeRight, QPoint(900, 900));
        QCOMPARE(m_host->geometry(), QRect(110, 80, 290, 213));
        // Every framed host keeps room for the frame: smaller is refused.
        QCOMPARE(m_host->minimumSize(), kFrameMinimum);
        canvas->border_MouseDown(EdgeLeft, QPoint(500, 400));
        canvas->border_MouseUp(EdgeLeft, QPoint(750, 400));
        QCOMPARE(m_host->geometry(), QRect(110, 80, 290, 213));
    }

    void fixedOrMaximisedFramesStayPut()
    {
        makeHost();
        canvas->setFixed_Single(true);
        canvas->border_MouseDown(EdgeTopLeft, QPoint(500, 400));
        canvas->border_MouseUp(EdgeTopLeft, QPoint(480, 380));
        canvas->pictop_DblClick();
        QCOMPARE(m_host->geometry(), QRect(100, 80, 300, 200));
        QCOMPARE(m_host->windowState(), Qt::WindowNoState);
        QCOMPARE(canvas->pointerOf(Part::LeftBar), Qt::ArrowCursor);

        canvas->setFixed_Single(false);
        canvas->pictop_DblClick();
        QVERIFY(m_host->windowState() & Qt::WindowMaximized);
        QCOMPARE(canvas->hostState(), StateMaximised);
        QCOMPARE(canvas->pointerOf(Part::Grip7), Qt::ArrowCursor);
        // No move and no edge resizing while maximised.
        const QRect maximised = m_host->geometry();
        canvas->pictop_MouseDown(QPoint(200, 10));
        QTest::mouseMove(canvas, QPoint(150, 60));
        canvas->border_MouseDown(EdgeRight, QPoint(500, 400));
        canvas->border_MouseUp(EdgeRight, QPoint(450, 400));
        QCOMPARE(m_host->geometry(), maximised);
        canvas->pictop_DblClick();
        QCOMPARE(canvas->hostState(), StateNormal);
        QCOMPARE(canvas->pointerOf(Part::Grip7), Qt::SizeFDiagCursor);
    }

    void captionBarDragMovesTheHost()
    {
        makeHost();
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        const QPoint start = m_host->pos();
        // One drag (the host moves under the pointer, so a second one would count twice here).
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(150, 15));
        QTest::mouseMove(canvas, QPoint(180, 35));
        QCOMPARE(m_host->pos(), start + QPoint(30, 20));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(150, 15));
        QCOMPARE(m_host->size(), QSize(300, 200));
    }

    void make_transPaintsTheCaptionCapsOnTheHost()
    {
        makeHost();
        const QColor back(10, 200, 30);
        QPalette pal = m_host->palette();
        pal.setColor(QPalette::Window, back);
        m_host->setPalette(pal);
        canvas->hide(); // the host's own surface, as it lies under the frame
        const QImage top = canvas->imgtop.toImage();
        const int w = top.width();
        // A cap pixel shows the picture where it is opaque, the cleared surface where it is open.
        const auto expected = [&](QPoint src) {
            const QRgb px = top.pixel(src);
            return qAlpha(px) == 255 ? px : back.rgb();
        };
        canvas->make_trans(m_host.get());
        QImage surface = m_host->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(surface.size(), QSize(300, 200));
        int open = 0;
        for (int y = 0; y < kCaptionHeight; ++y)
            for (int x = 0; x < 5; ++x) {
                QCOMPARE(surface.pixel(x, y), expected(QPoint(x, y)));
                QCOMPARE(surface.pixel(295 + x, y), expected(QPoint(w - 5 + x, y)));
                open += qAlpha(top.pixel(x, y)) < 255;
            }
        QVERIFY(open > 0); // the active caption picture has open corners
        for (const QPoint p : {QPoint(5, 0), QPoint(150, 10), QPoint(294, 28), QPoint(2, 29), QPoint(150, 199)})
            QCOMPARE(surface.pixel(p), back.rgb());

        // Maximised: the surface is only cleared.
        m_host->setWindowState(Qt::WindowMaximized);
        canvas->make_trans(m_host.get());
        surface = m_host->grab(QRect(0, 0, 300, 200)).toImage().convertToFormat(QImage::Format_RGB32);
        for (const QPoint p : {QPoint(0, 10), QPoint(4, 28), QPoint(297, 15), QPoint(150, 10)})
            QCOMPARE(surface.pixel(p), back.rgb());
    }

    void lookFollowsTheActiveWindow()
    {
        makeHost();
        QWidget other;
        m_host->show();
        other.show();
        QApplication::setActiveWindow(&other);
        // Focus left the frame: both polls run; the first tick shows the inactive look.
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(m_host.get(), &deactivate);
        QVERIFY(canvas->Timer1->isActive() && canvas->Timer2->isActive());
        canvas->Timer1_Timer();
        QVERIFY(!canvas->activeLook());
        QVERIFY(!canvas->Timer1->isActive());
        canvas->Timer2_Timer();
        QVERIFY(canvas->Timer2->isActive()); // still waiting for the host
        QCOMPARE(canvas->imgtop.size(), QSize(66, 29));

        QApplication::setActiveWindow(m_host.get());
        canvas->Timer2_Timer();
        QVERIFY(canvas->activeLook());
        QVERIFY(!canvas->Timer2->isActive());
        QCOMPARE(canvas->imgtop.size(), QSize(200, 29));
        QCOMPARE(canvas->imgleft.size(), QSize(5, 64));

        canvas->Timer1->start();
        canvas->Timer2->start();
        canvas->SetFocus();
        QVERIFY(!canvas->Timer1->isActive() && !canvas->Timer2->isActive());
        QVERIFY(canvas->activeLook());
    }

    void surfaceEventsGoToTheHost()
    {
        makeHost();
        QSignalSpy down(canvas, &xp_canvas::MouseDown);
        QSignalSpy up(canvas, &xp_canvas::mouseUp);
        QSignalSpy click(canvas, &xp_canvas::Click);
        QTest::mouseClick(canvas, Qt::RightButton, Qt::ShiftModifier, QPoint(120, 90));
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.first().at(0).toInt(), 2);
        QCOMPARE(down.first().at(1).toInt(), 1);
        QCOMPARE(down.first().at(2).toFloat(), 120.0f);
        QCOMPARE(up.count(), 1);
        QCOMPARE(click.count(), 1);
        // Presses on the bars are not passed on.
        QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(2, 100));
        QCOMPARE(down.count(), 1);
        QCOMPARE(click.count(), 1);
    }

    void closeBoxLooks()
    {
        QWidget parent;
        auto *box = new windowBox(&parent, QStringLiteral("box"));
        QCOMPARE(box->size(), QSize(17, 17));
        QVERIFY(box->Timer1->isActive()); // running from the start
        cursorAt(box, QPoint(40, 40));
        box->Timer1_Timer();
        QVERIFY(!box->Timer1->isActive());
        QCOMPARE(box->look(), int(LookNormal));

        cursorAt(box, QPoint(5, 5));
        box->UserControl_MouseMove(0, 0, 5, 5);
        QCOMPARE(box->look(), int(LookHover));
        QVERIFY(box->Timer1->isActive());
        box->Timer1_Timer(); // still inside
        QCOMPARE(box->look(), int(LookHover));
        box->UserControl_MouseMove(1, 0, 6, 6);
        QCOMPARE(box->look(), int(LookPressed));
        cursorAt(box, QPoint(18, 5));
        box->Timer1_Timer();
        QCOMPARE(box->look(), int(LookNormal));
        QVERIFY(!box->Timer1->isActive());

        // A release raises Click with its own arguments, the picture unchanged.
        QSignalSpy click(box, &windowBox::Click);
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(4, 5));
        QCOMPARE(box->look(), int(LookPressed));
        QTest::mouseRelease(box, Qt::RightButton, Qt::ControlModifier, QPoint(7, 8));
        QCOMPARE(click.count(), 1);
        QCOMPARE(click.first(), (QVariantList{2, 2, 7.0f, 8.0f}));
        QCOMPARE(box->look(), int(LookPressed));
    }

    void pictureButtonLooks()
    {
        QWidget parent;
        auto *btn = new cmdBtn(&parent, QStringLiteral("cmd_x"));
        QCOMPARE(btn->caption(), QStringLiteral("cmd_x"));
        QVERIFY(!btn->Timer1->isActive());
        for (const QSize size : {QSize(67, 24), QSize(200, 61), QSize(15, 12)}) {
            btn->resize(size);
            btn->setCaption(QStringLiteral("关闭"));
            const QRect r = btn->lbl->geometry();
            QVERIFY2(qAbs(r.center().x() - QRect(QPoint(), size).center().x()) <= 1, qPrintable(QString::number(size.width())));
            QVERIFY(qAbs(r.center().y() - QRect(QPoint(), size).center().y()) <= 1);
        }
        btn->resize(67, 24);
        const auto captionColour = [btn] { return btn->lbl->palette().color(QPalette::WindowText); };

        cursorAt(btn, QPoint(10, 10));
        btn->pic_MouseMove(0, 0, 10, 10);
        QCOMPARE(btn->look(), int(LookHover));
        QVERIFY(btn->hover);
        QVERIFY(btn->Timer1->isActive());
        btn->pic_MouseDown();
        QCOMPARE(btn->look(), int(LookPressed));
        QCOMPARE(captionColour(), QColor(130, 130, 130));
        btn->pic_MouseUp();
        QCOMPARE(btn->look(), int(LookHover));
        QCOMPARE(captionColour(), QColor(Qt::black));
        cursorAt(btn, QPoint(68, 10));
        btn->Timer1_Timer();
        QCOMPARE(btn->look(), int(LookNormal));
        QVERIFY(!btn->hover);
        QVERIFY(!btn->Timer1->isActive());

        QSignalSpy click(btn, &cmdBtn::Click);
        QTest::mouseClick(btn, Qt::LeftButton, {}, QPoint(30, 12));
        QCOMPARE(click.count(), 1);
        // Released away from the button: no click, and the next tick restores the normal look.
        QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(30, 12));
        btn->Timer1->stop();
        QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(90, 12));
        QCOMPARE(click.count(), 1);
        QVERIFY(btn->Timer1->isActive());
        cursorAt(btn, QPoint(90, 12));
        btn->Timer1_Timer();
        QCOMPARE(btn->look(), int(LookNormal));
    }

    void aboutBoxTextsAndLayout()
    {
        QWidget main;
        main.resize(800, 600);
        forms().setHost(&main, nullptr);
        aboutFrm *a = forms().get<aboutFrm>();
        a->show();
        QVERIFY(a->isWindow());
        QVERIFY(a->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(a->canvas->caption(), QStringLiteral("关于Quorvik"));
        QCOMPARE(a->windowTitle(), QStringLiteral("关于Quorvik"));
        QCOMPARE(a->cmd_cancel->caption(), QStringLiteral("关闭"));
        QCOMPARE(about::messageText().split(QStringLiteral("\r\n")).mid(0, 4),
                 (QStringList{"欢迎使用Quorvik自动建站软件", "", "版本号：Ver3.05", ""}));
        QCOMPARE(about::messageText().split(QStringLiteral("\r\n")).size(), 7);
        QCOMPARE(a->lbl_msg->text().split(QLatin1Char('\n')).at(2), QStringLiteral("版本号：Ver") + kVersionText);
        QCOMPARE(a->lbl_msg->palette().color(QPalette::Window), QColor(217, 237, 245));

        for (const QSize size : {QSize(424, 260), QSize(600, 400)}) {
            a->resize(size);
            QCOMPARE(a->canvas->geometry(), QRect(QPoint(), size));
            QCOMPARE(size.width() - a->winCloseBtn->x(), twips::toPx(400));
            QCOMPARE(a->winCloseBtn->y(), twips::toPx(70));
            QCOMPARE(size.width() - a->cmd_cancel->geometry().right() - 1, twips::toPx(400));
            QCOMPARE(size.height() - a->cmd_cancel->geometry().bottom() - 1, twips::toPx(300));
            QCOMPARE(a->lbl_msg->x(), twips::toPx(600) + 100 + twips::toPx(200));
        }
        forms().setHost(nullptr, nullptr);
    }

    void aboutBoxKeepsItsSizeWhenReleasedFarAboveItsBottom()
    {
        aboutFrm *a = forms().get<aboutFrm>();
        a->show();
        QVERIFY(QTest::qWaitForWindowExposed(a));
        const QRect before = a->geometry();
        QCOMPARE(before.size(), QSize(twips::toPx(6360), twips::toPx(3900)));
        QCOMPARE(a->minimumSize(), before.size());
        // Pressed on the bottom bar, released 260 pixels higher, then on grip 7 and released
        // past the opposite corner: refused, the box stays whole and on screen.
        QTest::mousePress(a->canvas, Qt::LeftButton, {}, QPoint(200, before.height() - 2));
        QTest::mouseRelease(a->canvas, Qt::LeftButton, {}, QPoint(200, before.height() - 262));
        QCOMPARE(a->geometry(), before);
        QTest::mousePress(a->canvas, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseRelease(a->canvas, Qt::LeftButton, {}, QPoint(before.width() - 1, 1));
        QCOMPARE(a->geometry(), before);
        QVERIFY(a->isVisible());
        // Made larger it grows, and back down to its design size it goes.
        QTest::mousePress(a->canvas, Qt::LeftButton, {}, QPoint(200, before.height() - 2));
        QTest::mouseRelease(a->canvas, Qt::LeftButton, {}, QPoint(200, before.height() + 28));
        QCOMPARE(a->height(), before.height() + 30);
        QTest::mousePress(a->canvas, Qt::LeftButton, {}, QPoint(200, a->height() - 2));
        QTest::mouseRelease(a->canvas, Qt::LeftButton, {}, QPoint(200, a->height() - 32));
        QCOMPARE(a->geometry(), before);
    }

    void eitherCloserUnloadsTheAboutBox_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("close box") << true;
        QTest::newRow("button") << false;
    }
    void eitherCloserUnloadsTheAboutBox()
    {
        QFETCH(bool, closeBox);
        aboutFrm *a = forms().get<aboutFrm>();
        a->show();
        QTest::mouseClick(closeBox ? static_cast<QWidget *>(a->winCloseBtn) : a->cmd_cancel, Qt::LeftButton, {},
                          QPoint(5, 5));
        QVERIFY(!forms().isLoaded<aboutFrm>());
        testenv::settle();
        // Shown again, it is made afresh.
        QVERIFY(forms().get<aboutFrm>() != nullptr);
    }
};

QUORVIK_TEST_MAIN(TestSkinControls)
#include "test_skincontrols.moc"
