// The insert dialogs driven through their handlers: choosing and copying files, the
// checks before OK, colours and numbers, and the fragment their boxes give.
#include "core/appcontext.h"
#include "core/textforms.h"
#include "editor/dlgfrm_insert.h"
#include "fakeprompter.h"
#include "testenv.h"
#include "testmain.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

class TestInsertDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePrompter> m_prompts;
    QString m_data; // the data folder
    QString m_src;  // where the user's files are

    QString picture(const QString &name, int w, int h)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::blue);
        img.save(m_src + name, "PNG");
        return m_src + name;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompts = std::make_unique<FakePrompter>();
        m_data = m_dir->path() + "/userImages/";
        m_src = m_dir->path() + "/mine/";
        testenv::writeFile(m_data + "brevonel.qdb");
        testenv::writeFile(m_src + "x");
        app().currImgPath = m_data;
    }

    void cleanup()
    {
        forms().unloadAll();
        testenv::settle();
        m_prompts.reset();
        m_dir.reset();
    }

    void choosingAPicture()
    {
        dlgFrm_img *d = forms().get<dlgFrm_img>();
        // A name with Chinese characters is refused and nothing is copied.
        m_prompts->answerFile(picture(QStringLiteral("照片.png"), 10, 10));
        d->cmd_imgPath_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("所选择的文件名中不能包含中文，请重命名后选择文件！"));
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QVERIFY(d->txt_imgPath->text().isEmpty());
        QVERIFY(!QFile::exists(m_data + QStringLiteral("照片.png")));

        m_prompts->answerFile(picture("photo.png", 40, 30));
        d->cmd_imgPath_Click();
        QVERIFY(QFile::exists(m_data + "photo.png"));
        QCOMPARE(d->txt_imgPath->text(), m_src + "photo.png");
        QCOMPARE(d->txt_width->text(), QStringLiteral("40"));
        QCOMPARE(d->txt_height->text(), QStringLiteral("30"));

        // A later refused choice does not replace the picture the fragment names, and a
        // cancelled one changes nothing and shows nothing.
        m_prompts->answerFile(picture(QStringLiteral("图.png"), 5, 5));
        d->cmd_imgPath_Click();
        m_prompts->clear();
        m_prompts->answerFile(std::nullopt);
        d->cmd_imgPath_Click();
        QCOMPARE(m_prompts->messageCount(), 0);
        d->cmb_spec->setCurrentIndex(2);
        QCOMPARE(d->fragment(), "<img src=\"" + textforms::fileUrl(m_data + "photo.png")
                                    + "\" height=\"30\" width=\"40\" border=\"0\" style=\"filter:gray\">");

        // A file that is no picture is not copied.
        m_prompts->answerFile(testenv::writeFile(m_src + "fake.jpg", "not a picture"));
        d->cmd_imgPath_Click();
        QCOMPARE(m_prompts->lastMessage().text, err::describe(err::Kind::FileRead, "fake.jpg"));
        QVERIFY(!QFile::exists(m_data + "fake.jpg"));

        // The data folder's own database is never replaced.
        picture("brevonel.qdb", 4, 4);
        m_prompts->answerFile(m_src + "brevonel.qdb");
        d->cmd_imgPath_Click();
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QCOMPARE(testenv::readFile(m_data + "brevonel.qdb"), QByteArray());
    }

    void okNeedsAChosenFile()
    {
        dlgFrm_img *img = forms().get<dlgFrm_img>();
        // The path comes only from the file choice: typing changes nothing.
        QVERIFY(img->txt_imgPath->isReadOnly());
        QTest::keyClicks(img->txt_imgPath, "/somewhere/a.jpg");
        QVERIFY(img->txt_imgPath->text().isEmpty());
        img->OKButton_Click();
        QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("图片路径不能为空！")});
        QCOMPARE(m_prompts->lastMessage().style, 64);
        QCOMPARE(m_prompts->lastMessage().title, QStringLiteral("提示"));
        QVERIFY(forms().isLoaded<dlgFrm_img>());

        dlgFrm_flash *flash = forms().get<dlgFrm_flash>();
        QVERIFY(flash->txt_path->isReadOnly());
        flash->OKButton_Click();
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("路径不能为空！"));
        m_prompts->answerFile(testenv::writeFile(m_src + "movie.swf", "FWS"));
        flash->cmd_view_Click();
        QVERIFY(QFile::exists(m_data + "movie.swf"));
        QVERIFY(flash->fragment().contains("<param name=\"Movie\" value=\"" + textforms::fileUrl(m_data + "movie.swf") + "\">"));
    }

    void numbersAndColours()
    {
        dlgFrm_tbl *t = forms().get<dlgFrm_tbl>();
        QCOMPARE(t->fragment(), QStringLiteral("<table width=\"100%\" border=\"1\" cellpadding=\"0\" cellspacing=\"0\"><tr><td>&nbsp;</td>"
                                               "<td>&nbsp;</td></tr><tr><td>&nbsp;</td><td>&nbsp;</td></tr></table>"));
        t->txt_row->setText("12a");
        QCOMPARE(t->txt_row->text(), QStringLiteral("12"));
        QCOMPARE(m_prompts->lastMessage().text, QStringLiteral("请输入数字！"));

        t->txt_backColor->setText("#123456");
        m_prompts->answerColor(std::nullopt);
        t->cmd_backColor_Click();
        QCOMPARE(t->txt_backColor->text(), QStringLiteral("#123456"));
        m_prompts->answerColor(QColor(0, 0, 128));
        t->cmd_foreColor_Click();
        QCOMPARE(t->txt_foreColor->text(), QStringLiteral("#000080"));

        // A count out of range: the reason is shown and the dialog stays open.
        t->txt_row->setText("40000");
        t->OKButton_Click();
        QCOMPARE(m_prompts->lastMessage().text, err::describe(err::Kind::Overflow, "40000"));
        QCOMPARE(m_prompts->lastMessage().style, 16);
        QVERIFY(forms().isLoaded<dlgFrm_tbl>());

        dlgFrm_hr *hr = forms().get<dlgFrm_hr>();
        QCOMPARE(hr->fragment(), QStringLiteral("<hr size=\"2\" noshade align=\"center\" width=\"500\">"));
    }
};

QUORVIK_TEST_MAIN(TestInsertDialogs)
#include "test_insertdialogs.moc"
