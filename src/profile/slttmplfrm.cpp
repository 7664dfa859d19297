#include "profile/slttmplfrm.h"

#include "core/appcontext.h"
#include "core/stylemanifest.h"
#include "core/twips.h"
#include "profile/slttmpl_editors.h"
#include "profile/slttmpl_pickers.h"
#include "profile/slttmpl_previews.h"
#include "profile/tmpl.h"
#include "ui/artwork.h"
#include "ui/dialogparts.h"
#include "ui/inputhelpers.h"
#include "ui/viewloads.h"

#include <QDir>
#include <QEvent>
#include <QResizeEvent>
#include <QSignalBlocker>

using namespace profile;

namespace {

// The designed size of the view and of its centred contents, in pixels.
const QSize kViewSize = twips::rect(0, 0, 11175, 7035).size();
const QSize kContentSize(670, 375);
const int kMinOffset = twips::toPx(1000);

template <class W> W *make(QWidget *parent, const char *name, QRect place)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(place);
    return w;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, QRect place)
{
    auto *f = make<QGroupBox>(parent, name, place);
    f->setTitle(caption);
    return f;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, QRect place)
{
    auto *l = make<QLabel>(parent, name, place);
    l->setText(caption);
    return l;
}

// A picture box: the picture scaled into it.
QLabel *pictureBox(QWidget *parent, const char *name, QRect place, bool framed = false)
{
    auto *l = make<QLabel>(parent, name, place);
    l->setAlignment(Qt::AlignCenter);
    if (framed)
        l->setFrameShape(QFrame::StyledPanel);
    return l;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, QRect place)
{
    auto *c = make<QCheckBox>(parent, name, place);
    c->setText(caption);
    return c;
}

void enableAll(std::initializer_list<QWidget *> widgets, bool on)
{
    for (QWidget *w : widgets)
        w->setEnabled(on);
}

} // namespace

