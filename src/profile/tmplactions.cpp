#include "profile/tmplactions.h"

#include "core/datalayout.h"
#include "core/fileutil.h"
#include "core/schema.h"
#include "core/textforms.h"
#include "core/inputrules.h"

#include <QDir>
#include <QFileInfo>

namespace profile {

namespace {

const QString kHint = QStringLiteral("提示");
const QString kWarning = QStringLiteral("警告");
const QString kHeadBase = QStringLiteral("topHeadSelf.");

ui::Message failure(const std::exception &e, int style = ui::vbCritical, const QString &title = kHint)
{
    return {err::descriptionOf(e), style, title};
}

// The stored value of a profile column ("" when there is no row or it is Null).
QString stored(SiteDb &db, const QString &column)
{
    return ProfileStore(db).load().text(column);
}

// After a write: the named files go from the data folder unless the database still
// names them.
void dropUnused(SiteDb &db, const QString &dataFolder, QStringList names)
{
    names.removeAll(QString());
    names.removeDuplicates();
    datafiles::removeUnused(db, dataFolder, names);
}

// The text after the last "." (the whole text when it has none).
QString afterLastDot(const QString &name)
{
    return name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
}

const QString &pickerTable(Side side)
{
    static const QString home = QStringLiteral("defaultTmpl"), inner = QStringLiteral("headTmpl");
    return side == Side::Home ? home : inner;
}

} // namespace

// ---- Template view --------------------------------------------------------------------

QString featureColumn(int box)
{
    static const QStringList columns = {QStringLiteral("field02"), QStringLiteral("field03"), QStringLiteral("adBoard"),
                                        QStringLiteral("javascript"), QStringLiteral("field04"), QStringLiteral("field05")};
    return columns.value(box);
}

Outcome setServiceSwitch(SiteDb &db, int box, bool ticked)
{
    try {
        ProfileStore(db).setColumn(featureColumn(box), ticked ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const std::exception &e) {
        return {false, failure(e)};
    }
    return {true, std::nullopt};
}

Outcome turnFeatureOff(SiteDb &db, int box)
{
    return setServiceSwitch(db, box, false);
}

bool featureOn(const Profile &p, int box)
{
    return wholeNumber(splitJoined(p.text(featureColumn(box))).value(0)) == 1;
}

Import importHomePage(SiteDb &db, const QString &file, const QString &dataFolder)
{
    const QFileInfo chosen(file);
    const QString folder = fileutil::withSlash(chosen.absolutePath());
    auto refuse = [](const QString &text, int style = ui::vbInformation, const QString &title = kHint) {
        return Import{std::nullopt, ui::Message{text, style, title}};
    };
    if (file.isEmpty())
        return refuse(msg::noHomePagePath(), ui::vbCritical, kWarning);
    if (!chosen.isFile())
        return refuse(file + QStringLiteral("文件不存在!"), ui::vbCritical, kWarning);
    if (chosen.fileName().toLower() != QLatin1String("default.htm"))
        return refuse(QStringLiteral("这不是一个有效的default.htm文件"));
    const QString onlyDefault = QStringLiteral("在") + folder
                                + QStringLiteral("文件夹只能包含default.htm文件及其相关联的文件夹images")
                                + QStringLiteral("(网页中包含的图片存放文件夹)，含有多余的");
    const QDir dir(folder);
    if (dir.entryList(QDir::Files | QDir::Hidden | QDir::System).size() >= 2)
        return refuse(onlyDefault + QStringLiteral("文件！"));
    if (!QFileInfo(folder + datalayout::kImagesFolder).isDir())
        return refuse(QStringLiteral("在") + folder + QStringLiteral("文件夹中必须包含images文件夹！"));
    if (dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).size() >= 2)
        return refuse(onlyDefault + QStringLiteral("文件夹！"));
    try {
        if (!QFileInfo(file).isFile())
            return refuse(file + QStringLiteral("文件不存在！"), ui::vbCritical);
        const QString asStored = stored(db, QStringLiteral("defaultFile"));
        const QString previous = asStored.trimmed();
        if (!QFileInfo(folder + datalayout::kImagesFolder).isDir())
            return refuse(folder + QStringLiteral("images/文件夹不存在！"), ui::vbCritical);
        // The new images/ and the new page are complete beside the old ones (the chosen
        // folder may lie inside the old images/) and go in as one swap, decided by the
        // write of the page's name: the old pair or the new pair, each with the name
        // that goes with it, never the new page with the old pictures.
        fileutil::FolderSwap images(dataFolder + datalayout::kImagesFolder);
        fileutil::copyTree(folder + datalayout::kImagesFolder, images.path());
        const QString name = chosen.fileName();
        fileutil::copyReplace(file, images.companion(name));
        ProfileStore store(db);
        images.commit([&] { store.setColumn(QStringLiteral("defaultFile"), name); },
                      [&] { store.setColumn(QStringLiteral("defaultFile"), asStored); });
        if (previous != name)
            dropUnused(db, dataFolder, {previous});
        return {name, std::nullopt};
    } catch (const std::exception &e) {
        return refuse(err::withReason(QStringLiteral("首页文件导入失败！"), err::descriptionOf(e)), ui::vbCritical, kWarning);
    }
}

void recoverHomePageImport(const QString &dataFolder)
{
    fileutil::recoverSwap(dataFolder + datalayout::kImagesFolder, [&](const QString &page) {
        SiteDb db;
        try {
            return schema::openSite(db, dataFolder + datalayout::kDbName)
                   && stored(db, QStringLiteral("defaultFile")).trimmed() == page;
        } catch (const std::exception &) {
            return false;
        }
    });
}

Outcome turnOffHomePage(SiteDb &db, const QString &dataFolder, const QString &shownName)
{
    try {
        const QString previous = stored(db, QStringLiteral("defaultFile")).trimmed();
        ProfileStore(db).setColumn(QStringLiteral("defaultFile"), QString());
        dropUnused(db, dataFolder, {shownName, previous});
        fileutil::removeFolder(dataFolder + datalayout::kImagesFolder);
    } catch (const std::exception &e) {
        return {false, failure(e)};
    }
    return {true, std::nullopt};
}

Import importHead(SiteDb &db, const QString &file, const QString &dataFolder)
{
    if (file.isEmpty())
        return {std::nullopt, ui::Message{msg::noHomePagePath(), ui::vbCritical, kWarning}};
    if (!QFileInfo(file).isFile())
        return {std::nullopt, ui::Message{file + QStringLiteral("文件不存在!"), ui::vbCritical, kWarning}};
    const QString name = QFileInfo(file).fileName();
    const QString ext = afterLastDot(name).toLower();
    if (ext != QLatin1String("gif") && ext != QLatin1String("jpg") && ext != QLatin1String("swf"))
        return {std::nullopt, ui::Message{QStringLiteral("这不是一个有效的头文件"), ui::vbInformation, kHint}};
    try {
        if (!QFileInfo(file).isFile())
            return {std::nullopt, ui::Message{file + QStringLiteral("文件不存在！"), ui::vbCritical, kHint}};
        const QString previous = stored(db, QStringLiteral("topHead")).trimmed();
        const QString target = kHeadBase + ext;
        fileutil::copyReplace(file, dataFolder + target);
        ProfileStore(db).setColumn(QStringLiteral("topHead"), target);
        if (previous != target)
            dropUnused(db, dataFolder, {previous});
        return {name, std::nullopt};
    } catch (const std::exception &e) {
        return {std::nullopt, ui::Message{err::withReason(QStringLiteral("内页头文件导入失败！"), err::descriptionOf(e)),
                                          ui::vbCritical, kWarning}};
    }
}

Outcome turnOffHead(SiteDb &db, const QString &dataFolder, const QString &shownName)
{
    try {
        const QString previous = stored(db, QStringLiteral("topHead")).trimmed();
        ProfileStore(db).setColumn(QStringLiteral("topHead"), QString());
        dropUnused(db, dataFolder, {kHeadBase + afterLastDot(shownName), previous});
    } catch (const std::exception &e) {
        return {false, failure(e)};
    }
    return {true, std::nullopt};
}

PagesImport importOtherPages(SiteDb &db, const QString &folder, const QString &dataFolder)
{
    const QString from = fileutil::withSlash(folder);
    const QStringList files = QDir(from).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QStringList pages;
    for (const QString &name : files) {
        const QString ending = name.right(3).toLower();
        if (ending == QLatin1String("htm") && name.toLower() == QLatin1String("default.htm"))
            return {std::nullopt, ui::Message{QStringLiteral("不能包含default.htm！"), ui::vbInformation, kHint}};
        if (ending != QLatin1String("htm") && ending != QLatin1String("mht"))
            continue;
        // The list joins the names with "||": a name holding it would read back as two.
        if (!fitsJoined(name, false))
            return {std::nullopt, ui::Message{QStringLiteral("文件名中不能包含“||”，请重命名后选择文件：") + name,
                                              ui::vbInformation, kHint}};
        pages << name;
    }
    try {
        const QStringList previous = decodeExtraPages(stored(db, QStringLiteral("field01")));
        // The new pages are copied in before the old ones go, so that a folder that is
        // the data folder itself keeps its pages.
        for (const QString &page : pages)
            datafiles::importFile(from + page, dataFolder);
        const QString images = from + datalayout::kImagesFolder;
        if (QFileInfo(images).isDir()
            && QFileInfo(images).canonicalFilePath() != QFileInfo(dataFolder + datalayout::kImagesFolder).canonicalFilePath())
            fileutil::copyTree(images, dataFolder + datalayout::kImagesFolder);
        ProfileStore(db).setColumn(QStringLiteral("field01"), encodeExtraPages(pages));
        QStringList gone;
        for (const QString &old : previous)
            if (!pages.contains(old))
                gone << old;
        dropUnused(db, dataFolder, gone);
    } catch (const std::exception &e) {
        return {std::nullopt, failure(e)};
    }
    return {pages, std::nullopt};
}

Outcome turnOffOtherPages(SiteDb &db, const QString &dataFolder, const QStringList &shownNames)
{
    try {
        const QStringList previous = decodeExtraPages(stored(db, QStringLiteral("field01")));
        ProfileStore(db).setColumn(QStringLiteral("field01"), QString());
        dropUnused(db, dataFolder, shownNames + previous);
    } catch (const std::exception &e) {
        return {false, failure(e, ui::vbInformation)};
    }
    return {true, std::nullopt};
}

Import chooseBackground(SiteDb &db, const QString &file, const QString &dataFolder)
{
    if (auto refusal = mdl_func::refuseNonAsciiName(file))
        return {std::nullopt, refusal};
    if (auto refusal = refuseNonPicture(file))
        return {std::nullopt, refusal};
    // The choice is saved at once; a save that fails takes its copy away again.
    datafiles::PendingFiles copied;
    try {
        const QString previous = stored(db, QStringLiteral("backGround")).trimmed();
        const QString name = datafiles::importChoice(db, file, dataFolder, &copied);
        ProfileStore(db).setColumn(QStringLiteral("backGround"), name);
        if (previous != name)
            copied.replaces(previous);
        copied.saved(db, dataFolder);
        return {name, std::nullopt};
    } catch (const std::exception &e) {
        copied.abandoned(db, dataFolder);
        return {std::nullopt, failure(e)};
    }
}

Outcome cancelBackground(SiteDb &db, const QString &dataFolder, const QString &shownName)
{
    try {
        const QString previous = stored(db, QStringLiteral("backGround")).trimmed();
        ProfileStore(db).setColumn(QStringLiteral("backGround"), QString());
        dropUnused(db, dataFolder, {shownName, previous});
    } catch (const std::exception &e) {
        return {false, failure(e)};
    }
    return {true, std::nullopt};
}

// ---- Editors --------------------------------------------------------------------------

Outcome savePopup(SiteDb &db, const PopupSetting &boxes)
{
    if (const int bad = badPopupNumber(boxes)) {
        static const QString names[] = {QStringLiteral("宽度"), QStringLiteral("高度"), QStringLiteral("距屏幕顶边距离"),
                                        QStringLiteral("距屏幕左边距离")};
        return {false, ui::Message{names[bad - 1] + QStringLiteral("必须是0到%1之间的整数！").arg(kPopupNumberMax),
                                   ui::vbCritical, kHint}};
    }
    PopupSetting s = boxes;
    s.content = textforms::encode(boxes.content);
    if (!fitsJoined(s.title, false))
        return {false, ui::Message{QStringLiteral("标题中不能包含“||”，也不能以“|”结尾！"), ui::vbCritical, kHint}};
    if (!fitsJoined(s.content, true))
        return {false, ui::Message{QStringLiteral("内容中不能包含“||”！"), ui::vbCritical, kHint}};
    const std::optional<QString> value = encodePopup(s);
    if (!value)
        return {false, ui::Message{err::text(err::Kind::Unexpected), ui::vbCritical, kHint}};
    try {
        ProfileStore(db).setColumn(QStringLiteral("adBoard"), *value);
    } catch (const std::exception &e) {
        return {false, failure(e)};
    }
    return {true, std::nullopt};
}

Outcome saveScript(SiteDb &db, int index, const QString &text)
{
    const std::optional<QString> value = encodeScript(index, text);
    if (!value)
        return {false, ui::Message{QStringLiteral("显示内容中不能包含“||”！"), ui::vbOKOnly, kHint}};
    try {
        ProfileStore(db).setColumn(QStringLiteral("javascript"), *value);
    } catch (const std::exception &e) {
        return {false, failure(e, ui::vbOKOnly)};
    }
    return {true, std::nullopt};
}

const QStringList &scriptEffectNames()
{
    static const QStringList names = {
        QStringLiteral("标题特效"),       QStringLiteral("屏幕时钟"),    QStringLiteral("跟随鼠标的星星"),
        QStringLiteral("跟随鼠标的文字"), QStringLiteral("鼠标点击特效"), QStringLiteral("跟随鼠标的彩色字符"),
        QStringLiteral("状态栏特效1"),    QStringLiteral("状态栏特效2"), QStringLiteral("状态栏特效3"),
        QStringLiteral("状态栏特效4"),    QStringLiteral("状态栏特效5"), QStringLiteral("状态栏特效6"),
        QStringLiteral("状态栏特效7"),
    };
    return names;
}

// ---- Pickers --------------------------------------------------------------------------

QStringList fontNames(SiteDb &db)
{
    QStringList out;
    for (const QSqlRecord &r : db.select(QStringLiteral("SELECT * FROM font ORDER BY rowid")))
        out << db::text(r, QStringLiteral("font"));
    return out;
}

Outcome chooseFont(SiteDb &db, Side side, const QString &name)
{
    try {
        ProfileStore(db).setColumn(side == Side::Home ? QStringLiteral("defaultFont") : QStringLiteral("headFont"), name);
    } catch (const std::exception &e) {
        return {false, failure(e, ui::vbInformation)};
    }
    return {true, std::nullopt};
}

QStringList templateCategories(SiteDb &db, Side side)
{
    QStringList out;
    for (const QSqlRecord &r : db.select(QStringLiteral("SELECT tmplType FROM %1 GROUP BY tmplType").arg(pickerTable(side))))
        out << db::text(r, QStringLiteral("tmplType"));
    return out;
}

QStringList templateNames(SiteDb &db, Side side, const QString &category)
{
    QStringList out;
    for (const QSqlRecord &r :
         db.select(QStringLiteral("SELECT * FROM %1 WHERE tmplType=? ORDER BY rowid").arg(pickerTable(side)), {category}))
        out << db::text(r, QStringLiteral("tmplName"));
    return out;
}

Outcome chooseTemplate(SiteDb &db, Side side, const QString &value)
{
    if (value.isEmpty())
        return {false, ui::Message{QStringLiteral("请选择其中一种模板！"), ui::vbInformation, kHint}};
    try {
        ProfileStore(db).setColumn(pickerTable(side), value);
    } catch (const std::exception &e) {
        return {false, failure(e, ui::vbCritical, QStringLiteral("错误"))};
    }
    return {true, std::nullopt};
}

QString templateLabel(const QString &value)
{
    return value.left(5);
}

QString templateCaption(const QString &value)
{
    return value.section(QLatin1Char('.'), 0, 0);
}

QPoint templateCell(int k)
{
    QPoint at(250, 0);
    for (int i = 1; i <= k; ++i)
        at = i % 3 == 0 ? QPoint(250, at.y() + 1680) : QPoint(at.x() + 2500, at.y());
    return at;
}

namespace msg {

QString noHomePagePath()
{
    return QStringLiteral("没有选择首页存放路径！");
}

QString approvalHint()
{
    return QStringLiteral("此项功能选择后，需要提供商批准后方能生效！");
}

ui::Message popupQuestion()
{
    return {QStringLiteral("若要取消“弹出窗口”功能，单击“取消”按钮；\r\n\r\n若要对“弹出窗口”的内容进行编辑修改，请单击“确定”按钮。"),
            ui::vbOKCancel + ui::vbInformation, kHint};
}

ui::Message scriptQuestion()
{
    return {QStringLiteral("若要取消“JavaScript脚本效果”功能，单击“取消”按钮；\r\n\r\n"
                           "若要对“JavaScript脚本效果”的内容进行编辑修改，请单击“确定”按钮。"),
            ui::vbOKCancel + ui::vbInformation, kHint};
}

ui::Message confirmHomePageOff()
{
    return {QStringLiteral("确实要取消首页自定制设置吗？"), ui::vbOKCancel + ui::vbQuestion, kHint};
}

ui::Message confirmOtherPagesOff()
{
    return {QStringLiteral("确实要取消确实要取消其他网页的设置吗？"), ui::vbOKCancel + ui::vbQuestion, kHint};
}

ui::Message confirmBackgroundOff()
{
    return {QStringLiteral("确实要取消背景图片吗？"), ui::vbOKCancel + ui::vbQuestion, kHint};
}

ui::Message noFontChosen()
{
    return {QStringLiteral("请选择一种字体！"), ui::vbInformation, kHint};
}

} // namespace msg

} // namespace profile
