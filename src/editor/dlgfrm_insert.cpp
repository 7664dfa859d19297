#include "editor/dlgfrm_insert.h"

#include "core/appcontext.h"
#include "core/datafiles.h"
#include "core/fileutil.h"
#include "core/textforms.h"
#include "design/pagestore.h"
#include "editor/advedit.h"
#include "editor/insertfragments.h"
#include "ui/dialogparts.h"
#include "ui/inputhelpers.h"
#include "ui/prompter.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QVBoxLayout>

using dialogparts::button;
using dialogparts::buttonRow;
using dialogparts::unloadOnFinish;

namespace {

const QString kTip = QStringLiteral("提示");

// A box for a number: every change is checked.
QLineEdit *numberBox(QWidget *parent, const char *name, const QString &text = QString())
{
    QLineEdit *box = dialogparts::lineEdit(parent, name, text);
    QObject::connect(box, &QLineEdit::textChanged, box, [box] { mdl_func::checkNumeric(box); });
    return box;
}

QComboBox *listBox(QWidget *parent, const char *name, const QStringList &items)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->addItems(items);
    return list;
}

QLabel *unit(QWidget *parent, const QString &text)
{
    return new QLabel(text, parent);
}

// Puts the colour the user picks into a box; a cancelled choice keeps the box's colour.
void pickInto(QWidget *owner, QLineEdit *box)
{
    const QColor shown(box->text().trimmed());
    if (const auto hex = mdl_func::pickColorHex(owner, shown.isValid() ? shown : QColor(Qt::white)))
        box->setText(*hex);
}

QString dataFolder()
{
    return fileutil::withSlash(app().currImgPath);
}

} // namespace

// ---- Shared ------------------------------------------------------------------------------

EditorDialog::EditorDialog(QWidget *parent, const QString &caption)
    : QDialog(parent)
{
    setWindowTitle(caption);
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    new QGridLayout(Frame1);
    OKButton = button(this, "OKButton", QStringLiteral("确定"));
    CancelButton = button(this, "CancelButton", QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    // Enter accepts what was typed.
    layout->addLayout(buttonRow(OKButton, CancelButton, dialogparts::EnterKey::PressesOk));
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &EditorDialog::CancelButton_Click);
    unloadOnFinish(this);
}

QLabel *EditorDialog::addRow(const QString &caption, QWidget *control, QWidget *after)
{
    auto *grid = static_cast<QGridLayout *>(Frame1->layout());
    const int r = grid->rowCount();
    auto *label = new QLabel(caption, Frame1);
    grid->addWidget(label, r, 0);
    grid->addWidget(control, r, 1);
    if (after)
        grid->addWidget(after, r, 2);
    for (QWidget *w : {control, after})
        if (w && (w->focusPolicy() & Qt::TabFocus))
            m_inputs << w;
    return label;
}

void EditorDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    const QList<QWidget *> chain = m_inputs + QList<QWidget *>{OKButton, CancelButton};
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i), chain.at(i + 1));
    QWidget *first = chain.first();
    first->setFocus(Qt::TabFocusReason);
    // Typing replaces what the box holds, as after a Tab into it.
    if (auto *box = qobject_cast<QLineEdit *>(first))
        box->selectAll();
    else if (auto *list = qobject_cast<QComboBox *>(first); list && list->lineEdit())
        list->lineEdit()->selectAll();
}

void InsertDialog::OKButton_Click()
{
    if (!checkInput())
        return;
    try {
        const QString f = fragment();
        if (editor)
            editor->setInnerHTML(f);
        accept();
    } catch (const std::exception &e) {
        ui::show(design::msg::failure(err::descriptionOf(e)));
    }
}

FileInsertDialog::FileInsertDialog(QWidget *parent, const QString &caption, const QString &missing)
    : InsertDialog(parent, caption)
    , m_missing(missing)
{
}

QLineEdit *FileInsertDialog::makePathBox(const char *name)
{
    // The file comes only from the choice: the box shows it and takes no typing.
    m_pathBox = dialogparts::lineEdit(Frame1, name);
    m_pathBox->setReadOnly(true);
    return m_pathBox;
}

bool FileInsertDialog::takeChosen(const QString &path)
{
    if (const auto refusal = mdl_func::refuseNonAsciiName(path)) {
        ui::show(*refusal);
        return false;
    }
    QString name;
    try {
        // A picture the page shows is never replaced: a different file of a name in use
        // gets a name of its own.
        name = datafiles::importChoice(app().conn, path, dataFolder(), editor ? &editor->choices() : nullptr);
    } catch (const std::exception &e) {
        ui::show(design::msg::failure(err::descriptionOf(e)));
        return false;
    }
    if (name.isEmpty())
        return false;
    m_fileName = name;
    m_pathBox->setText(path);
    return true;
}

