// The editor's decisions without the web engine: the insert fragments byte for byte,
// the tab-change table, appending, the toolbar keys, the font commands and the save.
#include "editor/editorlogic.h"
#include "editor/insertfragments.h"
#include "testenv.h"

#include <QTest>

using namespace editor;

Q_DECLARE_METATYPE(editor::TableSpec)
Q_DECLARE_METATYPE(editor::RuleSpec)
Q_DECLARE_METATYPE(editor::ImageSpec)
Q_DECLARE_METATYPE(editor::TabChange)

namespace {

const QString kCells2x2 = QStringLiteral(
    "<tr><td>&nbsp;</td><td>&nbsp;</td></tr><tr><td>&nbsp;</td><td>&nbsp;</td></tr></table>");

TableSpec defaultTable()
{
    return {.rows = "2", .cols = "2", .id = "", .width = "100", .widthUnit = "%", .height = "", .heightUnit = "%",
            .border = "1", .padding = "0", .spacing = "0", .backColor = "", .borderColor = "",
            .align = QStringLiteral("默认")};
}

bool overflows(const std::function<void()> &f)
{
    try {
        f();
    } catch (const err::Error &e) {
        return e.kind() == err::Kind::Overflow;
    }
    return false;
}

} // namespace

class TestEditorLogic : public QObject {
    Q_OBJECT
private slots:
    void tableFragment_data()
    {
        QTest::addColumn<TableSpec>("spec");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("defaults") << defaultTable()
                                  << "<table width=\"100%\" border=\"1\" cellpadding=\"0\" cellspacing=\"0\">" + kCells2x2;
        TableSpec all = defaultTable();
        all.id = "t1";
        all.widthUnit = QStringLiteral("像素");
        all.height = "50";
        all.backColor = "#FF0000";
        all.borderColor = "#000080";
        all.align = QStringLiteral("居中");
        QTest::newRow("every attribute")
            << all
            << QStringLiteral("<table ID=\"t1\" width=\"100像素\" height=\"50%\" border=\"1\" cellpadding=\"0\" cellspacing=\"0\" "
                              "bgcolor=\"#FF0000\" bordercolor=\"#000080\" align=\"center\">")
                   + kCells2x2;
        TableSpec typed{};
        typed.id = "t\" onclick=\"x";
        typed.backColor = "red'><b>";
        QTest::newRow("typed quotes stay inside the value")
            << typed
            << "<table ID=\"t&quot; onclick=&quot;x\" bgcolor=\"red'&gt;&lt;b&gt;\"><tr><td>&nbsp;</td></tr></table>";
        TableSpec empty{};
        QTest::newRow("empty boxes: one cell") << empty << "<table><tr><td>&nbsp;</td></tr></table>";
        TableSpec rounded = empty;
        rounded.rows = "2.5"; // half to even
        rounded.cols = "0";
        QTest::newRow("rounded rows, no columns") << rounded << "<table><tr></tr><tr></tr></table>";
    }
    void tableFragment()
    {
        QFETCH(TableSpec, spec);
        QFETCH(QString, fragment);
        QCOMPARE(editor::tableFragment(spec), fragment);
    }

    void numbersOutOfRange()
    {
        TableSpec t = defaultTable();
        t.rows = "32768";
        QVERIFY(overflows([&] { editor::tableFragment(t); }));
        // Each count fits, the cells would not.
        t.rows = "200";
        t.cols = "200";
        QVERIFY(overflows([&] { editor::tableFragment(t); }));
        QVERIFY(overflows([] { editor::flashFragment("file:///d/m.swf", "40000", ""); }));
        QCOMPARE(wholeNumber(" -3.5 "), std::optional<int>(-4));
        QCOMPARE(wholeNumber("1e2"), std::optional<int>(100));
        QCOMPARE(wholeNumber("abc"), std::nullopt);
    }

