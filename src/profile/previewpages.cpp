#include "profile/previewpages.h"

#include "core/datafiles.h"
#include "core/stylemanifest.h"
#include "core/textforms.h"
#include "profile/profilestore.h"

#include <QFileInfo>

namespace profile {

namespace {
const QString kHint = QStringLiteral("提示");
const QString kNoRow = QStringLiteral("没有数据！");
} // namespace

PreviewPage homePagePreview(SiteDb &db, const QString &dataFolder)
{
    PreviewPage page;
    try {
        const Profile p = ProfileStore(db).load();
        if (!p.found) {
            page.message = ui::Message{kNoRow, ui::vbInformation, kHint};
            return page;
        }
        const QString path = datafiles::storedFile(dataFolder, p.text(QStringLiteral("defaultFile")));
        if (path.isEmpty() || !QFileInfo(path).isFile()) {
            page.message = ui::Message{QStringLiteral("首页文件不存在！"), ui::vbInformation, kHint};
            return page;
        }
        page.navigate = path;
    } catch (const std::exception &e) {
        page.message = ui::Message{err::descriptionOf(e), ui::vbCritical, kHint};
    }
    return page;
}

PreviewPage headPreview(SiteDb &db, const QString &dataFolder)
{
    PreviewPage page;
    const ui::Message missing{QStringLiteral("内页头文件不存在！"), ui::vbInformation, kHint};
    try {
        const Profile p = ProfileStore(db).load();
        if (!p.found) {
            page.message = ui::Message{kNoRow, ui::vbInformation, kHint};
            return page;
        }
        const QString head = p.text(QStringLiteral("topHead"));
        if (head.trimmed().isEmpty()) {
            // No extension to take: the failure the box names.
            page.message = ui::Message{missing.text, ui::vbCritical, kHint};
            return page;
        }
        const QString ext = head.mid(head.lastIndexOf(QLatin1Char('.')) + 1);
        const QString file = datafiles::storedFile(dataFolder, QStringLiteral("topHeadSelf.") + ext);
        if (file.isEmpty() || !QFileInfo(file).isFile()) {
            page.message = missing;
            return page;
        }
        const QString url = textforms::fileUrl(file);
        page.pieces << QStringLiteral("<body  leftmargin=0 topmargin=0>");
        if (ext.toLower() != QLatin1String("swf")) {
            page.pieces << QStringLiteral("<img src='") + url + QStringLiteral("'>");
        } else {
            page.pieces << QStringLiteral("<OBJECT codeBase=http://download.macromedia.com/pub/shockwave/cabs/flash/"
                                          "swflash.cab#version=6,0,29,0 width=760 height=130 "
                                          "classid=clsid:D27CDB6E-AE6D-11cf-96B8-444553540000>")
                        << QStringLiteral("<PARAM NAME='movie' VALUE='") + url + QStringLiteral("'>")
                        << QStringLiteral("<PARAM NAME='quality' VALUE='high'>")
                        << QStringLiteral("<param name='wmode' value='transparent'>") << QStringLiteral("</OBJECT>");
        }
    } catch (const std::exception &) {
        page.message = ui::Message{missing.text, ui::vbCritical, kHint};
    }
    return page;
}

QStringList templatePreview(const QString &programFolder, const QString &value)
{
    const QString picture = programFolder + stylemanifest::kTemplateFolder + value.left(5) + QStringLiteral(".jpg");
    return {QStringLiteral("<html><head></head>"),
            QStringLiteral("<body  leftmargin=2 topmargin=0 oncontextmenu='return false;'>"),
            QStringLiteral("<img src='") + textforms::fileUrl(picture) + QStringLiteral("'>"), QStringLiteral("</body></html>")};
}

} // namespace profile
