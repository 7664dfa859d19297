#include "content/insdatafrm_dialogs.h"

#include "content/insdatafrm.h"
#include "content/mydate.h"
#include "content/picturechoice.h"
#include "content/pictures.h"
#include "core/appcontext.h"
#include "core/twips.h"
#include "ui/dialogparts.h"

#include <QFileInfo>

using namespace content;
using twips::toPx;

namespace {

// A label whose top left corner stands at a point given in twips, sized to its caption.
QLabel *label(QWidget *parent, const char *name, const QString &caption, QPoint at)
{
    QLabel *l = dialogparts::label(parent, name, caption);
    l->move(toPx(at.x()), toPx(at.y()));
    l->adjustSize();
    return l;
}

// A button placed by a rectangle given in twips.
QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect place)
{
    return dialogparts::button(parent, name, caption, twips::rect(place.x(), place.y(), place.width(), place.height()));
}

// A box with the system's application-workspace colour.
void workspaceBackground(QWidget *w)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Dark));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

// ---- Shared -------------------------------------------------------------------------

EntryDialog::EntryDialog(QWidget *parent)
    : QDialog(parent)
{
    // Copies the dialog made go again when it closes without storing.
    connect(this, &QDialog::rejected, this, [this] {
        if (app().conn.isOpen())
            m_files.abandoned(app().conn, app().currImgPath);
    });
    // Unloaded when it closes, so that the next opening starts afresh.
    connect(this, &QDialog::finished, this, [this] { forms().unloadWidget(this); });
}

insDataFrm *EntryDialog::view()
{
    return forms().find<insDataFrm>();
}

void EntryDialog::finish(const StoreResult &result)
{
    if (result.message)
        ui::show(*result.message);
    if (result.stored) {
        m_files.saved(app().conn, app().currImgPath);
        if (insDataFrm *v = view())
            v->reloadPage();
        accept();
    } else if (result.close) {
        reject();
    }
}

namespace {
design::Level viewLevel(insDataFrm *v)
{
    return v ? v->currLevel() : design::Level::Other;
}
QString viewPage(insDataFrm *v)
{
    return v ? v->currText() : QString();
}
} // namespace

std::optional<QSqlRecord> EntryDialog::loadChosenRecord()
{
    insDataFrm *v = view();
    if (!v || !design::tablesOf(v->currLevel())) {
        ui::show(msg::columnChoiceError());
        forms().unloadWidget(this);
        return std::nullopt;
    }
    const std::optional<qint64> id = chosenRecordId(v->webMultiData->value(QStringLiteral("currID")));
    if (!id) {
        ui::show(msg::noRecordChosen());
        forms().unloadWidget(this);
        return std::nullopt;
    }
    m_id = *id;
    try {
        return ContentStore(app().conn).loadRecord(v->currLevel(), v->currText(), m_id);
    } catch (const std::exception &e) {
        // Not shown: its save would write the empty fields over the record it could not read.
        ui::show(msg::failure(err::descriptionOf(e)));
        forms().unloadWidget(this);
        return std::nullopt;
    }
}

// ---- News ---------------------------------------------------------------------------