bool FileInsertDialog::checkInput()
{
    if (m_pathBox->text().trimmed().isEmpty() || m_fileName.isEmpty()) {
        ui::msgBox(m_missing, ui::vbInformation, kTip);
        m_pathBox->setFocus();
        return false;
    }
    return true;
}

// ---- Picture -----------------------------------------------------------------------------

dlgFrm_img::dlgFrm_img(QWidget *parent)
    : FileInsertDialog(parent, QStringLiteral("插入图片"), QStringLiteral("图片路径不能为空！"))
{
    setObjectName(QStringLiteral("dlgFrm_img"));
    txt_imgPath = makePathBox("txt_imgPath");
    cmd_imgPath = button(Frame1, "cmd_imgPath", QStringLiteral("浏览..."));
    txt_height = numberBox(Frame1, "txt_height");
    txt_width = numberBox(Frame1, "txt_width");
    txt_border = numberBox(Frame1, "txt_border", QStringLiteral("0"));
    txt_alt = dialogparts::lineEdit(Frame1, "txt_alt");
    cmb_spec = listBox(Frame1, "cmb_spec", editor::imageEffects());
    cmb_align = listBox(Frame1, "cmb_align", editor::imageAligns());
    addRow(QStringLiteral("图片路径："), txt_imgPath, cmd_imgPath);
    addRow(QStringLiteral("图片高度："), txt_height, unit(Frame1, QStringLiteral("px")));
    addRow(QStringLiteral("图片宽度："), txt_width, unit(Frame1, QStringLiteral("px")));
    addRow(QStringLiteral("图片边框："), txt_border);
    addRow(QStringLiteral("标识文字："), txt_alt);
    addRow(QStringLiteral("特殊效果："), cmb_spec);
    addRow(QStringLiteral("图片位置："), cmb_align);
    connect(cmd_imgPath, &QPushButton::clicked, this, &dlgFrm_img::cmd_imgPath_Click);
    setMinimumWidth(420);
}

void dlgFrm_img::Form_Load()
{
    cmb_spec->setCurrentIndex(0);
    cmb_align->setCurrentIndex(0);
}

void dlgFrm_img::cmd_imgPath_Click()
{
    const auto path = ui::prompter().openFile(
        this, {QStringLiteral("图像文件(*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif"), QString(), QString()});
    if (!path)
        return;
    // The picture's own size in pixels, as a browser shows it (turned by its
    // orientation); a file that is no picture is not copied.
    QImageReader reader(*path);
    reader.setDecideFormatFromContent(true);
    QSize size = reader.size();
    if (!size.isValid()) {
        ui::show(design::msg::failure(err::describe(err::Kind::FileRead, QFileInfo(*path).fileName())));
        return;
    }
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    if (!takeChosen(*path))
        return;
    txt_width->setText(QString::number(size.width()));
    txt_height->setText(QString::number(size.height()));
}

QString dlgFrm_img::fragment() const
{
    return editor::imageFragment({.folder = dataFolder(),
                                  .fileName = fileName(),
                                  .height = txt_height->text(),
                                  .width = txt_width->text(),
                                  .alt = txt_alt->text(),
                                  .border = txt_border->text(),
                                  .effect = cmb_spec->currentText(),
                                  .align = cmb_align->currentText()});
}

// ---- Flash -------------------------------------------------------------------------------

dlgFrm_flash::dlgFrm_flash(QWidget *parent)
    : FileInsertDialog(parent, QStringLiteral("flash选择"), QStringLiteral("路径不能为空！"))
{
    setObjectName(QStringLiteral("dlgFrm_flash"));
    txt_path = makePathBox("txt_path");
    cmd_view = button(Frame1, "cmd_view", QStringLiteral("浏览..."));
    txt_height = numberBox(Frame1, "txt_height", QStringLiteral("120"));
    txt_width = numberBox(Frame1, "txt_width", QStringLiteral("600"));
    addRow(QStringLiteral("路径："), txt_path, cmd_view);
    addRow(QStringLiteral("高　　度："), txt_height);
    addRow(QStringLiteral("宽　　度："), txt_width);
    connect(cmd_view, &QPushButton::clicked, this, &dlgFrm_flash::cmd_view_Click);
    setMinimumWidth(420);
}

