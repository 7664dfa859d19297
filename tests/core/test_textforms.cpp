// The stored text form, the stored HTML form of the editor, and the small text checks.
#include "core/textforms.h"

#include <QTest>

using namespace textforms;

class TestTextForms : public QObject {
    Q_OBJECT
private slots:
    void encodeDecode_data();
    void encodeDecode();
    void decodeOnly_data();
    void decodeOnly();
    void editorHtml_data();
    void editorHtml();
    void editorHtmlRoundTrip_data();
    void editorHtmlRoundTrip();
    void trimBlanks();
    void isEng_data();
    void isEng();
    void isNumeric_data();
    void isNumeric();
    void widgetLines_data();
    void widgetLines();
};

void TestTextForms::encodeDecode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("back"); // decode(stored)

    QTest::newRow("every escaped character")
        << "a'b c\"d\r\ne" << "a&#39;b&nbsp;c&#34;d<br>e" << "a'b c\"d\r\ne";
    QTest::newRow("typed entity comes back as a space")
        << "x&nbsp;y <b>&amp;" << "x&nbsp;y&nbsp;<b>&amp;" << "x y <b>&amp;";
    QTest::newRow("typed html gets nbsp inside the tag")
        << "<img src=a.jpg>" << "<img&nbsp;src=a.jpg>" << "<img src=a.jpg>";
    QTest::newRow("lone LF untouched") << "a\nb" << "a\nb" << "a\nb";
    QTest::newRow("lone CR untouched") << "a\rb" << "a\rb" << "a\rb";
    QTest::newRow("CR CR LF") << "a\r\r\nb" << "a\r<br>b" << "a\r\r\nb";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("chinese and ampersand")
        << QStringLiteral("我的 网站 & <公司>") << QStringLiteral("我的&nbsp;网站&nbsp;&&nbsp;<公司>")
        << QStringLiteral("我的 网站 & <公司>");
    QTest::newRow("several lines") << "1\r\n\r\n2 '3'" << "1<br><br>2&nbsp;&#39;3&#39;" << "1\r\n\r\n2 '3'";
}

void TestTextForms::encodeDecode()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QString, back);
    QCOMPARE(encode(text), stored);
    QCOMPARE(decode(stored), back);
}

void TestTextForms::decodeOnly_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("upper-case BR stays") << "<BR>" << "<BR>";
    QTest::newRow("apostrophe and quote") << "&#39;&#34;" << "'\"";
    QTest::newRow("upper-case NBSP stays") << "&NBSP;" << "&NBSP;";
    QTest::newRow("br with blank stays") << "<br />" << "<br />";
    QTest::newRow("other entities stay") << "&amp;&lt;&#40;" << "&amp;&lt;&#40;";
}

void TestTextForms::decodeOnly()
{
    QFETCH(QString, stored);
    QFETCH(QString, text);
    QCOMPARE(decode(stored), text);
}

