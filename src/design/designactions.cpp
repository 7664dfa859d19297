#include "design/designactions.h"

namespace design {

namespace {
const QString kHint = QStringLiteral("提示");
const QString kWarning = QStringLiteral("警告");

ui::Message duplicate()
{
    return {QStringLiteral("已存在重名，更改名称!"), ui::vbExclamation, kWarning};
}

ui::Message placeRefused()
{
    return {QStringLiteral("当前栏目下不能添加该类栏目！"), ui::vbExclamation, kHint};
}

AddResult refused(ui::Message m, bool focusName = false)
{
    AddResult r;
    r.message = std::move(m);
    r.focusName = focusName;
    return r;
}

AddResult dbFailure(const std::exception &e)
{
    return refused({err::descriptionOf(e), ui::vbCritical, kWarning});
}

AddResult storedUnder(const NodeRef &parent)
{
    AddResult r;
    r.stored = true;
    r.childLevel = childLevel(parent.level);
    return r;
}
} // namespace

bool isCategory(const NodeRef &node)
{
    return (node.level == Level::First || node.level == Level::Second) && node.tag == true;
}

AddGate addGate(const NodeRef &node)
{
    if (node.level == Level::Root)
        return {true, true};
    if (node.level == Level::First && node.tag == true)
        return {true, true};
    if (node.level == Level::Second && node.tag == true)
        return {false, true};
    return {false, false};
}

AddResult addCategory(CatalogStore &store, const NodeRef &parent, const QString &name, bool nameTaken)
{
    if (!addGate(parent).category)
        return refused(placeRefused());
    if (nameTaken)
        return refused(duplicate(), true);
    try {
        if (store.nameTaken(name))
            return refused(duplicate(), true);
        const bool atRoot = parent.level == Level::Root;
        const qint64 m = store.getNextOrderID(parent.level, parent.text);
        if (m == -1)
            return refused({atRoot ? QStringLiteral("插入数据失败，错误号：Frm_addCat001")
                                   : QStringLiteral("插入数据失败，错误号：Frm_addCat002"),
                            ui::vbCritical, kWarning});
        if (!store.addCategory(parent.level, parent.text, name, m + 1))
            return refused(placeRefused());
    } catch (const std::exception &e) {
        return dbFailure(e);
    }
    return storedUnder(parent);
}

AddResult addPage(CatalogStore &store, const NodeRef &parent, const QString &name, const QString &format,
                  bool nameTaken)
{
    if (!addGate(parent).page)
        return refused(placeRefused());
    if (name.isEmpty())
        return refused({QStringLiteral("请输入文件名称！"), ui::vbCritical, kWarning}, true);
    if (nameTaken)
        return refused(duplicate(), true);
    try {
        if (store.nameTaken(name))
            return refused(duplicate(), true);
        const qint64 m = store.getNextOrderID(parent.level, parent.text);
        if (m == -1) {
            const int n = parent.level == Level::Root ? 1 : parent.level == Level::First ? 2 : 3;
            return refused({QStringLiteral("插入数据失败，获得排序号有误，errNo:dgnfrm_addFile%1！").arg(n),
                            ui::vbCritical, kWarning});
        }
        if (!store.addPage(parent.level, parent.text, parent.parentText, name, m + 1, format))
            return refused(placeRefused());
    } catch (const std::exception &e) {
        return dbFailure(e);
    }
    return storedUnder(parent);
}

FormatResult changeFormat(CatalogStore &store, Level level, const QString &page, const QString &format)
{
    if (!tablesOf(level))
        return {FormatOutcome::Refused, msg::noColumnChosen()};
    try {
        if (store.getAspFileName(level, page) == format)
            return {FormatOutcome::Unchanged, std::nullopt};
        if (!store.changeFormat(level, page, format))
            return {FormatOutcome::PageMissing, msg::noPage()};
    } catch (const std::exception &e) {
        return {FormatOutcome::Failed, msg::failure(err::descriptionOf(e))};
    }
    return {FormatOutcome::Changed, std::nullopt};
}

std::optional<ui::Message> swapOrder(CatalogStore &store, Level level, const QString &name, const QString &siblingName)
{
    try {
        const qint64 a = store.getOrderID(level, name);
        const qint64 b = store.getOrderID(level, siblingName);
        if (a == -1 || b == -1)
            return ui::Message{QStringLiteral("排序索引值出错，排序失败!"), ui::vbCritical, kHint};
        store.setOrderID(level, name, siblingName, a, b);
    } catch (const std::exception &) {
        return ui::Message{QStringLiteral("改变排序失败！"), ui::vbCritical, QStringLiteral("失败")};
    }
    return std::nullopt;
}

RenameResult renameColumn(CatalogStore &store, Level level, const QString &oldText, const QString &newText,
                          bool nameTaken)
{
    if (nameTaken)
        return {RenameOutcome::Duplicate, duplicate()};
    if (newText.isEmpty())
        return {RenameOutcome::Empty, ui::Message{QStringLiteral("重命名不能为空！"), ui::vbInformation, kHint}};
    try {
        if (store.nameTaken(newText))
            return {RenameOutcome::Duplicate, duplicate()};
        store.renameCatalog(level, oldText, newText);
    } catch (const std::exception &e) {
        return {RenameOutcome::Failed, msg::failure(err::descriptionOf(e))};
    }
    return {RenameOutcome::Renamed, std::nullopt};
}

namespace msg {
ui::Message deleteRoot()
{
    return {QStringLiteral("不能够删除根目录!"), ui::vbExclamation, kWarning};
}
ui::Message confirmDelete(const QString &text)
{
    return {QStringLiteral("确实要删除“") + text + QStringLiteral("”项吗？"), ui::vbOKCancel + ui::vbQuestion, kWarning};
}
ui::Message moveRoot()
{
    return {QStringLiteral("不能够移动根目录！"), ui::vbExclamation, kWarning};
}
ui::Message renameRoot()
{
    return {QStringLiteral("不能够重命名根目录！"), ui::vbExclamation, kHint};
}
ui::Message treeLoadFailed(const QString &description)
{
    return {err::withReason(kTreeLoadFailed, description), ui::vbCritical, kHint};
}
} // namespace msg

} // namespace design