void dlgFrm_flash::cmd_view_Click()
{
    const auto path = ui::prompter().openFile(this, {QStringLiteral("flash文件(*.swf)|*.swf"), QString(), QString()});
    if (path)
        takeChosen(*path);
}

QString dlgFrm_flash::fragment() const
{
    return editor::flashFragment(textforms::fileUrl(dataFolder() + fileName()), txt_width->text(), txt_height->text());
}

// ---- Table -------------------------------------------------------------------------------

dlgFrm_tbl::dlgFrm_tbl(QWidget *parent)
    : InsertDialog(parent, QStringLiteral("插入表格"))
{
    setObjectName(QStringLiteral("dlgFrm_tbl"));
    txt_row = numberBox(Frame1, "txt_row", QStringLiteral("2"));
    txt_col = numberBox(Frame1, "txt_col", QStringLiteral("2"));
    txt_width = numberBox(Frame1, "txt_width", QStringLiteral("100"));
    cmb_width = listBox(Frame1, "cmb_width", editor::tableUnits());
    txt_height = numberBox(Frame1, "txt_height");
    cmb_height = listBox(Frame1, "cmb_height", editor::tableUnits());
    txt_pad = numberBox(Frame1, "txt_pad", QStringLiteral("0"));
    txt_space = numberBox(Frame1, "txt_space", QStringLiteral("0"));
    txt_border = numberBox(Frame1, "txt_border", QStringLiteral("1"));
    cmb_align = listBox(Frame1, "cmb_align", editor::tableAligns());
    txt_backColor = dialogparts::lineEdit(Frame1, "txt_backColor");
    cmd_backColor = button(Frame1, "cmd_backColor", QStringLiteral("选择"));
    txt_foreColor = dialogparts::lineEdit(Frame1, "txt_foreColor");
    cmd_foreColor = button(Frame1, "cmd_foreColor", QStringLiteral("选择"));
    txt_ID = dialogparts::lineEdit(Frame1, "txt_ID");
    lbl_row = addRow(QStringLiteral("行数："), txt_row);
    lbl_row->setObjectName(QStringLiteral("lbl_row"));
    addRow(QStringLiteral("列数："), txt_col);
    addRow(QStringLiteral("宽度："), txt_width, cmb_width);
    addRow(QStringLiteral("高度："), txt_height, cmb_height);
    addRow(QStringLiteral("填充："), txt_pad);
    addRow(QStringLiteral("间距："), txt_space);
    addRow(QStringLiteral("边框："), txt_border);
    addRow(QStringLiteral("对齐："), cmb_align);
    addRow(QStringLiteral("背景颜色："), txt_backColor, cmd_backColor);
    addRow(QStringLiteral("边框颜色："), txt_foreColor, cmd_foreColor);
    addRow(QStringLiteral("表格ID："), txt_ID);
    connect(cmd_backColor, &QPushButton::clicked, this, &dlgFrm_tbl::cmd_backColor_Click);
    connect(cmd_foreColor, &QPushButton::clicked, this, &dlgFrm_tbl::cmd_foreColor_Click);
    setMinimumWidth(360);
}

void dlgFrm_tbl::Form_Load()
{
    cmb_align->setCurrentIndex(0);
    cmb_width->setCurrentIndex(0);
    cmb_height->setCurrentIndex(0);
}

void dlgFrm_tbl::cmd_backColor_Click()
{
    pickInto(this, txt_backColor);
}

void dlgFrm_tbl::cmd_foreColor_Click()
{
    pickInto(this, txt_foreColor);
}

QString dlgFrm_tbl::fragment() const
{
    return editor::tableFragment({.rows = txt_row->text(),
                                  .cols = txt_col->text(),
                                  .id = txt_ID->text(),
                                  .width = txt_width->text(),
                                  .widthUnit = cmb_width->currentText(),
                                  .height = txt_height->text(),
                                  .heightUnit = cmb_height->currentText(),
                                  .border = txt_border->text(),
                                  .padding = txt_pad->text(),
                                  .spacing = txt_space->text(),
                                  .backColor = txt_backColor->text(),
                                  .borderColor = txt_foreColor->text(),
                                  .align = cmb_align->currentText()});
}

// ---- Horizontal rule ---------------------------------------------------------------------

