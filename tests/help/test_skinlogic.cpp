// Geometry and hit logic of the skinned controls.
#include "help/skinlogic.h"

#include <QTest>

using namespace skin;

class TestSkinLogic : public QObject {
    Q_OBJECT

private slots:
    void resizeParent_data()
    {
        QTest::addColumn<int>("edge");
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<QSize>("minimum");
        // Host at (100, 50), 300 x 200, no minimum of its own unless given.
        QTest::newRow("left bar, 10 right") << int(EdgeLeft) << QPoint(10, 0) << QRect(110, 50, 290, 200) << QSize();
        QTest::newRow("right bar") << int(EdgeRight) << QPoint(7, 3) << QRect(100, 50, 307, 200) << QSize();
        QTest::newRow("top grip") << int(EdgeTop) << QPoint(7, -4) << QRect(100, 46, 300, 204) << QSize();
        QTest::newRow("bottom bar") << int(EdgeBottom) << QPoint(7, 6) << QRect(100, 50, 300, 206) << QSize();
        QTest::newRow("grip 4") << int(EdgeBottomRight) << QPoint(-5, 6) << QRect(100, 50, 295, 206) << QSize();
        QTest::newRow("grip 5") << int(EdgeBottomLeft) << QPoint(-5, 6) << QRect(95, 50, 305, 206) << QSize();
        QTest::newRow("grip 6") << int(EdgeTopRight) << QPoint(5, 6) << QRect(100, 56, 305, 194) << QSize();
        QTest::newRow("grip 7, 4 left 3 up") << int(EdgeTopLeft) << QPoint(-4, -3) << QRect(96, 47, 304, 203) << QSize();
        QTest::newRow("same point") << int(EdgeTopLeft) << QPoint(0, 0) << QRect(100, 50, 300, 200) << QSize();
        QTest::newRow("unknown code") << 8 << QPoint(10, 10) << QRect(100, 50, 300, 200) << QSize();
        QTest::newRow("negative width refused") << int(EdgeLeft) << QPoint(301, 0) << QRect(100, 50, 300, 200) << QSize();
        QTest::newRow("zero width refused") << int(EdgeLeft) << QPoint(300, 0) << QRect(100, 50, 300, 200) << QSize();
        QTest::newRow("zero height refused") << int(EdgeBottom) << QPoint(0, -200) << QRect(100, 50, 300, 200) << QSize();
        QTest::newRow("negative height refused") << int(EdgeBottom) << QPoint(0, -201) << QRect(100, 50, 300, 200) << QSize();
        QTest::newRow("one pixel kept") << int(EdgeTop) << QPoint(0, 199) << QRect(100, 249, 300, 1) << QSize();
        // Released far above its bottom: a host with a minimum stays as it was.
        QTest::newRow("below the minimum height") << int(EdgeBottom) << QPoint(0, -60) << QRect(100, 50, 300, 200)
                                                  << QSize(280, 150);
        QTest::newRow("below the minimum width") << int(EdgeTopLeft) << QPoint(21, -5) << QRect(100, 50, 300, 200)
                                                 << QSize(280, 150);
        QTest::newRow("at the minimum") << int(EdgeBottomLeft) << QPoint(20, -50) << QRect(120, 50, 280, 150)
                                        << QSize(280, 150);
    }
    void resizeParent()
    {
        QFETCH(int, edge);
        QFETCH(QPoint, move);
        QFETCH(QRect, expected);
        QFETCH(QSize, minimum);
        const QPoint start(640, 480);
        QCOMPARE(skin::resizeParent(QRect(100, 50, 300, 200), start, start + move, edge, minimum), expected);
    }