    void ruleFragment_data()
    {
        QTest::addColumn<RuleSpec>("spec");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("defaults") << RuleSpec{"", "500", "2", QStringLiteral("居中"), QStringLiteral("无")}
                                  << "<hr size=\"2\" noshade align=\"center\" width=\"500\">";
        QTest::newRow("empty boxes") << RuleSpec{"", "", "", QStringLiteral("居中"), QStringLiteral("无")}
                                     << "<hr noshade align=\"center\">";
        QTest::newRow("colour and shadow")
            << RuleSpec{"#FF0000", "80%", "1", QStringLiteral("左对齐"), QStringLiteral("有")}
            << "<hr color=\"#FF0000\" size=\"1\" align=\"left\" width=\"80%\">";
        QTest::newRow("blank colour, right") << RuleSpec{"  ", "", "", QStringLiteral("右对齐"), QStringLiteral("有")}
                                             << "<hr align=\"right\">";
        QTest::newRow("typed colour with a quote")
            << RuleSpec{"red\" x=\"", "", "", QStringLiteral("右对齐"), QStringLiteral("有")}
            << "<hr color=\"red&quot; x=&quot;\" align=\"right\">";
    }
    void ruleFragment()
    {
        QFETCH(RuleSpec, spec);
        QFETCH(QString, fragment);
        QCOMPARE(editor::ruleFragment(spec), fragment);
    }

    void imageFragment_data()
    {
        QTest::addColumn<ImageSpec>("spec");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("bare") << ImageSpec{"/d/", "a.jpg", "", "", "", "", QStringLiteral("无"),
                                           QStringLiteral("默认位置")}
                              << "<img src=\"file:///d/a.jpg\">";
        QTest::newRow("every attribute")
            << ImageSpec{"/d/", "a.jpg", "30", "40", "Our logo", "0", QStringLiteral("模糊效果"),
                         QStringLiteral("绝对居中")}
            << "<img src=\"file:///d/a.jpg\" height=\"30\" width=\"40\" alt=\"Our logo\" border=\"0\" "
               "style=\"filter:blur(add=1,direction=14,strength=15)\" align=\"absmiddle\">";
        QTest::newRow("alt with quotes and markup")
            << ImageSpec{"/d/", "a.jpg", "", "", "Tom's \"best\" <b>&</b>", "", "", ""}
            << "<img src=\"file:///d/a.jpg\" alt=\"Tom's &quot;best&quot; &lt;b&gt;&amp;&lt;/b&gt;\">";
        QTest::newRow("blank alt left out, unknown list texts give nothing")
            << ImageSpec{"/d/", "a.jpg", "", "", "   ", "", "blur", "left"} << "<img src=\"file:///d/a.jpg\">";
        QTest::newRow("apostrophe in the name")
            << ImageSpec{"/d/", "it's.gif", "", "", "", "", QStringLiteral("X光照片"), QStringLiteral("居中")}
            << "<img src=\"file:///d/it%27s.gif\" style=\"filter:xray\" align=\"middle\">";
        QTest::newRow("awkward folder and name")
            << ImageSpec{"/t/R&D #1 100%/o'neil/", "a#b c.png", "", "", "", "", "", ""}
            << "<img src=\"file:///t/R%26D%20%231%20100%25/o%27neil/a%23b%20c.png\">";
    }
    void imageFragment()
    {
        QFETCH(ImageSpec, spec);
        QFETCH(QString, fragment);
        QCOMPARE(editor::imageFragment(spec), fragment);
    }