sltTmplFrm::sltTmplFrm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sltTmplFrm"));
    setWindowTitle(QStringLiteral("选择模版"));
    setWindowIcon(artwork::toolIcon(3));

    Frame100 = make<QWidget>(this, "Frame100", QRect(QPoint(kMinOffset, kMinOffset), kContentSize));

    // Templates.
    Frame1 = frame(Frame100, "Frame1", QStringLiteral("首页模版"), QRect(0, 0, 162, 126));
    imgDefaultTmpl = pictureBox(Frame1, "imgDefaultTmpl", QRect(7, 18, 148, 80));
    lbl_defaultTmpl = label(Frame1, "lbl_defaultTmpl", QString(), QRect(8, 100, 80, 22));
    cmd_default = dialogparts::button(Frame1, "cmd_default", QStringLiteral("选择"), QRect(96, 99, 60, 24));
    Frame2 = frame(Frame100, "Frame2", QStringLiteral("内页模版"), QRect(168, 0, 162, 126));
    imgHeadTmpl = pictureBox(Frame2, "imgHeadTmpl", QRect(7, 18, 148, 80));
    lbl_headTmpl = label(Frame2, "lbl_headTmpl", QString(), QRect(8, 100, 80, 22));
    cmd_head = dialogparts::button(Frame2, "cmd_head", QStringLiteral("选择"), QRect(96, 99, 60, 24));

    // Name styles.
    Frame3 = frame(Frame100, "Frame3", QStringLiteral("首页中单位名称的样式"), QRect(0, 131, 330, 64));
    imgDefault = pictureBox(Frame3, "imgDefault", QRect(8, 19, 250, 40));
    cmd_DefaultFont = dialogparts::button(Frame3, "cmd_DefaultFont", QStringLiteral("选择"), QRect(264, 26, 60, 24));
    Frame4 = frame(Frame100, "Frame4", QStringLiteral("内页中单位名称的样式"), QRect(0, 200, 330, 64));
    imgHead = pictureBox(Frame4, "imgHead", QRect(8, 19, 250, 40));
    cmd_headFont = dialogparts::button(Frame4, "cmd_headFont", QStringLiteral("选择"), QRect(264, 26, 60, 24));

    // Background.
    Frame5 = frame(Frame100, "Frame5", QStringLiteral("背景图片"), QRect(0, 269, 330, 106));
    img_bg = pictureBox(Frame5, "img_bg", QRect(8, 20, 78, 78), true);
    lbl_bg = label(Frame5, "lbl_bg", QString(), QRect(96, 24, 226, 22));
    cmd_bgOK = dialogparts::button(Frame5, "cmd_bgOK", QStringLiteral("选择"), QRect(96, 68, 70, 26));
    cmd_bgCancel = dialogparts::button(Frame5, "cmd_bgCancel", QStringLiteral("取消"), QRect(172, 68, 70, 26));

    // The user's own pages.
    Frame6 = frame(Frame100, "Frame6", QStringLiteral("高级设计"), QRect(340, 0, 330, 222));
    int y = 18;
    chk_default = checkBox(Frame6, "chk_default", QStringLiteral("自定制首页"), QRect(8, y, 300, 22));
    lbl_default = label(Frame6, "lbl_default", QStringLiteral("首页文件名："), QRect(26, y + 28, 78, 22));
    txt_default = make<QLineEdit>(Frame6, "txt_default", QRect(104, y + 27, 110, 24));
    cmd_sltDefault = dialogparts::button(Frame6, "cmd_sltDefault", QStringLiteral("浏览..."), QRect(218, y + 26, 54, 26));
    cmd_viewDefault = dialogparts::button(Frame6, "cmd_viewDefault", QStringLiteral("查看"), QRect(274, y + 26, 48, 26));
    cmd_viewDefault->setToolTip(QStringLiteral("浏览当前首页文件"));
    y += 66;
    chk_head = checkBox(Frame6, "chk_head", QStringLiteral("自定制内页头部"), QRect(8, y, 300, 22));
    lbl_head = label(Frame6, "lbl_head", QStringLiteral("内页文件名："), QRect(26, y + 28, 78, 22));
    txt_head = make<QLineEdit>(Frame6, "txt_head", QRect(104, y + 27, 110, 24));
    cmd_sltHead = dialogparts::button(Frame6, "cmd_sltHead", QStringLiteral("浏览..."), QRect(218, y + 26, 54, 26));
    cmd_viewHead = dialogparts::button(Frame6, "cmd_viewHead", QStringLiteral("查看"), QRect(274, y + 26, 48, 26));
    cmd_viewHead->setToolTip(QStringLiteral("浏览当前内页文件"));
    y += 66;
    chk_other = checkBox(Frame6, "chk_other", QStringLiteral("其他网页内容"), QRect(8, y, 300, 22));
    lbl_other = label(Frame6, "lbl_other", QStringLiteral("已存在的网页"), QRect(26, y + 28, 78, 22));
    cmb_other = make<QComboBox>(Frame6, "cmb_other", QRect(104, y + 27, 110, 24));
    cmd_other = dialogparts::button(Frame6, "cmd_other", QStringLiteral("浏览..."), QRect(218, y + 26, 54, 26));
    enableAll({cmd_viewDefault, cmd_viewHead, cmd_other}, false);
    for (QLineEdit *box : {txt_default, txt_head})
        box->setReadOnly(true);

    // Extra features.
    Frame7 = frame(Frame100, "Frame7", QStringLiteral("增强功能"), QRect(340, 228, 330, 147));
    Frame7->setMouseTracking(true);
    Frame7->installEventFilter(this);
    const QStringList features = {QStringLiteral("站点论坛"), QStringLiteral("邮局登陆"),
                                  QStringLiteral("弹出窗口"), QStringLiteral("JavaSript脚本效果"),
                                  QStringLiteral("客户留言"), QStringLiteral("办公系统")};
    for (int i = 0; i < kFeatureCount; ++i) {
        QCheckBox *box = checkBox(Frame7, "chk_pertain", features.at(i), QRect(14 + (i % 2) * 160, 26 + (i / 2) * 36, 150, 24));
        box->setProperty("index", i);
        chk_pertain << box;
        connect(box, &QCheckBox::clicked, this, [this, i] { chk_pertain_MouseUp(i); });
    }

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1_panel1 = new QLabel(StatusBar1);
    StatusBar1_panel1->setObjectName(QStringLiteral("StatusBar1_panel1"));
    StatusBar1->addWidget(StatusBar1_panel1, 1);

    connect(cmd_default, &QPushButton::clicked, this, &sltTmplFrm::cmd_default_Click);
    connect(cmd_head, &QPushButton::clicked, this, &sltTmplFrm::cmd_head_Click);
    connect(cmd_DefaultFont, &QPushButton::clicked, this, &sltTmplFrm::cmd_DefaultFont_Click);
    connect(cmd_headFont, &QPushButton::clicked, this, &sltTmplFrm::cmd_headFont_Click);
    connect(cmd_viewDefault, &QPushButton::clicked, this, &sltTmplFrm::cmd_viewDefault_Click);
    connect(cmd_viewHead, &QPushButton::clicked, this, &sltTmplFrm::cmd_viewHead_Click);
    connect(cmd_bgOK, &QPushButton::clicked, this, &sltTmplFrm::cmd_bgOK_Click);
    connect(cmd_bgCancel, &QPushButton::clicked, this, &sltTmplFrm::cmd_bgCancel_Click);
    connect(cmd_sltDefault, &QPushButton::clicked, this, &sltTmplFrm::cmd_sltDefault_Click);
    connect(cmd_sltHead, &QPushButton::clicked, this, &sltTmplFrm::cmd_sltHead_Click);
    connect(cmd_other, &QPushButton::clicked, this, &sltTmplFrm::cmd_other_Click);
    connect(chk_default, &QCheckBox::clicked, this, &sltTmplFrm::chk_default_Click);
    connect(chk_head, &QCheckBox::clicked, this, &sltTmplFrm::chk_head_Click);
    connect(chk_other, &QCheckBox::clicked, this, &sltTmplFrm::chk_other_Click);
    connect(txt_default, &QLineEdit::textChanged, this, [this] { cmd_viewDefault->setEnabled(true); });
    connect(txt_head, &QLineEdit::textChanged, this, [this] { cmd_viewHead->setEnabled(true); });

    setMinimumSize(kViewSize);
    resize(kViewSize);
}

