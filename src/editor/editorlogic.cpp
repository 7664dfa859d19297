#include "editor/editorlogic.h"

#include "core/inputrules.h"
#include "design/pagestore.h"

#include <QColor>
#include <QRegularExpression>

namespace editor {

TabChange tabChange(int previous, int current)
{
    using V = TabChange::View;
    using C = TabChange::Convert;
    TabChange t;
    t.toolbarEnabled = current == DesignTab;
    if (previous == current)
        return t;
    const auto view = [](int tab) {
        switch (tab) {
        case DesignTab: return V::Design;
        case CodeTab: return V::Code;
        case PreviewTab: return V::Preview;
        }
        return V::None;
    };
    t.from = view(previous);
    t.to = view(current);
    if (t.from == V::None || t.to == V::None)
        return {V::None, V::None, C::None, t.toolbarEnabled};
    // The code view holds the stored form, the other two whole documents.
    if (t.from == V::Code)
        t.convert = C::Decode;
    else if (t.to == V::Code)
        t.convert = C::Encode;
    return t;
}

QString appendFragment(const QString &stored, const QString &fragment)
{
    const qsizetype p = stored.lastIndexOf(QStringLiteral("</body>"), -1, Qt::CaseInsensitive);
    if (p < 0)
        return stored + fragment;
    return stored.left(p) + fragment + stored.mid(p);
}

const std::array<ToolButton, kToolButtonCount> &toolButtons()
{
    static const std::array<ToolButton, kToolButtonCount> buttons{{
        {QStringLiteral("保存"), QStringLiteral("save"), QStringLiteral("保存")},
        {QStringLiteral("全选"), QStringLiteral("selectAll"), QStringLiteral("全选")},
        {QStringLiteral("撤销"), QStringLiteral("undo"), QStringLiteral("撤销")},
        {QStringLiteral("恢复"), QStringLiteral("redo"), QStringLiteral("恢复")},
        {QStringLiteral("剪切"), QStringLiteral("cut"), QStringLiteral("剪切")},
        {QStringLiteral("复制"), QStringLiteral("copy"), QStringLiteral("复制")},
        {QStringLiteral("粘贴"), QStringLiteral("paste"), QStringLiteral("粘贴")},
        {QStringLiteral("删除"), QStringLiteral("delete"), QStringLiteral("删除")},
        {QStringLiteral("粗体"), QStringLiteral("bold"), QStringLiteral("粗体")},
        {QStringLiteral("斜体"), QStringLiteral("italic"), QStringLiteral("斜体")},
        {QStringLiteral("下划线"), QStringLiteral("underLine"), QStringLiteral("下划线")},
        {QStringLiteral("左对齐"), QStringLiteral("Aleft"), QStringLiteral("左对齐")},
        {QStringLiteral("居中"), QStringLiteral("Acenter"), QStringLiteral("居中")},
        {QStringLiteral("右对齐"), QStringLiteral("Aright"), QStringLiteral("右对齐")},
        {QStringLiteral("删格式"), QStringLiteral("RemoveFormat"), QStringLiteral("取消文字格式")},
        {QStringLiteral("水平线"), QStringLiteral("sline"), QStringLiteral("水平线")},
        {QStringLiteral("超连接"), QStringLiteral("link"), QStringLiteral("添加超连接")},
        {QStringLiteral("删连接"), QStringLiteral("unlink"), QStringLiteral("取消超连接")},
        {QStringLiteral("表格"), QStringLiteral("table"), QStringLiteral("插入表格")},
        {QStringLiteral("插入图"), QStringLiteral("img"), QStringLiteral("插入图片")},
        {QStringLiteral("flash"), QStringLiteral("flash"), QStringLiteral("flash文件")},
        {QStringLiteral("综合"), QStringLiteral("color"), QStringLiteral("对选中的文字综合处理")},
    }};
    return buttons;
}

ToolAction toolAction(const QString &key)
{
    using K = ToolAction::Kind;
    struct Entry {
        const char *key;
        K kind;
        const char *command;
    };
    static const Entry table[] = {
        {"save", K::Save, ""},
        {"selectAll", K::Command, "selectAll"},
        {"undo", K::Command, "undo"},
        {"redo", K::Command, "redo"},
        {"cut", K::PageAction, "cut"},
        {"copy", K::PageAction, "copy"},
        {"paste", K::PageAction, "paste"},
        {"delete", K::Command, "forwardDelete"},
        {"bold", K::Command, "bold"},
        {"italic", K::Command, "italic"},
        {"underLine", K::Command, "underline"},
        {"Aleft", K::Command, "justifyLeft"},
        {"Acenter", K::Command, "justifyCenter"},
        {"Aright", K::Command, "justifyRight"},
        {"RemoveFormat", K::Command, "removeFormat"},
        {"sline", K::Dialog, "sline"},
        {"link", K::Link, "createLink"},
        {"unlink", K::Command, "unlink"},
        {"table", K::Dialog, "table"},
        {"img", K::Dialog, "img"},
        {"flash", K::Dialog, "flash"},
        {"color", K::Font, ""},
    };
    for (const Entry &e : table)
        if (key == QLatin1String(e.key))
            return {e.kind, QString::fromLatin1(e.command)};
    return {};
}

QString fontStateQuery()
{
    return QStringLiteral(
        "(function(){"
        "function v(c){try{return String(document.queryCommandValue(c));}catch(e){return '';}}"
        "function s(c){try{return document.queryCommandState(c);}catch(e){return false;}}"
        "return {name:v('fontName'),size:v('fontSize'),color:v('foreColor'),bold:s('bold'),italic:s('italic')};"
        "})()");
}

FontState fontStateFrom(const QVariantMap &answers)
{
    FontState f;
    // "\"Noto Sans CJK SC\", serif" -> Noto Sans CJK SC
    f.name = answers.value(QStringLiteral("name")).toString().section(QLatin1Char(','), 0, 0).trimmed();
    f.name.remove(QLatin1Char('"')).remove(QLatin1Char('\''));
    bool ok = false;
    const int size = answers.value(QStringLiteral("size")).toString().toInt(&ok);
    f.size = ok && size >= 1 && size <= 7 ? size : 3;
    // "rgb(r, g, b)" or "rgba(r, g, b, a)"
    static const QRegularExpression rgb(QStringLiteral("rgba?\\((\\d+),\\s*(\\d+),\\s*(\\d+)"));
    const QString color = answers.value(QStringLiteral("color")).toString();
    if (const auto m = rgb.match(color); m.hasMatch())
        f.color = mdl_func::colorHex(QColor(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()));
    else if (QColor c(color); c.isValid())
        f.color = mdl_func::colorHex(c);
    f.bold = answers.value(QStringLiteral("bold")).toBool();
    f.italic = answers.value(QStringLiteral("italic")).toBool();
    return f;
}

QList<QPair<QString, QString>> fontCommands(const FontState &before, const FontState &after)
{
    QList<QPair<QString, QString>> out;
    if (!after.name.isEmpty() && after.name != before.name)
        out.append({QStringLiteral("fontName"), after.name});
    if (after.size != before.size)
        out.append({QStringLiteral("fontSize"), QString::number(after.size)});
    if (!after.color.isEmpty() && after.color != before.color)
        out.append({QStringLiteral("foreColor"), after.color});
    if (after.bold != before.bold)
        out.append({QStringLiteral("bold"), QString()});
    if (after.italic != before.italic)
        out.append({QStringLiteral("italic"), QString()});
    return out;
}

std::optional<Statement> saveStatement(design::Level level, const QString &page, const QString &html, bool insert)
{
    const auto t = design::tablesOf(level);
    if (!t)
        return std::nullopt;
    if (insert)
        return Statement{QStringLiteral("INSERT INTO %1 (%2, value01) VALUES (?, ?)").arg(t->contentTable, t->ownerColumn),
                         {db::str(page), db::str(html)}};
    return Statement{QStringLiteral("UPDATE %1 SET value01=? WHERE %2=?").arg(t->contentTable, t->ownerColumn),
                     {db::str(html), db::str(page)}};
}

SaveResult savePage(SiteDb &db, const SaveRequest &request, const std::function<QString()> &readPage)
{
    SaveResult result;
    if (!design::tablesOf(request.level)) {
        result.outcome = SaveOutcome::NoLevel;
        return result;
    }
    if (request.aspFileName == QLatin1String("news")) {
        result.outcome = SaveOutcome::Skipped;
        return result;
    }
    QString html;
    try {
        html = readPage();
    } catch (const std::exception &e) {
        result.error = err::descriptionOf(e);
        return result;
    }
    html.remove(QLatin1Char('\r'));
    const Statement s = *saveStatement(request.level, request.page, html, request.newRecord);
    // The page's record gone since it was opened (another program, a change from
    // outside): the page is stored anew rather than lost.
    const Statement insert = *saveStatement(request.level, request.page, html, true);
    const design::PageStoreResult stored = design::storePage(
        db, request.level, request.page, s.sql, s.binds, request.newRecord ? QString() : insert.sql, insert.binds);
    result.error = stored.error;
    if (stored.outcome == design::PageStoreOutcome::NoPage)
        result.outcome = SaveOutcome::NoPage;
    else if (stored.outcome == design::PageStoreOutcome::Stored)
        result = {SaveOutcome::Saved, request.newRecord, QString()};
    return result;
}

std::optional<ui::Message> saveMessage(const SaveResult &result)
{
    switch (result.outcome) {
    case SaveOutcome::Saved: return ui::Message{QStringLiteral("数据保存成功！"), ui::vbInformation, QStringLiteral("提示")};
    case SaveOutcome::NoLevel: return design::msg::noColumnChosen();
    case SaveOutcome::NoPage: return design::msg::noPage();
    case SaveOutcome::Skipped: return std::nullopt;
    case SaveOutcome::Failed: break;
    }
    return design::msg::failure(result.error, ui::vbInformation);
}

} // namespace editor
