#include "profile/infofrm.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "profile/infoactions.h"
#include "profile/tmpl.h"
#include "ui/artwork.h"
#include "ui/dialogparts.h"
#include "ui/viewloads.h"

#include <QGridLayout>
#include <QMdiArea>
#include <QPointer>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>

using namespace profile;

namespace {

const QSize kViewSize = twips::rect(0, 0, 9015, 5520).size();
const QSize kContentSize(530, 280);
const int kMinOffset = twips::toPx(1000);

} // namespace

infoFrm::infoFrm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("infoFrm"));
    setWindowTitle(QStringLiteral("基本信息"));
    setWindowIcon(artwork::toolIcon(2));

    frm_info = new QWidget(this);
    frm_info->setObjectName(QStringLiteral("frm_info"));
    frm_info->setGeometry(QRect(QPoint(kMinOffset, kMinOffset), kContentSize));

    Frame1 = new QGroupBox(QStringLiteral("单位徽标"), frm_info);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(0, 0, 170, 226);
    img = new QLabel(Frame1);
    img->setObjectName(QStringLiteral("img"));
    img->setGeometry(10, 22, 150, 150);
    img->setFrameShape(QFrame::StyledPanel);
    img->setAlignment(Qt::AlignCenter);
    cmd_view = dialogparts::button(Frame1, "cmd_view", QStringLiteral("浏览..."));
    cmd_view->setGeometry(10, 184, 72, 28);
    cmd_img_cancel = dialogparts::button(Frame1, "cmd_img_cancel", QStringLiteral("取消"));
    cmd_img_cancel->setGeometry(88, 184, 72, 28);

    cmd_ok = dialogparts::button(frm_info, "cmd_ok", QStringLiteral("保存"));
    cmd_ok->setGeometry(45, 240, 80, 30);
    cmd_ok->setEnabled(false);

    Frame2 = new QGroupBox(QStringLiteral("基本信息"), frm_info);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(180, 0, 350, 280);
    auto *grid = new QGridLayout(Frame2);
    grid->setContentsMargins(12, 6, 12, 8);
    grid->setVerticalSpacing(4);
    const std::pair<const char *, const char *> rows[] = {
        {"txt_webName", "网站名称："}, {"txt_govName", "单位名称："}, {"txt_addr", "通讯地址："},
        {"txt_linkMan", "联 系 人："},  {"txt_tel", "联系电话："},     {"txt_mobile", "手　　机："},
        {"txt_fax", "传　　真："},     {"txt_zip", "邮政编码："},     {"txt_email", "电子邮件："},
    };
    QLineEdit **boxes[] = {&txt_webName, &txt_govName, &txt_addr, &txt_linkMan, &txt_tel,
                           &txt_mobile,  &txt_fax,     &txt_zip,  &txt_email};
    for (int i = 0; i < 9; ++i) {
        auto *box = new QLineEdit(Frame2);
        box->setObjectName(QString::fromLatin1(rows[i].first));
        grid->addWidget(new QLabel(QString::fromUtf8(rows[i].second), Frame2), i, 0);
        grid->addWidget(box, i, 1);
        *boxes[i] = box;
        connect(box, &QLineEdit::textChanged, this, [this] { cmd_ok->setEnabled(true); });
        // Enter saves, as the view's default button.
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (cmd_ok->isEnabled())
                cmd_ok_Click();
        });
    }

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    connect(cmd_ok, &QPushButton::clicked, this, &infoFrm::cmd_ok_Click);
    connect(cmd_view, &QPushButton::clicked, this, &infoFrm::cmd_view_Click);
    connect(cmd_img_cancel, &QPushButton::clicked, this, &infoFrm::cmd_img_cancel_Click);

    setMinimumSize(kViewSize);
    resize(kViewSize);
}