    void partsAndPointers_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("normalPointer");
        // Frame 400 x 300, caption text 80 x 17.
        QTest::newRow("grip 7") << QPoint(1, 1) << int(Part::Grip7) << int(Qt::SizeFDiagCursor);
        QTest::newRow("grip 2") << QPoint(200, 1) << int(Part::Grip2) << int(Qt::SizeVerCursor);
        QTest::newRow("grip 6") << QPoint(395, 3) << int(Part::Grip6) << int(Qt::SizeBDiagCursor);
        QTest::newRow("grip 5") << QPoint(2, 297) << int(Part::Grip5) << int(Qt::SizeBDiagCursor);
        QTest::newRow("grip 4") << QPoint(398, 298) << int(Part::Grip4) << int(Qt::SizeFDiagCursor);
        QTest::newRow("icon") << QPoint(15, 15) << int(Part::Icon) << int(Qt::ArrowCursor);
        QTest::newRow("caption") << QPoint(30, 10) << int(Part::Caption) << int(Qt::ArrowCursor);
        QTest::newRow("shadow edge") << QPoint(107, 22) << int(Part::Shadow) << int(Qt::ArrowCursor);
        QTest::newRow("caption bar") << QPoint(250, 15) << int(Part::CaptionBar) << int(Qt::ArrowCursor);
        QTest::newRow("left bar") << QPoint(2, 100) << int(Part::LeftBar) << int(Qt::SizeHorCursor);
        QTest::newRow("right bar") << QPoint(397, 100) << int(Part::RightBar) << int(Qt::SizeHorCursor);
        QTest::newRow("bottom bar") << QPoint(200, 297) << int(Part::BottomBar) << int(Qt::SizeVerCursor);
        QTest::newRow("surface") << QPoint(200, 150) << int(Part::Surface) << int(Qt::ArrowCursor);
    }
    void partsAndPointers()
    {
        QFETCH(QPoint, point);
        QFETCH(int, part);
        QFETCH(int, normalPointer);
        const FrameGeometry g = frameGeometry(QSize(400, 300), QSize(80, 17));
        const Part found = partAt(g, point);
        QCOMPARE(int(found), part);
        QCOMPARE(int(cursorFor(found, false, StateNormal)), normalPointer);
        // Fixed or maximised frames show the default pointer everywhere.
        QCOMPARE(cursorFor(found, true, StateNormal), Qt::ArrowCursor);
        QCOMPARE(cursorFor(found, false, StateMaximised), Qt::ArrowCursor);
    }

    void captionBarInThreeSlices()
    {
        // Caps unscaled in width, the middle stretched; the picture's own size decides.
        const Slices s = threeSlices(QSize(66, 29), QRect(0, 0, 400, 29));
        QCOMPARE(s.size(), 3);
        QCOMPARE(s[0], qMakePair(QRect(0, 0, 5, 29), QRect(0, 0, 5, 29)));
        QCOMPARE(s[1], qMakePair(QRect(5, 0, 56, 29), QRect(5, 0, 390, 29)));
        QCOMPARE(s[2], qMakePair(QRect(61, 0, 5, 29), QRect(395, 0, 5, 29)));
    }

    void buttonFaceInNinePieces_data()
    {
        QTest::addColumn<QSize>("target");
        QTest::addColumn<int>("border");
        QTest::newRow("67 x 24") << QSize(67, 24) << 10;
        QTest::newRow("wide") << QSize(300, 60) << 10;
        QTest::newRow("narrow: border shrinks") << QSize(12, 30) << 6;
        QTest::newRow("tiny") << QSize(3, 3) << 1;
    }
    void buttonFaceInNinePieces()
    {
        QFETCH(QSize, target);
        QFETCH(int, border);
        const QSize cell(55, 22);
        const Slices s = nineSlices(cell, QRect(QPoint(0, 0), target));
        // The pieces tile the target exactly and come from inside the cell.
        QRegion covered;
        int area = 0;
        for (const auto &[src, dst] : s) {
            QVERIFY(QRect(QPoint(0, 0), cell).contains(src));
            covered += dst;
            area += dst.width() * dst.height();
        }
        QCOMPARE(covered, QRegion(QRect(QPoint(0, 0), target)));
        QCOMPARE(area, target.width() * target.height());
        // Corners unscaled.
        QCOMPARE(s.first(), qMakePair(QRect(0, 0, border, border), QRect(0, 0, border, border)));
        QCOMPARE(s.last(), qMakePair(QRect(cell.width() - border, cell.height() - border, border, border),
                                     QRect(target.width() - border, target.height() - border, border, border)));
    }

    void cellsAndPolling()
    {
        QCOMPARE(cellRect(QSize(102, 17), 6, 2), QRect(34, 0, 17, 17));
        QCOMPARE(cellRect(QSize(275, 22), 5, 1), QRect(55, 0, 55, 22));
        const QRect r(0, 0, 17, 17);
        // The poll counts the right and bottom lines as inside; a mouse position does not.
        QVERIFY(!outside(QPoint(17, 17), r));
        QVERIFY(outside(QPoint(18, 5), r));
        QVERIFY(outside(QPoint(5, -1), r));
        QVERIFY(!onControl(QPointF(17, 5), QSize(17, 17)));
        QVERIFY(onControl(QPointF(0, 16.5), QSize(17, 17)));
    }

    void classicCodes()
    {
        QCOMPARE(buttonCode(Qt::LeftButton), 1);
        QCOMPARE(buttonCode(Qt::RightButton | Qt::MiddleButton), 6);
        QCOMPARE(shiftCode(Qt::ShiftModifier | Qt::AltModifier), 5);
        QCOMPARE(hostState(Qt::WindowMaximized | Qt::WindowMinimized), StateMinimised);
        QCOMPARE(hostState(Qt::WindowNoState), StateNormal);
    }
};

QTEST_GUILESS_MAIN(TestSkinLogic)
#include "test_skinlogic.moc"
