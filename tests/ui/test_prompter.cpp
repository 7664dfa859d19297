// The real seam: file filters in Qt's form, and the message box's buttons, icons and codes.
#include "ui/prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestPrompter : public QObject {
    Q_OBJECT
private slots:
    void qtFileFilter_data();
    void qtFileFilter();
    void dialogTakesThePatterns();
    void msgBox_data();
    void msgBox();
    void yesNoIgnoresEscape();
    void aLongTextScrollsInsideTheBox();
};

void TestPrompter::qtFileFilter_data()
{
    QTest::addColumn<QString>("classic");
    QTest::addColumn<QString>("qt");
    QTest::newRow("pictures")
        << QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif")
        << QStringLiteral("图像文件(*.jpg;*.bmp;*.gif) (*.jpg *.bmp *.gif)");
    QTest::newRow("description with commas kept")
        << QStringLiteral("图像文件(*.jpg,*.bmp,*.gif)|*.jpg;*.bmp;*.gif")
        << QStringLiteral("图像文件(*.jpg,*.bmp,*.gif) (*.jpg *.bmp *.gif)");
    QTest::newRow("several pairs")
        << QStringLiteral("网页文件(*.htm)|*.htm;*.html|Flash文件(*.swf)|*.swf|所有文件|*.*")
        << QStringLiteral("网页文件(*.htm) (*.htm *.html);;Flash文件(*.swf) (*.swf);;所有文件 (*.*)");
    QTest::newRow("one pattern") << QStringLiteral("logo|*.gif") << QStringLiteral("logo (*.gif)");
    QTest::newRow("blanks and empty patterns")
        << QStringLiteral("a|*.jpg; *.png;;") << QStringLiteral("a (*.jpg *.png)");
    QTest::newRow("trailing bar") << QStringLiteral("a|*.x|") << QStringLiteral("a (*.x)");
    QTest::newRow("empty") << QString() << QString();
}

void TestPrompter::qtFileFilter()
{
    QFETCH(QString, classic);
    QFETCH(QString, qt);
    QCOMPARE(ui::qtFileFilter(classic), qt);
}

