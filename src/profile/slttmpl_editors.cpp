#include "profile/slttmpl_editors.h"

#include "core/appcontext.h"
#include "profile/tmplactions.h"
#include "ui/dialogparts.h"
#include "ui/inputhelpers.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace profile;

namespace {

// The profile as stored now. An editor that cannot read it says so and goes without
// being shown: its 确定 would write its empty boxes over the stored setting.
std::optional<Profile> storedProfile(QDialog *editor)
{
    try {
        return ProfileStore(app().conn).load();
    } catch (const std::exception &e) {
        ui::show({err::withReason(QStringLiteral("读取已保存的设置失败，没有作任何修改！"), err::descriptionOf(e)),
                  ui::vbCritical, QStringLiteral("提示")});
        forms().unloadWidget(editor);
        return std::nullopt;
    }
}

} // namespace

sltTmplFrm_adBoardFrm::sltTmplFrm_adBoardFrm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("sltTmplFrm_adBoardFrm"));
    setWindowTitle(QStringLiteral("弹出窗口编辑"));
    Frame2 = new QGroupBox(QStringLiteral("窗口属性(单位：像素)"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    txt_width = dialogparts::lineEdit(Frame2, "txt_width");
    txt_height = dialogparts::lineEdit(Frame2, "txt_height");
    txt_top = dialogparts::lineEdit(Frame2, "txt_top");
    txt_left = dialogparts::lineEdit(Frame2, "txt_left");
    auto *sizes = new QGridLayout(Frame2);
    sizes->addWidget(new QLabel(QStringLiteral("宽度："), Frame2), 0, 0);
    sizes->addWidget(txt_width, 0, 1);
    sizes->addWidget(new QLabel(QStringLiteral("高度："), Frame2), 0, 2);
    sizes->addWidget(txt_height, 0, 3);
    sizes->addWidget(new QLabel(QStringLiteral("距屏幕顶边距离："), Frame2), 1, 0);
    sizes->addWidget(txt_top, 1, 1);
    sizes->addWidget(new QLabel(QStringLiteral("距屏幕左边距离："), Frame2), 1, 2);
    sizes->addWidget(txt_left, 1, 3);
    Frame1 = new QGroupBox(QStringLiteral("窗口内容"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    txt_title = dialogparts::lineEdit(Frame1, "txt_title");
    txt_content = dialogparts::textBox(Frame1, "txt_content");
    auto *content = new QFormLayout(Frame1);
    content->addRow(QStringLiteral("标题："), txt_title);
    content->addRow(QStringLiteral("内容："), txt_content);
    cmd_ok = dialogparts::button(this, "cmd_ok", QStringLiteral("确定"));
    cmd_cancel = dialogparts::button(this, "cmd_cancel", QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addWidget(Frame1, 1);
    // Enter presses no button here: it neither saves nor closes the editor.
    layout->addLayout(dialogparts::buttonRow(cmd_ok, cmd_cancel, dialogparts::EnterKey::Nothing));
    for (QLineEdit *box : {txt_width, txt_height, txt_top, txt_left})
        connect(box, &QLineEdit::textEdited, this, [box] { mdl_func::checkNumeric(box); });
    connect(cmd_ok, &QPushButton::clicked, this, &sltTmplFrm_adBoardFrm::cmd_ok_Click);
    connect(cmd_cancel, &QPushButton::clicked, this, &sltTmplFrm_adBoardFrm::cmd_cancel_Click);
    resize(460, 380);
}

void sltTmplFrm_adBoardFrm::Form_Load()
{
    const std::optional<Profile> p = storedProfile(this);
    if (!p)
        return;
    const PopupSetting s = decodePopup(p->text(QStringLiteral("adBoard")));
    txt_width->setText(s.width);
    txt_height->setText(s.height);
    txt_top->setText(s.top);
    txt_left->setText(s.left);
    txt_title->setText(s.title);
    txt_content->setPlainText(textforms::toBoxLines(textforms::decode(s.content)));
}

void sltTmplFrm_adBoardFrm::cmd_ok_Click()
{
    PopupSetting boxes;
    boxes.state = 1;
    boxes.width = txt_width->text();
    boxes.height = txt_height->text();
    boxes.top = txt_top->text();
    boxes.left = txt_left->text();
    boxes.title = txt_title->text();
    boxes.content = textforms::toStoredLines(txt_content->toPlainText());
    const Outcome r = savePopup(app().conn, boxes);
    if (!r.done) {
        ui::show(*r.message);
        if (const int bad = badPopupNumber(boxes)) {
            QLineEdit *box = QList<QLineEdit *>{txt_width, txt_height, txt_top, txt_left}.at(bad - 1);
            box->setFocus();
            box->selectAll();
        }
        return;
    }
    accept();
}

sltTmplFrm_javaScrpt::sltTmplFrm_javaScrpt(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("sltTmplFrm_javaScrpt"));
    setWindowTitle(QStringLiteral("JavaScript脚本效果"));
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cmb_javaScript = new QComboBox(Frame1);
    cmb_javaScript->setObjectName(QStringLiteral("cmb_javaScript"));
    txt_javascript = dialogparts::lineEdit(Frame1, "txt_javascript");
    auto *form = new QFormLayout(Frame1);
    form->addRow(QStringLiteral("名称："), cmb_javaScript);
    form->addRow(QStringLiteral("显示内容："), txt_javascript);
    OKButton = dialogparts::button(this, "OKButton", QStringLiteral("确定"));
    CancelButton = dialogparts::button(this, "CancelButton", QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(dialogparts::buttonRow(OKButton, CancelButton, dialogparts::EnterKey::PressesOk));
    connect(cmb_javaScript, &QComboBox::currentIndexChanged, this, &sltTmplFrm_javaScrpt::cmb_javaScript_Click);
    connect(OKButton, &QPushButton::clicked, this, &sltTmplFrm_javaScrpt::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &sltTmplFrm_javaScrpt::CancelButton_Click);
    setMinimumWidth(380);
}

void sltTmplFrm_javaScrpt::Form_Load()
{
    const std::optional<Profile> p = storedProfile(this);
    if (!p)
        return;
    const ScriptEffect e = decodeScript(p->value(QStringLiteral("javaScript")));
    cmb_javaScript->addItems(scriptEffectNames());
    const int index = e.index >= 0 && e.index < kScriptEffectCount ? e.index : 0;
    cmb_javaScript->setCurrentIndex(index);
    cmb_javaScript_Click();
    txt_javascript->setText(e.text);
}

void sltTmplFrm_javaScrpt::cmb_javaScript_Click()
{
    txt_javascript->setEnabled(effectTakesText(cmb_javaScript->currentIndex()));
}

void sltTmplFrm_javaScrpt::OKButton_Click()
{
    const QString text = txt_javascript->isEnabled() ? txt_javascript->text() : QString();
    const Outcome r = saveScript(app().conn, cmb_javaScript->currentIndex(), text);
    if (!r.done) {
        ui::show(*r.message);
        return;
    }
    accept();
}