void sltTmplFrm::Form_Load()
{
    Profile p;
    try {
        p = ProfileStore(app().conn).load();
    } catch (const std::exception &e) {
        viewloads::failed(this, e, ui::vbInformation, [this] { Form_Load(); });
    }
    if (p.found) {
        const QString home = p.text(QStringLiteral("defaultFile"));
        if (!home.trimmed().isEmpty()) {
            txt_default->setText(home);
            setTicked(chk_default, true);
            homePageOn(true);
        } else {
            enableAll({lbl_default, txt_default, cmd_sltDefault}, false);
        }
        const QString head = p.text(QStringLiteral("topHead"));
        if (!head.trimmed().isEmpty()) {
            setTicked(chk_head, true);
            headOn(true);
            txt_head->setText(head);
        } else {
            enableAll({lbl_head, txt_head, cmd_sltHead}, false);
        }
        const QStringList pages = decodeExtraPages(p.text(QStringLiteral("field01")));
        if (pages.isEmpty()) {
            enableAll({cmd_other, lbl_other, cmb_other}, false);
        } else {
            cmb_other->clear();
            cmb_other->addItems(pages);
            cmb_other->setCurrentIndex(0);
            setTicked(chk_other, true);
            otherPagesOn(true);
        }
        for (int i = 0; i < kFeatureCount; ++i)
            setTicked(chk_pertain.at(i), featureOn(p, i));
        for (const Side side : {Side::Home, Side::Inner}) {
            const QString font = p.text(side == Side::Home ? QStringLiteral("defaultFont") : QStringLiteral("headFont"));
            if (!font.trimmed().isEmpty())
                showFont(side, font);
            const QString tmplName = p.text(side == Side::Home ? QStringLiteral("defaultTmpl") : QStringLiteral("headTmpl"));
            if (!tmplName.trimmed().isEmpty())
                showTemplate(side, tmplName);
        }
        const QString background = p.text(QStringLiteral("backGround"));
        if (!background.trimmed().isEmpty()) {
            showPicture(img_bg, datafiles::storedFile(app().currImgPath, background));
            lbl_bg->setText(background);
        }
    }
    resize(kViewSize);
    if (QMdiSubWindow *sub = FormRegistry::subWindowOf(this))
        sub->move(0, 0);
}

void sltTmplFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int bar = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - bar, width(), bar);
    const int top = std::max((height() - kContentSize.height()) / 2 - twips::toPx(200), kMinOffset);
    const int left = std::max((width() - kContentSize.width()) / 2, kMinOffset);
    Frame100->move(left, top);
}

bool sltTmplFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Frame7 && event->type() == QEvent::MouseMove)
        Frame7_MouseMove();
    return QWidget::eventFilter(watched, event);
}

void sltTmplFrm::setTicked(QCheckBox *box, bool ticked)
{
    const QSignalBlocker block(box);
    box->setChecked(ticked);
}

void sltTmplFrm::showFont(Side side, const QString &name)
{
    showPicture(side == Side::Home ? imgDefault : imgHead, app().currentPath + stylemanifest::kFontFolder + name);
}

void sltTmplFrm::showTemplate(Side side, const QString &value)
{
    showPicture(side == Side::Home ? imgDefaultTmpl : imgHeadTmpl,
                app().currentPath + stylemanifest::kTemplateFolder + value);
    (side == Side::Home ? lbl_defaultTmpl : lbl_headTmpl)->setText(templateLabel(value));
}

// ---- Opening the other windows ----------------------------------------------------------

void sltTmplFrm::cmd_default_Click()
{
    forms().showModal<sltTmplFrm_defaultTmpl>();
}

void sltTmplFrm::cmd_head_Click()
{
    forms().showModal<sltTmplFrm_headTmpl>();
}

void sltTmplFrm::cmd_DefaultFont_Click()
{
    forms().showModal<sltTmplFrm_defaultFont>();
}

void sltTmplFrm::cmd_headFont_Click()
{
    forms().showModal<sltTmplFrm_headFont>();
}

void sltTmplFrm::cmd_viewDefault_Click()
{
    forms().showModal<sltTmplFrm_view>();
}

void sltTmplFrm::cmd_viewHead_Click()
{
    forms().showModal<sltTmplFrm_viewHead>();
}

// ---- The rows of the user's own pages ---------------------------------------------------

void sltTmplFrm::homePageOn(bool on)
{
    enableAll({Frame1, cmd_default, Frame3, cmd_DefaultFont}, !on);
    enableAll({lbl_default, txt_default, cmd_sltDefault, cmd_viewDefault}, on);
}

void sltTmplFrm::headOn(bool on)
{
    enableAll({Frame4, cmd_headFont}, !on);
    enableAll({lbl_head, txt_head, cmd_sltHead, cmd_viewHead}, on);
}

void sltTmplFrm::otherPagesOn(bool on)
{
    enableAll({cmd_other, lbl_other, cmb_other}, on);
}

void sltTmplFrm::rowClicked(QCheckBox *box, void (sltTmplFrm::*rowOn)(bool), const ui::Message &question,
                            const std::function<Outcome()> &turnOff, const std::function<void()> &clear)
{
    if (box->isChecked()) {
        (this->*rowOn)(true);
        return;
    }
    if (ui::show(question) == ui::vbOK) {
        const Outcome r = turnOff();
        if (r.done) {
            clear();
            (this->*rowOn)(false);
            return;
        }
        ui::show(*r.message);
    }
    setTicked(box, true);
}

void sltTmplFrm::chk_default_Click()
{
    rowClicked(
        chk_default, &sltTmplFrm::homePageOn, msg::confirmHomePageOff(),
        [this] { return turnOffHomePage(app().conn, app().currImgPath, txt_default->text()); },
        [this] { txt_default->clear(); });
}

void sltTmplFrm::chk_head_Click()
{
    rowClicked(
        chk_head, &sltTmplFrm::headOn, msg::confirmHomePageOff(),
        [this] { return turnOffHead(app().conn, app().currImgPath, txt_head->text()); },
        [this] { txt_head->clear(); });
}

void sltTmplFrm::chk_other_Click()
{
    rowClicked(
        chk_other, &sltTmplFrm::otherPagesOn, msg::confirmOtherPagesOff(),
        [this] {
            QStringList shown;
            for (int i = 0; i < cmb_other->count(); ++i)
                shown << cmb_other->itemText(i);
            return turnOffOtherPages(app().conn, app().currImgPath, shown);
        },
        [this] { cmb_other->clear(); });
}