NewsDialog::NewsDialog(QWidget *parent, const QString &caption, const QString &okCaption, int shift)
    : EntryDialog(parent)
{
    setWindowTitle(caption);
    setFixedSize(toPx(8445), toPx(5025));
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips::rect(75 - shift, 90 - shift, 8310, 4170));
    Label1 = label(Frame1, "Label1", QStringLiteral("标题："), QPoint(135, 285));
    txt_title = new QLineEdit(Frame1);
    txt_title->setObjectName(QStringLiteral("txt_title"));
    txt_title->setGeometry(twips::rect(660, 225, 2910, 330));
    Label4 = label(Frame1, "Label4", QStringLiteral("日期："), QPoint(3705, 300));
    Label2 = label(Frame1, "Label2", QStringLiteral("内容："), QPoint(2910, 810));
    txt_content = dialogparts::textBox(Frame1, "txt_content");
    txt_content->setGeometry(twips::rect(2730, 1125, 5475, 2955));
    txt_content->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label3 = label(Frame1, "Label3", QStringLiteral("图片："), QPoint(135, 795));
    img = new QLabel(Frame1);
    img->setObjectName(QStringLiteral("img"));
    img->setFrameShape(QFrame::Box);
    img->setScaledContents(true);
    img->setGeometry(twips::rect(135, 1125, 2430, 2475));
    lbl_imgName = new QLabel(Frame1);
    lbl_imgName->setObjectName(QStringLiteral("lbl_imgName"));
    lbl_imgName->setGeometry(twips::rect(180, 3705, 1515, 330));
    cmd_img = button(Frame1, "cmd_img", QStringLiteral("浏览..."), QRect(1725, 3705, 840, 330));
    // The date box opens its calendar downwards over the body box.
    myDate1 = new myDate(Frame1);
    myDate1->setObjectName(QStringLiteral("myDate1"));
    myDate1->move(toPx(4245), toPx(300) - toPx(30));
    OKButton = button(this, "OKButton", okCaption, QRect(4905 - shift, 4470 - shift, 1215, 375));
    OKButton->setDefault(true);
    CancelButton = button(this, "CancelButton", QStringLiteral("取消"), QRect(6615 - shift, 4455 - shift, 1215, 375));
    // Tab in reading order: the title and the date, the body, the picture, the buttons.
    QWidget *const chain[] = {txt_title, myDate1, txt_content, cmd_img, OKButton, CancelButton};
    for (size_t i = 0; i + 1 < std::size(chain); ++i)
        setTabOrder(chain[i], chain[i + 1]);
    connect(cmd_img, &QPushButton::clicked, this, &NewsDialog::cmd_img_Click);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &EntryDialog::CancelButton_Click);
}

NewsItem NewsDialog::item() const
{
    NewsItem n;
    n.title = txt_title->text();
    n.date = myDate1->value();
    n.body = textforms::encode(textforms::toStoredLines(txt_content->toPlainText()));
    n.picture = lbl_imgName->text();
    return n;
}

void NewsDialog::cmd_img_Click()
{
    const auto chosen = choosePicture(this, app().currImgPath, m_files);
    if (!chosen)
        return;
    if (m_curName != chosen->name)
        m_files.replaces(m_curName);
    m_newName = m_curName = chosen->name;
    lbl_imgName->setText(chosen->name);
    img->setPixmap(QPixmap::fromImage(chosen->image));
}

insDatafrm_news::insDatafrm_news(QWidget *parent)
    : NewsDialog(parent, QStringLiteral("添加数据"), QStringLiteral("添加"), 0)
{
    setObjectName(QStringLiteral("insDatafrm_news"));
}

void insDatafrm_news::OKButton_Click()
{
    ContentStore store(app().conn);
    finish(addNews(store, viewLevel(view()), viewPage(view()), item()));
}

insDataFrm_newsMod::insDataFrm_newsMod(QWidget *parent)
    : NewsDialog(parent, QStringLiteral("修改数据"), QStringLiteral("修改"), 90)
{
    setObjectName(QStringLiteral("insDataFrm_newsMod"));
}

void insDataFrm_newsMod::Form_Load()
{
    const std::optional<QSqlRecord> rec = loadChosenRecord();
    if (!rec)
        return;
    const NewsItem n = readNews(*rec);
    txt_title->setText(n.title);
    myDate1->setValue(n.date);
    txt_content->setPlainText(textforms::toBoxLines(textforms::decode(n.body)));
    lbl_imgName->setText(n.picture);
    if (!n.picture.isEmpty()) {
        const QImage picture = pictures::load(datafiles::storedFile(app().currImgPath, n.picture));
        if (!picture.isNull())
            img->setPixmap(QPixmap::fromImage(picture));
    }
    m_newName = m_curName = n.picture;
}

void insDataFrm_newsMod::OKButton_Click()
{
    NewsItem n = item();
    n.id = m_id;
    ContentStore store(app().conn);
    finish(modifyNews(store, viewLevel(view()), viewPage(view()), n));
}

// ---- Gallery ------------------------------------------------------------------------

