#include "content/entryactions.h"

#include "core/textforms.h"

namespace content {

namespace {
const QString kHint = QStringLiteral("提示");
const QString kWarning = QStringLiteral("警告");

StoreResult stored()
{
    return {true, true, std::nullopt};
}

StoreResult refused(ui::Message m, bool close = false)
{
    return {false, close, std::move(m)};
}

// Runs a store; the database's refusal, or a record gone meanwhile, keeps the dialog
// open with its fields and says why.
template <class F> StoreResult run(F &&body)
{
    try {
        body();
    } catch (const std::exception &e) {
        return refused(saveMessage(SaveOutcome::Failed, err::descriptionOf(e)));
    }
    return stored();
}
} // namespace

std::optional<qint64> chosenRecordId(const QString &currID)
{
    bool ok = false;
    const qint64 id = currID.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return id;
}

QString formatName(const QString &format)
{
    const design::FormatInfo *f = design::formatOf(format);
    return f ? f->caption : QString();
}

StoreResult addNews(ContentStore &store, Level level, const QString &page, const NewsItem &item)
{
    if (!design::tablesOf(level))
        return refused(msg::columnChoiceError(), true);
    return run([&] { store.insertRecord(level, page, valuesOf(item)); });
}

StoreResult modifyNews(ContentStore &store, Level level, const QString &page, const NewsItem &item)
{
    if (!design::tablesOf(level))
        return refused(msg::noColumnChosen());
    return run([&] { store.updateRecord(level, page, item.id, valuesOf(item)); });
}

StoreResult addGallery(ContentStore &store, Level level, const QString &page, const GalleryItem &item)
{
    if (textforms::trimBlanks(item.caption).isEmpty())
        return refused({QStringLiteral("请输入图片说明文字!"), ui::vbInformation, kHint});
    if (!design::tablesOf(level))
        return refused(msg::columnChoiceError(), true);
    return run([&] { store.insertRecord(level, page, valuesOf(item)); });
}

StoreResult modifyGallery(ContentStore &store, Level level, const QString &page, const GalleryItem &item)
{
    if (textforms::trimBlanks(item.caption).isEmpty())
        return refused({QStringLiteral("图片文字说明不能为空"), ui::vbInformation, kHint});
    if (!design::tablesOf(level))
        return refused(msg::noColumnChosen());
    return run([&] { store.updateRecord(level, page, item.id, valuesOf(item)); });
}

namespace msg {
ui::Message noPicturePath()
{
    return {QStringLiteral("没有选择图片路径！"), ui::vbCritical, kWarning};
}
ui::Message pictureFailed(const QString &description)
{
    return {description, ui::vbCritical, kWarning};
}
ui::Message noRecordChosen()
{
    return {QStringLiteral("当前没有选择数据！"), ui::vbCritical, kHint};
}
ui::Message confirmDeleteRecord()
{
    return {QStringLiteral("确实要删除该条数据吗？"), ui::vbOKCancel, kWarning};
}
ui::Message columnChoiceError()
{
    return {QStringLiteral("不期望的错误：栏目选择错误！"), ui::vbCritical, QStringLiteral("错误")};
}
} // namespace msg

} // namespace content