void TestTextForms::editorHtml_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("stored");

    const QString q = QStringLiteral("/srv/q/userImages/");
    QTest::newRow("whole document")
        << q
        << R"(<html><head><title>t</title></head><body bgcolor="#ffffff"><p>It's <img src="file:///srv/q/userImages/a.jpg"> /srv/q/userImages/b.gif</p></body></html>)"
        << R"(<p>It[&#39;]s <img src="[imgpath]/a.jpg"> [imgpath]/b.gif</p>)";
    QTest::newRow("last closing body in any case") << q << "<BODY>x</BODY>y</body>z" << "x</BODY>y";
    QTest::newRow("mixed-case body tags") << q << "<hTmL><BoDy Class=a>in</bOdY></hTmL>" << "in";
    QTest::newRow("no body tags") << q << "a 'b' /srv/q/userImages/x.gif"
                                  << "a [&#39;]b[&#39;] [imgpath]/x.gif";
    QTest::newRow("body without >") << q << "abc<body" << "abc<body";
    QTest::newRow("closing body only") << q << "abc</body>z" << "abc";
    QTest::newRow("> of the body tag is the first after it")
        << q << "<body onload=\"a()\">x>y</body>" << "x>y";
    // Lower-casing U+0130 yields two code units: positions taken from a lower-cased copy
    // would cut the document in the wrong place.
    QTest::newRow("dotted I before body")
        << q << QStringLiteral("<title>İİİİİİİİ</title><body>abc</body>") << "abc";
    QTest::newRow("dotted I inside body")
        << q << QStringLiteral("<body>İİ</body>İİ") << QStringLiteral("İİ");
    QTest::newRow("dotted I before closing body only")
        << q << QStringLiteral("İİİİabcdef</body>") << QStringLiteral("İİİİabcdef");
    QTest::newRow("folder with blanks, encoded url")
        << "/srv/my site/userImages/" << R"(<img src="file:///srv/my%20site/userImages/a.jpg">)"
        << R"(<img src="[imgpath]/a.jpg">)";
    QTest::newRow("folder with blanks, plain url and path")
        << "/srv/my site/userImages/"
        << R"(<img src="file:///srv/my site/userImages/a.jpg"> /srv/my site/userImages/b.gif)"
        << R"(<img src="[imgpath]/a.jpg"> [imgpath]/b.gif)";
    QTest::newRow("chinese folder, encoded url")
        << QStringLiteral("/srv/网站/userImages/")
        << R"(<img src="file:///srv/%E7%BD%91%E7%AB%99/userImages/a.jpg">)" << R"(<img src="[imgpath]/a.jpg">)";
    QTest::newRow("other folder untouched")
        << q << R"(<img src="file:///srv/other/a.jpg">)" << R"(<img src="file:///srv/other/a.jpg">)";
    QTest::newRow("folder name is case-sensitive")
        << q << "/srv/q/USERIMAGES/a.jpg" << "/srv/q/USERIMAGES/a.jpg";
    QTest::newRow("folder with an apostrophe")
        << "/home/o'neil/userImages/" << R"(<p>It's<img src="file:///home/o'neil/userImages/a.jpg"></p>)"
        << R"(<p>It[&#39;]s<img src="[imgpath]/a.jpg"></p>)";
    // The forms the engine writes a folder with "&" in: escaped in an attribute, in the
    // pictures the dialogs used to write as a path, and as QUrl leaves it.
    const QString amp = QStringLiteral("/t/a&b/userImages/");
    QTest::newRow("ampersand folder, escaped path")
        << amp << R"(<img src="/t/a&amp;b/userImages/photo.png">)" << R"(<img src="[imgpath]/photo.png">)";
    QTest::newRow("ampersand folder, escaped url")
        << amp << R"(<img src="file:///t/a&amp;b/userImages/photo.png">)" << R"(<img src="[imgpath]/photo.png">)";
    QTest::newRow("ampersand folder, text")
        << amp << R"(<p>file:///t/a&amp;b/userImages/x.gif</p>)" << R"(<p>[imgpath]/x.gif</p>)";
    QTest::newRow("hash and percent folder, encoded url")
        << "/t/#1 100%/" << R"(<img src="file:///t/%231%20100%25/a%23b.png">)" << R"(<img src="[imgpath]/a#b.png">)";
    QTest::newRow("name with a quote and markup characters")
        << q << R"(<img src="file:///srv/q/userImages/a%22%3Cb%3E.png">)"
        << R"(<img src="[imgpath]/a&quot;&lt;b&gt;.png">)";
    QTest::newRow("empty") << q << "" << "";
}

void TestTextForms::editorHtml()
{
    QFETCH(QString, folder);
    QFETCH(QString, document);
    QFETCH(QString, stored);
    QCOMPARE(encodeEditorHtml(document, folder), stored);
}

