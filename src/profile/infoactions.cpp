#include "profile/infoactions.h"

#include "core/inputrules.h"

#include <QFileInfo>
#include <QImageReader>

namespace profile {

namespace {
const QString kHint = QStringLiteral("提示");
}

Outcome saveBasicInfo(SiteDb &db, const BasicInfo &info, datafiles::PendingFiles &logoFiles, const QString &dataFolder)
{
    if (info.webName.trimmed().isEmpty())
        return {false, ui::Message{QStringLiteral("站点名称不能为空！"), ui::vbInformation, kHint}};
    try {
        ProfileStore(db).saveBasicInfo(info);
    } catch (const std::exception &e) {
        return {false, ui::Message{err::withReason(QStringLiteral("不期望的错误,errNo:infoFrm"), err::descriptionOf(e)),
                                   ui::vbCritical, kHint}};
    }
    logoFiles.saved(db, dataFolder);
    return {true, ui::Message{QStringLiteral("数据保存成功！"), ui::vbInformation, kHint}};
}

std::optional<ui::Message> refuseNonPicture(const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!reader.read().isNull())
        return std::nullopt;
    return ui::Message{err::describe(err::Kind::FileRead, QFileInfo(path).fileName()), ui::vbCritical,
                       QStringLiteral("警告")};
}

Import importLogo(SiteDb &db, const QString &path, const QString &dataFolder, datafiles::PendingFiles &logoFiles)
{
    if (auto refusal = mdl_func::refuseNonAsciiName(path))
        return {std::nullopt, refusal};
    if (auto refusal = refuseNonPicture(path))
        return {std::nullopt, refusal};
    try {
        return {datafiles::importChoice(db, path, dataFolder, &logoFiles), std::nullopt};
    } catch (const std::exception &e) {
        return {std::nullopt, ui::Message{err::descriptionOf(e), ui::vbCritical, QStringLiteral("警告")}};
    }
}

Outcome cancelLogo(SiteDb &db, const QString &dataFolder, const QString &logoFile, datafiles::PendingFiles &logoFiles)
{
    try {
        ProfileStore(db).setColumn(QStringLiteral("logo"), QString());
    } catch (const std::exception &e) {
        return {false, ui::Message{err::descriptionOf(e), ui::vbInformation, kHint}};
    }
    logoFiles.replaces(logoFile);
    logoFiles.saved(db, dataFolder);
    return {true, ui::Message{QStringLiteral("单位徽标已取消！"), ui::vbInformation, kHint}};
}

namespace msg {
ui::Message unsavedInfo()
{
    return {QStringLiteral("数据还未保存！"), ui::vbQuestion, kHint};
}
} // namespace msg

} // namespace profile