void sltTmplFrm::cmd_sltDefault_Click()
{
    const auto file = ui::prompter().openFile(
        this, {QStringLiteral("站点首页文件(default.htm)|default.htm"), QStringLiteral("default.htm"), QString()});
    if (!file)
        return;
    const Import r = importHomePage(app().conn, *file, app().currImgPath);
    if (r.message)
        ui::show(*r.message);
    if (r.name)
        txt_default->setText(*r.name);
}

void sltTmplFrm::cmd_sltHead_Click()
{
    const auto file = ui::prompter().openFile(
        this, {QStringLiteral("内页头文件(*.jpg,*.gif,*.swf)|*.jpg;*.gif;*.swf"), QString(), QString()});
    if (!file)
        return;
    const Import r = importHead(app().conn, *file, app().currImgPath);
    if (r.message)
        ui::show(*r.message);
    if (r.name)
        txt_head->setText(*r.name);
}

void sltTmplFrm::cmd_other_Click()
{
    const QString folder =
        mdl_mdifrm::browseForFolder(this, QStringLiteral("选择其他网页所在的路径"), QDir::currentPath());
    if (folder.isEmpty())
        return;
    const PagesImport r = importOtherPages(app().conn, folder, app().currImgPath);
    if (r.message)
        ui::show(*r.message);
    if (r.names) {
        cmb_other->clear();
        cmb_other->addItems(*r.names);
        cmb_other->setCurrentIndex(0);
    }
}

// ---- Features ---------------------------------------------------------------------------

void sltTmplFrm::chk_pertain_MouseUp(int index)
{
    QCheckBox *box = chk_pertain.value(index);
    if (!box)
        return;
    if (box->isChecked())
        StatusBar1_panel1->setText(msg::approvalHint());
    if (index == 2 || index == 3) {
        const bool before = !box->isChecked(); // as it was before this click
        if (ui::show(index == 2 ? msg::popupQuestion() : msg::scriptQuestion()) != ui::vbOK) {
            setTicked(box, false);
            const Outcome r = turnFeatureOff(app().conn, index);
            if (r.message)
                ui::show(*r.message);
            return;
        }
        setTicked(box, true);
        const int edited = index == 2 ? forms().showModal<sltTmplFrm_adBoardFrm>()
                                      : forms().showModal<sltTmplFrm_javaScrpt>();
        // Whichever way the editor closed, the box says what is stored; when that cannot
        // be read, an editor that stored nothing leaves the box as it was.
        try {
            setTicked(box, featureOn(ProfileStore(app().conn).load(), index));
        } catch (const std::exception &) {
            setTicked(box, edited == QDialog::Accepted || before);
        }
        return;
    }
    const Outcome r = setServiceSwitch(app().conn, index, box->isChecked());
    if (!r.done) {
        ui::show(*r.message);
        setTicked(box, !box->isChecked());
    }
}

void sltTmplFrm::Frame7_MouseMove()
{
    StatusBar1_panel1->clear();
}

// ---- Background -------------------------------------------------------------------------

void sltTmplFrm::cmd_bgOK_Click()
{
    const auto file = ui::prompter().openFile(
        this, {QStringLiteral("图像文件(*.jpg,*.bmp,*.gif)|*.jpg;*.bmp;*.gif"),
               app().currentPath + stylemanifest::kBackgroundFolder + QStringLiteral("0005.JPG"), QString()});
    if (!file)
        return;
    const Import r = chooseBackground(app().conn, *file, app().currImgPath);
    if (r.message)
        ui::show(*r.message);
    if (r.name) {
        showPicture(img_bg, app().currImgPath + *r.name);
        lbl_bg->setText(*r.name);
    }
}

void sltTmplFrm::cmd_bgCancel_Click()
{
    if (ui::show(msg::confirmBackgroundOff()) != ui::vbOK)
        return;
    const Outcome r = cancelBackground(app().conn, app().currImgPath, lbl_bg->text());
    if (!r.done) {
        ui::show(*r.message);
        return;
    }
    img_bg->clear();
    lbl_bg->clear();
}