    void flashFragment()
    {
        const QString params = QStringLiteral(
            "  <param name=\"_cx\" value=\"20108\">  <param name=\"_cy\" value=\"3440\">"
            "  <param name=\"FlashVars\" value=\"20108\">"
            "  <param name=\"Movie\" value=\"file:///d/m.swf\">  <param name=\"Src\" value=\"file:///d/m.swf\">"
            "  <param name=\"WMode\" value=\"Window\">  <param name=\"Play\" value=\"-1\">"
            "  <param name=\"Loop\" value=\"-1\">  <param name=\"Quality\" value=\"High\">"
            "  <param name=\"SAlign\" value=\"\">  <param name=\"Menu\" value=\"-1\">"
            "  <param name=\"Base\" value=\"\">  <param name=\"AllowScriptAccess\" value=\"always\">"
            "  <param name=\"Scale\" value=\"ShowAll\">  <param name=\"DeviceFont\" value=\"0\">"
            "  <param name=\"EmbedMovie\" value=\"0\">  <param name=\"BGColor\" value=\"\">"
            "  <param name=\"SWRemote\" value=\"\"></object>");
        const QString head = QStringLiteral(
            "<object codebase=\"http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,29,0\" ");
        const QString classid = QStringLiteral(" classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\">");
        QCOMPARE(editor::flashFragment("file:///d/m.swf", "300", "80"),
                 head + "height=\"80\" width=\"300\"" + classid + params);
        // Empty or non-numeric sizes give the defaults.
        QCOMPARE(editor::flashFragment("file:///d/m.swf", "", "x"),
                 head + "height=\"120\" width=\"600\"" + classid + params);
        QVERIFY(editor::flashFragment("file:///d/a&\"b.swf", "", "")
                    .contains("<param name=\"Movie\" value=\"file:///d/a&amp;&quot;b.swf\">"));
    }