dlgFrm_hr::dlgFrm_hr(QWidget *parent)
    : InsertDialog(parent, QStringLiteral("水平线"))
{
    setObjectName(QStringLiteral("dlgFrm_hr"));
    txt_color = dialogparts::lineEdit(Frame1, "txt_color");
    cmd_color = button(Frame1, "cmd_color", QStringLiteral("选择"));
    txt_width = numberBox(Frame1, "txt_width", QStringLiteral("500"));
    txt_height = numberBox(Frame1, "txt_height", QStringLiteral("2"));
    cmb_align = listBox(Frame1, "cmb_align", editor::ruleAligns());
    cmb_shadow = listBox(Frame1, "cmb_shadow", editor::ruleShadows());
    addRow(QStringLiteral("线条颜色："), txt_color, cmd_color);
    addRow(QStringLiteral("水平宽度："), txt_width);
    addRow(QStringLiteral("线条粗度："), txt_height);
    addRow(QStringLiteral("页面对齐："), cmb_align);
    addRow(QStringLiteral("阴影效果："), cmb_shadow);
    connect(cmd_color, &QPushButton::clicked, this, &dlgFrm_hr::cmd_color_Click);
    setMinimumWidth(320);
}

void dlgFrm_hr::Form_Load()
{
    cmb_align->setCurrentIndex(1);
    cmb_shadow->setCurrentIndex(0);
}

void dlgFrm_hr::cmd_color_Click()
{
    pickInto(this, txt_color);
}

QString dlgFrm_hr::fragment() const
{
    return editor::ruleFragment({.color = txt_color->text(),
                                 .width = txt_width->text(),
                                 .height = txt_height->text(),
                                 .align = cmb_align->currentText(),
                                 .shadow = cmb_shadow->currentText()});
}

// ---- Link address ------------------------------------------------------------------------

dlgFrm_link::dlgFrm_link(QWidget *parent)
    : EditorDialog(parent, QStringLiteral("超链接"))
{
    setObjectName(QStringLiteral("dlgFrm_link"));
    txt_url = dialogparts::lineEdit(Frame1, "txt_url", QStringLiteral("http://"));
    addRow(QStringLiteral("链接地址："), txt_url);
    setMinimumWidth(400);
}

// ---- Font of the selection ---------------------------------------------------------------

dlgFrm_font::dlgFrm_font(QWidget *parent)
    : EditorDialog(parent, QStringLiteral("字体"))
{
    setObjectName(QStringLiteral("dlgFrm_font"));
    cmb_font = new QFontComboBox(Frame1);
    cmb_font->setObjectName(QStringLiteral("cmb_font"));
    cmb_size = listBox(Frame1, "cmb_size", {"1", "2", "3", "4", "5", "6", "7"});
    lbl_color = new QLabel(Frame1);
    lbl_color->setObjectName(QStringLiteral("lbl_color"));
    lbl_color->setMinimumSize(60, 20);
    lbl_color->setFrameShape(QFrame::Box);
    lbl_color->setAutoFillBackground(true);
    cmd_color = button(Frame1, "cmd_color", QStringLiteral("选择"));
    chk_bold = new QCheckBox(QStringLiteral("粗体"), Frame1);
    chk_bold->setObjectName(QStringLiteral("chk_bold"));
    chk_italic = new QCheckBox(QStringLiteral("斜体"), Frame1);
    chk_italic->setObjectName(QStringLiteral("chk_italic"));
    addRow(QStringLiteral("字体："), cmb_font);
    addRow(QStringLiteral("字号："), cmb_size);
    addRow(QStringLiteral("颜色："), lbl_color, cmd_color);
    addRow(QString(), chk_bold);
    addRow(QString(), chk_italic);
    connect(cmd_color, &QPushButton::clicked, this, &dlgFrm_font::cmd_color_Click);
    setMinimumWidth(360);
    setState({});
}

void dlgFrm_font::setState(const editor::FontState &s)
{
    if (!s.name.isEmpty())
        cmb_font->setCurrentFont(QFont(s.name));
    cmb_size->setCurrentIndex(qBound(1, s.size, 7) - 1);
    m_color = s.color;
    showColor();
    chk_bold->setChecked(s.bold);
    chk_italic->setChecked(s.italic);
}

editor::FontState dlgFrm_font::state() const
{
    return {cmb_font->currentFont().family(), cmb_size->currentIndex() + 1, m_color, chk_bold->isChecked(),
            chk_italic->isChecked()};
}

void dlgFrm_font::cmd_color_Click()
{
    const QColor shown(m_color);
    if (const auto hex = mdl_func::pickColorHex(this, shown.isValid() ? shown : QColor(Qt::black))) {
        m_color = *hex;
        showColor();
    }
}

void dlgFrm_font::showColor()
{
    QPalette pal = lbl_color->palette();
    pal.setColor(QPalette::Window, QColor(m_color).isValid() ? QColor(m_color) : QColor(Qt::black));
    lbl_color->setPalette(pal);
}