void infoFrm::Form_Load()
{
    try {
        const Profile p = ProfileStore(app().conn).load();
        const std::pair<const char *, QLineEdit *> fields[] = {
            {"webName", txt_webName}, {"gov_name", txt_govName}, {"address", txt_addr},
            {"email", txt_email},     {"fax", txt_fax},          {"linkman", txt_linkMan},
            {"mobile", txt_mobile},   {"tel", txt_tel},          {"zip", txt_zip},
        };
        for (const auto &[column, box] : fields)
            if (const auto v = p.value(QLatin1String(column)))
                box->setText(*v);
        if (const auto logo = p.value(QStringLiteral("logo"))) {
            m_logoName = *logo;
            m_logoFile = *logo;
        }
        frm_info->setEnabled(true);
    } catch (const std::exception &e) {
        // Nothing can be typed into a view that shows none of the stored information: its
        // save would write the empty boxes over it. Told, and loaded again once the
        // database can be read.
        frm_info->setEnabled(false);
        viewloads::failed(this, e, ui::vbInformation, [this] { Form_Load(); });
    }
    if (!m_logoFile.isEmpty())
        showPicture(img, datafiles::storedFile(app().currImgPath, m_logoFile));
    cmd_ok->setEnabled(false);
}

infoFrm::~infoFrm()
{
    if (app().conn.isOpen())
        m_logoFiles.abandoned(app().conn, app().currImgPath);
}

void infoFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int bar = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - bar, width(), bar);
    frm_info->move(std::max((width() - kContentSize.width()) / 2, kMinOffset),
                   std::max((height() - kContentSize.height()) / 2, kMinOffset));
}

void infoFrm::Form_Deactivate()
{
    if (!cmd_ok->isEnabled() || m_warning)
        return;
    // Only another view taking the focus counts, not a box or dialog above this one.
    if (QMdiArea *area = forms().mdiArea()) {
        QMdiSubWindow *active = area->activeSubWindow();
        if (!active || active == FormRegistry::subWindowOf(this))
            return;
    }
    m_warning = true;
    ui::show(msg::unsavedInfo());
    m_warning = false;
    // Back to this view once the other view's activation has run its course.
    QPointer<infoFrm> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self)
            forms().showAndFocus(self);
    });
}

bool infoFrm::Form_QueryUnload()
{
    if (!cmd_ok->isEnabled())
        return true;
    // Nothing is saved or discarded: the edits stay in the view, which stays in front.
    m_warning = true;
    ui::show(msg::unsavedInfo());
    m_warning = false;
    forms().showAndFocus(this);
    return false;
}

void infoFrm::cmd_ok_Click()
{
    BasicInfo info;
    info.webName = txt_webName->text();
    info.gov_name = txt_govName->text();
    info.address = txt_addr->text();
    info.linkMan = txt_linkMan->text();
    info.tel = txt_tel->text();
    info.mobile = txt_mobile->text();
    info.fax = txt_fax->text();
    info.zip = txt_zip->text();
    info.email = txt_email->text();
    info.logo = m_logoName;
    const Outcome r = saveBasicInfo(app().conn, info, m_logoFiles, app().currImgPath);
    if (r.done)
        cmd_ok->setEnabled(false);
    ui::show(*r.message);
}

void infoFrm::cmd_view_Click()
{
    const auto file = ui::prompter().openFile(
        this, {QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif"), QString(), QString()});
    if (!file)
        return;
    const Import r = importLogo(app().conn, *file, app().currImgPath, m_logoFiles);
    if (!r.name) {
        ui::show(*r.message);
        return;
    }
    if (m_logoFile != *r.name)
        m_logoFiles.replaces(m_logoFile);
    m_logoName = *r.name;
    m_logoFile = *r.name;
    showPicture(img, datafiles::storedFile(app().currImgPath, m_logoFile));
    cmd_ok->setEnabled(true);
}

void infoFrm::cmd_img_cancel_Click()
{
    const Outcome r = cancelLogo(app().conn, app().currImgPath, m_logoFile, m_logoFiles);
    if (r.done) {
        img->clear();
        m_logoName.clear();
        m_logoFile.clear();
    }
    ui::show(*r.message);
}
