// The numeric check of a text box, the colour choice and the folder choice, through the
// scripted seam.
#include "fakeprompter.h"
#include "ui/inputhelpers.h"

#include <QLineEdit>
#include <QTest>

class TestInputHelpers : public QObject {
    Q_OBJECT
private slots:
    void checkNumeric_data();
    void checkNumeric();
    void checkNumericTakesFocus();
    void pickColorHex_data();
    void pickColorHex();
    void pickColorCancelled();
    void pickColorInvalid();
    void browseForFolder_data();
    void browseForFolder();
};

void TestInputHelpers::checkNumeric_data()
{
    QTest::addColumn<QString>("before");  // the box's text before the change
    QTest::addColumn<QString>("entered"); // typed key by key, or pasted at once
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("messages");

    QTest::newRow("typed letter after digits") << "12" << "a" << true << "12" << 1;
    QTest::newRow("typed digits") << "" << "3.5" << true << "3.5" << 0;
    QTest::newRow("typed minus then digit") << "" << "-3" << true << "3" << 1; // "-" alone is not numeric
    QTest::newRow("typed exponent") << "1" << "e5" << true << "15" << 1;      // "1e" is not numeric
    QTest::newRow("pasted letters into empty box") << "" << "abc" << false << "" << 1;
    QTest::newRow("pasted letters after digits") << "12" << "abc" << false << "12" << 1;
    QTest::newRow("pasted number with tail") << "" << "1.5x7" << false << "1.5" << 1;
    QTest::newRow("pasted thousands separator") << "" << "1,000" << false << "1" << 1;
    QTest::newRow("pasted number") << "" << " 12 " << false << " 12 " << 0;
    QTest::newRow("pasted chinese") << "" << QStringLiteral("十二") << false << "" << 1;
}

void TestInputHelpers::checkNumeric()
{
    QFETCH(QString, before);
    QFETCH(QString, entered);
    QFETCH(bool, typed);
    QFETCH(QString, after);
    QFETCH(int, messages);

    FakePrompter fake;
    QLineEdit box;
    box.setText(before);
    int changes = 0;
    connect(&box, &QLineEdit::textChanged, &box, [&] {
        ++changes;
        mdl_func::checkNumeric(&box);
    });
    box.setCursorPosition(int(before.size()));
    if (typed) {
        for (const QChar c : entered)
            box.insert(QString(c));
    } else {
        box.insert(entered);
    }
    QCOMPARE(box.text(), after);
    QCOMPARE(fake.messageCount(), messages);
    for (const PromptCall &c : fake.calls) {
        QCOMPARE(c.kind, QStringLiteral("msg"));
        QCOMPARE(c.text, QStringLiteral("请输入数字！"));
        QCOMPARE(c.style, 64);
        QCOMPARE(c.title, QStringLiteral("提示"));
    }
    // The trimming itself runs with signals blocked: no handler call per removed character.
    QCOMPARE(changes, typed ? int(entered.size()) : 1);
}

void TestInputHelpers::checkNumericTakesFocus()
{
    FakePrompter fake;
    QWidget window;
    QLineEdit other(&window);
    QLineEdit box(&window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other.setFocus();
    QTRY_VERIFY(other.hasFocus());
    box.setText(QStringLiteral("7x"));
    mdl_func::checkNumeric(&box);
    QTRY_VERIFY(box.hasFocus());
    QCOMPARE(box.text(), QStringLiteral("7"));

    // Numeric or empty: nothing at all.
    other.setFocus();
    QTRY_VERIFY(other.hasFocus());
    for (const QString &t : {QString(), QStringLiteral("3.5"), QStringLiteral("-0.5e3")}) {
        box.setText(t);
        mdl_func::checkNumeric(&box);
        QCOMPARE(box.text(), t);
    }
    QVERIFY(other.hasFocus());
    QCOMPARE(fake.messageCount(), 1);
}

void TestInputHelpers::pickColorHex_data()
{
    QTest::addColumn<QColor>("chosen");
    QTest::addColumn<QString>("hex");
    QTest::newRow("red") << QColor(255, 0, 0) << "#FF0000";
    QTest::newRow("dark blue") << QColor(0, 0, 128) << "#000080";
    QTest::newRow("leading zeros") << QColor(1, 2, 3) << "#010203";
    QTest::newRow("letters upper case") << QColor(171, 205, 239) << "#ABCDEF";
    QTest::newRow("black") << QColor(0, 0, 0) << "#000000";
    QTest::newRow("white") << QColor(255, 255, 255) << "#FFFFFF";
    QTest::newRow("alpha ignored") << QColor(16, 32, 48, 10) << "#102030";
}

void TestInputHelpers::pickColorHex()
{
    QFETCH(QColor, chosen);
    QFETCH(QString, hex);
    FakePrompter fake;
    fake.answerColor(chosen);
    QCOMPARE(mdl_func::pickColorHex(), std::optional<QString>(hex));
    QCOMPARE(fake.messageCount(), 0);
    QCOMPARE(fake.calls.size(), 1);
    QCOMPARE(fake.calls.first().kind, QStringLiteral("color"));
}

void TestInputHelpers::pickColorCancelled()
{
    FakePrompter fake;
    fake.answerColor(std::nullopt);
    QCOMPARE(mdl_func::pickColorHex(), std::optional<QString>());
    QCOMPARE(fake.messageCount(), 0);
}

void TestInputHelpers::pickColorInvalid()
{
    // A real failure of the chooser: a critical "无效的颜色" box, and black.
    FakePrompter fake;
    fake.answerColor(QColor());
    QCOMPARE(mdl_func::pickColorHex(), std::optional<QString>(QStringLiteral("#000000")));
    QCOMPARE(fake.messageCount(), 1);
    QCOMPARE(fake.lastMessage().text, QStringLiteral("无效的颜色"));
    QCOMPARE(fake.lastMessage().style, 16);
    QCOMPARE(fake.lastMessage().title, QStringLiteral("提示"));
}

void TestInputHelpers::browseForFolder_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("result");
    QTest::newRow("cancel") << "" << "";
    QTest::newRow("no trailing slash") << "/srv/pages" << "/srv/pages";
    QTest::newRow("trailing slash removed") << "/srv/pages/" << "/srv/pages";
    QTest::newRow("several trailing slashes") << "/srv/pages//" << "/srv/pages";
    QTest::newRow("root kept") << "/" << "/";
    QTest::newRow("blank and chinese") << QStringLiteral("/srv/my 网页/") << QStringLiteral("/srv/my 网页");
}

void TestInputHelpers::browseForFolder()
{
    QFETCH(QString, answer);
    QFETCH(QString, result);
    FakePrompter fake;
    fake.answerFolder(answer);
    QWidget owner;
    owner.setObjectName(QStringLiteral("sltTmplFrm"));
    QCOMPARE(mdl_mdifrm::browseForFolder(&owner, QStringLiteral("选择文件夹"), QStringLiteral("/srv/start")), result);
    QCOMPARE(fake.calls.size(), 1);
    const PromptCall c = fake.calls.first();
    QCOMPARE(c.kind, QStringLiteral("folder"));
    QCOMPARE(c.title, QStringLiteral("选择文件夹"));
    QCOMPARE(c.text, QStringLiteral("/srv/start"));
    QCOMPARE(c.owner, QStringLiteral("sltTmplFrm"));
}

QTEST_MAIN(TestInputHelpers)
#include "test_inputhelpers.moc"