GalleryDialog::GalleryDialog(QWidget *parent, const QString &caption, const QString &labelCaption,
                             const QString &okCaption, bool modify)
    : EntryDialog(parent)
{
    setWindowTitle(caption);
    setFixedSize(toPx(8445), toPx(5025));
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips::rect(75, modify ? 0 : 60, 8310, 4170));
    Label1 = new QLabel(labelCaption, Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(modify ? twips::rect(360, 360, 1275, 330) : twips::rect(315, 360, 1275, 330));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txt_title = new QLineEdit(Frame1);
    txt_title->setObjectName(QStringLiteral("txt_title"));
    txt_title->setGeometry(twips::rect(1590, 270, 4950, 330));
    Label3 = label(Frame1, "Label3", QStringLiteral("缩略图片："), QPoint(270, 795));
    pic_imgsSmall = new QLabel(Frame1);
    pic_imgsSmall->setObjectName(QStringLiteral("pic_imgsSmall"));
    pic_imgsSmall->setFrameShape(QFrame::Panel);
    pic_imgsSmall->setFrameShadow(QFrame::Sunken);
    pic_imgsSmall->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    workspaceBackground(pic_imgsSmall);
    m_thumbBox = QSize(2115, pictures::kThumbStartHeight);
    pic_imgsSmall->setGeometry(twips::rect(135, 1080, m_thumbBox.width(), m_thumbBox.height()));
    Label2 = label(Frame1, "Label2", QStringLiteral("实际大小："), QPoint(2760, 810));
    pic_imgs = new QFrame(Frame1);
    pic_imgs->setObjectName(QStringLiteral("pic_imgs"));
    workspaceBackground(pic_imgs);
    pic_imgs->setGeometry(twips::rect(modify ? 2520 : 2535, 1065, pictures::kPreviewWidth, pictures::kPreviewHeight));
    img = new QLabel(pic_imgs);
    img->setObjectName(QStringLiteral("img"));
    img->move(0, 0);
    scrl[0] = new QScrollBar(Qt::Vertical, pic_imgs);
    scrl[0]->setObjectName(QStringLiteral("scrl_0"));
    scrl[0]->setGeometry(twips::rect(5355, 0, 285, 2685));
    scrl[1] = new QScrollBar(Qt::Horizontal, pic_imgs);
    scrl[1]->setObjectName(QStringLiteral("scrl_1"));
    scrl[1]->setGeometry(twips::rect(0, 2670, 5355, 285));
    lbl_angr = new QLabel(pic_imgs);
    lbl_angr->setObjectName(QStringLiteral("lbl_angr"));
    lbl_angr->setGeometry(twips::rect(5295, 2670, 330, 390));
    lbl_angr->setAutoFillBackground(true);
    for (int i = 0; i < 2; ++i) {
        scrl[i]->setSingleStep(10);
        scrl[i]->hide();
        connect(scrl[i], &QScrollBar::valueChanged, this, [this, i] { scrl_Change(i); });
    }
    lbl_angr->hide();
    lbl_imgName = new QLabel(Frame1);
    lbl_imgName->setObjectName(QStringLiteral("lbl_imgName"));
    lbl_imgName->setGeometry(twips::rect(75, 3465, 1515, 330));
    cmd_img = button(Frame1, "cmd_img", QStringLiteral("浏览..."), QRect(1620, 3465, 840, 330));
    OKButton = button(this, "OKButton", okCaption, modify ? QRect(4815, 4350, 1215, 375) : QRect(4815, 4380, 1215, 375));
    OKButton->setDefault(true);
    CancelButton = button(this, "CancelButton", QStringLiteral("取消"),
                          modify ? QRect(6525, 4335, 1215, 375) : QRect(6540, 4365, 1215, 375));
    connect(cmd_img, &QPushButton::clicked, this, &GalleryDialog::cmd_img_Click);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &EntryDialog::CancelButton_Click);
}

GalleryItem GalleryDialog::item() const
{
    return {0, txt_title->text(), m_picName, m_thumbName};
}

void GalleryDialog::showPreview(const QImage &picture)
{
    img->move(0, 0);
    if (picture.isNull()) {
        img->clear();
        img->resize(0, 0);
    } else {
        img->setPixmap(QPixmap::fromImage(picture));
        img->resize(picture.size());
    }
    const pictures::PreviewBars bars = pictures::previewBars(pictures::naturalTwips(picture));
    const bool shown[2] = {bars.vertical, bars.horizontal};
    const int ranges[2] = {bars.verticalRange, bars.horizontalRange};
    for (int i = 0; i < 2; ++i) {
        QSignalBlocker block(scrl[i]);
        scrl[i]->setRange(0, toPx(ranges[i]));
        scrl[i]->setValue(0);
        scrl[i]->setPageStep(i == 0 ? pic_imgs->height() : pic_imgs->width());
        scrl[i]->setVisible(shown[i]);
        scrl[i]->raise();
    }
    scrl[0]->resize(scrl[0]->width(), toPx(bars.verticalLength));
    scrl[1]->resize(toPx(bars.horizontalLength), scrl[1]->height());
    lbl_angr->setVisible(bars.corner);
    lbl_angr->raise();
}