    void tabChanges_data()
    {
        using V = TabChange::View;
        using C = TabChange::Convert;
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<TabChange>("change");
        QTest::newRow("code to design") << 1 << 0 << TabChange{V::Code, V::Design, C::Decode, true};
        QTest::newRow("preview to design") << 2 << 0 << TabChange{V::Preview, V::Design, C::None, true};
        QTest::newRow("design to code") << 0 << 1 << TabChange{V::Design, V::Code, C::Encode, false};
        QTest::newRow("preview to code") << 2 << 1 << TabChange{V::Preview, V::Code, C::Encode, false};
        QTest::newRow("code to preview") << 1 << 2 << TabChange{V::Code, V::Preview, C::Decode, false};
        QTest::newRow("design to preview") << 0 << 2 << TabChange{V::Design, V::Preview, C::None, false};
        QTest::newRow("same tab copies nothing") << 1 << 1 << TabChange{V::None, V::None, C::None, false};
    }
    void tabChanges()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(TabChange, change);
        QCOMPARE(tabChange(from, to), change);
    }

    void append()
    {
        QCOMPARE(appendFragment("<p>a</p>", "<hr>"), QStringLiteral("<p>a</p><hr>"));
        QCOMPARE(appendFragment("", "<hr>"), QStringLiteral("<hr>"));
        // Typed into the code view: the fragment goes before the last closing body tag.
        QCOMPARE(appendFragment("<p>a</BODY>b</Body>\n</html>", "<hr>"),
                 QStringLiteral("<p>a</BODY>b<hr></Body>\n</html>"));
    }

    void toolbarKeys()
    {
        using K = ToolAction::Kind;
        QCOMPARE(int(toolButtons().size()), 22);
        // Every button's key has its action; keys compare case included.
        for (const ToolButton &b : toolButtons())
            QVERIFY2(toolAction(b.key).kind != K::None, qPrintable(b.key));
        QCOMPARE(toolAction("Bold").kind, K::None);
        QCOMPARE(toolAction("delete"), (ToolAction{K::Command, "forwardDelete"}));
        QCOMPARE(toolAction("underLine"), (ToolAction{K::Command, "underline"}));
        QCOMPARE(toolAction("paste"), (ToolAction{K::PageAction, "paste"}));
        QCOMPARE(toolAction("img"), (ToolAction{K::Dialog, "img"}));
    }

    void fontCommands()
    {
        const FontState page = fontStateFrom({{"name", "\"Noto Sans CJK SC\", serif"},
                                              {"size", "3"},
                                              {"color", "rgb(0, 0, 128)"},
                                              {"bold", true},
                                              {"italic", false}});
        QCOMPARE(page, (FontState{"Noto Sans CJK SC", 3, "#000080", true, false}));
        QVERIFY(editor::fontCommands(page, page).isEmpty());
        FontState chosen = page;
        chosen.size = 5;
        chosen.bold = false;
        chosen.italic = true;
        chosen.color = "#FF0000";
        using P = QPair<QString, QString>;
        QCOMPARE(editor::fontCommands(page, chosen),
                 (QList<P>{P{"fontSize", "5"}, P{"foreColor", "#FF0000"}, P{"bold", ""}, P{"italic", ""}}));
    }

    void save()
    {
        testenv::TempDatabase t;
        SiteDb &db = t.db;
        db.exec("INSERT INTO secondCatalog VALUES ('产品','空调',0,1,'adv')");
        const auto stored = [&] {
            const Rows rows = db.select("SELECT value01 FROM content02 WHERE secondCatalog='空调'");
            QStringList out;
            for (const QSqlRecord &r : rows)
                out << db::text(r, "value01");
            return out;
        };
        int reads = 0;
        const auto page = [&](const QString &html) {
            return [&reads, html] {
                ++reads;
                return html;
            };
        };

        SaveRequest r{design::Level::Second, QStringLiteral("空调"), "none", true};
        SaveResult res = savePage(db, r, page("<p>it[&#39;]s</p>\r\n<p>'typed'</p>"));
        QCOMPARE(res.outcome, SaveOutcome::Saved);
        QVERIFY(res.inserted);
        QCOMPARE(stored(), QStringList{"<p>it[&#39;]s</p>\n<p>'typed'</p>"});
        QCOMPARE(*saveMessage(res), (ui::Message{QStringLiteral("数据保存成功！"), 64, QStringLiteral("提示")}));

        r.newRecord = false;
        res = savePage(db, r, page("<p>new</p>"));
        QCOMPARE(res.outcome, SaveOutcome::Saved);
        QVERIFY(!res.inserted);
        QCOMPARE(stored(), QStringList{"<p>new</p>"});

        // The record gone since the page was opened: the page is stored anew.
        db.exec("DELETE FROM content02");
        res = savePage(db, r, page("<p>x</p>"));
        QCOMPARE(res.outcome, SaveOutcome::Saved);
        QCOMPARE(*saveMessage(res), (ui::Message{QStringLiteral("数据保存成功！"), 64, QStringLiteral("提示")}));
        QCOMPARE(stored(), QStringList{"<p>x</p>"});
        db.exec("DELETE FROM content02");

        // Refusals read nothing and store nothing.
        reads = 0;
        res = savePage(db, {design::Level::Root, "root", "none", true}, page("<p>x</p>"));
        QCOMPARE(*saveMessage(res), (ui::Message{QStringLiteral("没有在左边选择栏目！"), 16, QStringLiteral("警告")}));
        res = savePage(db, {design::Level::Second, QStringLiteral("空调"), "news", true}, page("<p>x</p>"));
        QCOMPARE(res.outcome, SaveOutcome::Skipped);
        QCOMPARE(saveMessage(res), std::nullopt);
        QCOMPARE(reads, 0);
        res = savePage(db, {design::Level::Second, QStringLiteral("已删除"), "none", true}, page("<p>x</p>"));
        QCOMPARE(res.outcome, SaveOutcome::NoPage);
        // A page that cannot be read is a failure with its description.
        res = savePage(db, r, [] () -> QString { throw err::Error(err::Kind::Unexpected, "x"); });
        QCOMPARE(res.error, err::describe(err::Kind::Unexpected, "x"));
        QVERIFY(stored().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEditorLogic)
#include "test_editorlogic.moc"