void TestTextForms::editorHtmlRoundTrip_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("html");

    const QString q = QStringLiteral("/srv/q/userImages/");
    QTest::newRow("worked example")
        << q << R"(<p>It[&#39;]s <img src="[imgpath]/a.jpg"> [imgpath]/b.gif</p>)"
        << R"(<p>It's <img src="file:///srv/q/userImages/a.jpg"> file:///srv/q/userImages/b.gif</p>)";
    // Folders and names that a file URL must encode, in a quoted attribute and in text.
    QTest::newRow("folder with blanks")
        << "/srv/my site/userImages/" << "[imgpath]/a.jpg" << "file:///srv/my%20site/userImages/a.jpg";
    QTest::newRow("folder with & # % and an apostrophe")
        << "/t/R&D #1 100% o'neil/userImages/"
        << "<img src=\"[imgpath]/a.jpg\"> see [imgpath]/b.gif."
        << "<img src=\"file:///t/R%26D%20%231%20100%25%20o%27neil/userImages/a.jpg\"> see "
           "file:///t/R%26D%20%231%20100%25%20o%27neil/userImages/b.gif.";
    QTest::newRow("name with # % blanks & and an apostrophe")
        << q << "<img src=\"[imgpath]/a#b 50% R&amp;D[&#39;]s.png\">"
        << "<img src=\"file:///srv/q/userImages/a%23b%2050%25%20R%26D%27s.png\">";
    QTest::newRow("reference in a style")
        << q << "<p style=\"background:url(&quot;[imgpath]/a#b.png&quot;)\">"
        << "<p style=\"background:url(&quot;file:///srv/q/userImages/a%23b.png&quot;)\">";
    QTest::newRow("plain entity untouched") << q << "&#39;[&#39;]" << "&#39;'";
    QTest::newRow("imgpath without slash untouched") << q << "[imgpath]a.jpg" << "[imgpath]a.jpg";
}

void TestTextForms::editorHtmlRoundTrip()
{
    QFETCH(QString, folder);
    QFETCH(QString, stored);
    QFETCH(QString, html);
    QCOMPARE(decodeEditorHtml(stored, folder), html);
    // Whatever form the references had, they come back as the folder's file URL, and a
    // second save gives the same stored text.
    QCOMPARE(encodeEditorHtml(html, folder), stored);
}

void TestTextForms::trimBlanks()
{
    QCOMPARE(textforms::trimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    QCOMPARE(textforms::trimBlanks(QStringLiteral("\u3000")), QStringLiteral("\u3000"));
    QCOMPARE(textforms::trimBlanks(QStringLiteral(" \t ")), QStringLiteral("\t"));
}

void TestTextForms::isEng_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("eng");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("plain name") << "photo_01.jpg" << true;
    QTest::newRow("blank") << "a b.jpg" << true;
    QTest::newRow("code 127") << "\x7f" << true;
    QTest::newRow("code 32 and 126") << " ~" << true;
    QTest::newRow("chinese") << QStringLiteral("图片.jpg") << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("code 31") << "\x1f" << false;
    QTest::newRow("e acute") << QStringLiteral("é.jpg") << false;
    QTest::newRow("code 128") << QString(QChar(0x80)) << false;
    QTest::newRow("replacement character") << QStringLiteral("a\uFFFD.jpg") << false;
    QTest::newRow("outside the BMP") << QStringLiteral("a😀.jpg") << false;
    QTest::newRow("last character only") << QStringLiteral("abcdef中") << false;
}

void TestTextForms::isEng()
{
    QFETCH(QString, text);
    QFETCH(bool, eng);
    QCOMPARE(textforms::isEng(text), eng);
}

void TestTextForms::isNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    for (const char *yes : {"3.5", " 12 ", "-3", "+3", "1e5", "1E-5", "2.5e+3", "0", "007", "12.", ".5", "-.5"})
        QTest::newRow(yes) << QString::fromLatin1(yes) << true;
    for (const char *no : {"", " ", "12a", "a12", "-", "+", ".", "1,000", "1.2.3", "1e", "e5", "0x1F", "$5",
                           "--1", "1 2", "1e5.5"})
        QTest::newRow(*no ? no : "empty") << QString::fromLatin1(no) << false;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << false;
}

void TestTextForms::isNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(textforms::isNumeric(text), numeric);
}

void TestTextForms::widgetLines_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("stored");
    QTest::newRow("one break") << "a\nb" << "a\r\nb";
    QTest::newRow("empty lines") << "\n\na\n" << "\r\n\r\na\r\n";
    QTest::newRow("no break") << "ab" << "ab";
}

void TestTextForms::widgetLines()
{
    QFETCH(QString, box);
    QFETCH(QString, stored);
    QCOMPARE(toStoredLines(box), stored);
    QCOMPARE(toBoxLines(stored), box);
    // A text that already holds CR LF is not doubled.
    QCOMPARE(toStoredLines(stored), stored);
}

QTEST_APPLESS_MAIN(TestTextForms)
#include "test_textforms.moc"