void GalleryDialog::scrl_Change(int index)
{
    if (index == 0)
        img->move(img->x(), -scrl[0]->value());
    else
        img->move(-scrl[1]->value(), img->y());
}

void GalleryDialog::showThumbnail(const QImage &thumbnail, QSize box)
{
    pic_imgsSmall->setPixmap(QPixmap::fromImage(thumbnail));
    pic_imgsSmall->resize(toPx(box.width()), toPx(box.height()));
    m_thumbBox = box;
}

void GalleryDialog::cmd_img_Click()
{
    const auto chosen = choosePicture(this, app().currImgPath, m_files);
    if (!chosen)
        return;
    // Every choice starts from the box's design size, whatever the last picture made of it.
    const QSize thumbSize = pictures::thumbnailSize(pictures::naturalTwips(chosen->image), pictures::kThumbWidth,
                                                    pictures::kThumbStartHeight);
    QString thumbName;
    QImage thumbnail;
    try {
        thumbName = ContentStore(app().conn).freeThumbnailName(chosen->name, app().currImgPath, m_thumbName);
        const QString thumbPath = app().currImgPath + thumbName;
        // A thumbnail the site names is that of this very picture (the choice took the
        // stored picture's name only for the same bytes): it stays as the records have it.
        if (QFileInfo::exists(thumbPath) && datafiles::isNamed(app().conn, thumbName)) {
            thumbnail = pictures::load(thumbPath);
        } else {
            thumbnail = pictures::writeThumbnail(chosen->image, thumbSize, thumbPath);
            m_files.chose(thumbName);
        }
    } catch (const std::exception &e) {
        // The dialog keeps the names it had: nothing names a file that was not made.
        ui::show(msg::pictureFailed(err::descriptionOf(e)));
        return;
    }
    if (m_picName != chosen->name)
        m_files.replaces(m_picName);
    if (m_thumbName != thumbName)
        m_files.replaces(m_thumbName);
    m_picName = chosen->name;
    m_thumbName = thumbName;
    lbl_imgName->setText(chosen->name);
    showThumbnail(thumbnail, thumbSize);
    showPreview(chosen->image);
}

insDataFrm_imgs::insDataFrm_imgs(QWidget *parent)
    : GalleryDialog(parent, QStringLiteral("添加数据"), QStringLiteral("图片文字说明："), QStringLiteral("添加"), false)
{
    setObjectName(QStringLiteral("insDataFrm_imgs"));
}

void insDataFrm_imgs::OKButton_Click()
{
    ContentStore store(app().conn);
    finish(addGallery(store, viewLevel(view()), viewPage(view()), item()));
}

insDataFrm_imgsMod::insDataFrm_imgsMod(QWidget *parent)
    : GalleryDialog(parent, QStringLiteral("预览数据"), QStringLiteral("图片文说明："), QStringLiteral("修改"), true)
{
    setObjectName(QStringLiteral("insDataFrm_imgsMod"));
}

void insDataFrm_imgsMod::Form_Load()
{
    const std::optional<QSqlRecord> rec = loadChosenRecord();
    if (!rec)
        return;
    const GalleryItem g = readGallery(*rec);
    txt_title->setText(g.caption);
    lbl_imgName->setText(g.picture);
    m_picName = g.picture;
    m_thumbName = g.thumbnail;
    // Files that cannot be read leave their boxes empty.
    showPreview(g.picture.isEmpty() ? QImage() : pictures::load(datafiles::storedFile(app().currImgPath, g.picture)));
    if (!g.thumbnail.isEmpty()) {
        const QImage thumbnail = pictures::load(datafiles::storedFile(app().currImgPath, g.thumbnail));
        if (!thumbnail.isNull())
            showThumbnail(thumbnail, pictures::naturalTwips(thumbnail));
    }
}

void insDataFrm_imgsMod::OKButton_Click()
{
    GalleryItem g = item();
    g.id = m_id;
    ContentStore store(app().conn);
    finish(modifyGallery(store, viewLevel(view()), viewPage(view()), g));
}