void TestPrompter::dialogTakesThePatterns()
{
    // Qt reads the patterns from the last parenthesis: the description's own parenthesis
    // with ";" must not be taken for them. Matching ignores case ("A.JPG" is offered).
    QFileDialog dlg;
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setNameFilter(ui::qtFileFilter(QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif|网页|*.htm")));
    QCOMPARE(dlg.nameFilters().size(), 2);
    auto *model = dlg.findChild<QFileSystemModel *>();
    QVERIFY(model);
    QCOMPARE(model->nameFilters(), (QStringList{QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.gif")}));
    QVERIFY(!model->filter().testFlag(QDir::CaseSensitive));
    dlg.selectNameFilter(dlg.nameFilters().at(1));
    QCOMPARE(model->nameFilters(), QStringList{QStringLiteral("*.htm")});
}

void TestPrompter::msgBox_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("press"); // a button's text, "Escape" or "Return"
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("code");

    const QStringList ok{QStringLiteral("确定")};
    const QStringList okCancel{QStringLiteral("确定"), QStringLiteral("取消")};
    const QStringList yesNo{QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")};
    QTest::newRow("information OK") << 64 << QStringLiteral("确定") << ok << int(QMessageBox::Information) << 1;
    QTest::newRow("critical OK by Escape") << 16 << QStringLiteral("Escape") << ok << int(QMessageBox::Critical) << 1;
    QTest::newRow("exclamation OK") << 48 << QStringLiteral("Return") << ok << int(QMessageBox::Warning) << 1;
    QTest::newRow("no icon") << 0 << QStringLiteral("确定") << ok << int(QMessageBox::NoIcon) << 1;
    QTest::newRow("OK of OK+Cancel") << 33 << QStringLiteral("确定") << okCancel << int(QMessageBox::Question) << 1;
    QTest::newRow("Cancel") << 33 << QStringLiteral("取消") << okCancel << int(QMessageBox::Question) << 2;
    QTest::newRow("Escape is Cancel") << 1 << QStringLiteral("Escape") << okCancel << int(QMessageBox::NoIcon) << 2;
    QTest::newRow("default is OK") << 1 << QStringLiteral("Return") << okCancel << int(QMessageBox::NoIcon) << 1;
    QTest::newRow("Yes") << 68 << QStringLiteral("是(&Y)") << yesNo << int(QMessageBox::Information) << 6;
    QTest::newRow("No") << 68 << QStringLiteral("否(&N)") << yesNo << int(QMessageBox::Information) << 7;
    QTest::newRow("default is Yes") << 36 << QStringLiteral("Return") << yesNo << int(QMessageBox::Question) << 6;
}

void TestPrompter::msgBox()
{
    QFETCH(int, style);
    QFETCH(QString, press);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(int, code);

    QStringList seenButtons;
    QString seenText;
    int seenIcon = -1;
    Qt::TextFormat seenFormat = Qt::AutoText;
    QString seenTitle;
    bool found = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return; // the test fails below; the box would block, so close everything
        found = true;
        for (QAbstractButton *b : box->buttons())
            seenButtons << b->text();
        seenText = box->text();
        seenIcon = int(box->icon());
        seenFormat = box->textFormat();
        seenTitle = box->windowTitle();
        if (press == QLatin1String("Escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (press == QLatin1String("Return"))
            QTest::keyClick(box, Qt::Key_Return);
        else
            for (QAbstractButton *b : box->buttons())
                if (b->text() == press)
                    b->click();
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    guard.start(5000);

    ui::RealPrompter real;
    const int answer = real.msgBox(nullptr, QStringLiteral("<b>第一行</b>\r\n第二行"), style, QStringLiteral("提示"));
    QVERIFY(found);
    // The text is plain, CR LF shown as a line break.
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(seenText, QStringLiteral("<b>第一行</b>\n第二行"));
    QCOMPARE(seenFormat, Qt::PlainText);
    QCOMPARE(seenTitle, QStringLiteral("提示"));
    QCOMPARE(seenIcon, icon);
    QCOMPARE(answer, code);
}

void TestPrompter::yesNoIgnoresEscape()
{
    // A Yes/No question has no Escape answer: the box stays until a button is chosen.
    bool stillOpen = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        QTimer::singleShot(0, this, [&] {
            auto *again = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            stillOpen = again != nullptr;
            if (again)
                again->buttons().constFirst()->click();
        });
    });
    QTimer::singleShot(5000, this, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->hide();
    });
    ui::RealPrompter real;
    const int answer = real.msgBox(nullptr, QStringLiteral("确实要还原数据吗？"), 68, QStringLiteral("提示"));
    QVERIFY(stillOpen);
    QVERIFY(answer == ui::vbYes || answer == ui::vbNo);
}

void TestPrompter::aLongTextScrollsInsideTheBox()
{
    // A system message of 9,000 characters: the box stays on the screen, the text
    // scrolls inside it, and OK closes it.
    QString text;
    for (int i = 0; text.size() < 9000; ++i)
        text += QStringLiteral("第%1行：系统消息的内容，<b>很长</b>很长。\r\n").arg(i);
    QString seenText, shownText, seenTitle;
    int seenIcon = -1;
    bool fits = false, okReachable = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenIcon = int(box->icon());
        if (auto *view = box->findChild<QPlainTextEdit *>())
            shownText = view->isVisible() ? view->toPlainText() : QString();
        fits = box->screen()->availableGeometry().height() >= box->frameGeometry().height();
        const QList<QAbstractButton *> buttons = box->buttons();
        if (buttons.size() == 1) {
            QAbstractButton *ok = buttons.first();
            okReachable = ok->isVisible() && box->rect().contains(QRect(ok->mapTo(box, QPoint(0, 0)), ok->size()));
            ok->click();
        }
    });
    QTimer::singleShot(5000, this, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    ui::RealPrompter real;
    const int answer = real.msgBox(nullptr, text, 64, QStringLiteral("系统信息"));
    const QString plain = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(seenText, plain);
    QCOMPARE(shownText, plain);
    QCOMPARE(seenTitle, QStringLiteral("系统信息"));
    QCOMPARE(seenIcon, int(QMessageBox::Information));
    QVERIFY(fits);
    QVERIFY(okReachable);
    QCOMPARE(answer, 1);
}

QTEST_MAIN(TestPrompter)
#include "test_prompter.moc"
