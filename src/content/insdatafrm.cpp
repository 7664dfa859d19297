#include "content/insdatafrm.h"

#include "content/entryactions.h"
#include "content/insdatafrm_dialogs.h"
#include "content/picturechoice.h"
#include "content/pictures.h"
#include "core/appcontext.h"
#include "core/twips.h"
#include "design/catalogstore.h"
#include "design/catalogtree.h"
#include "design/designactions.h"
#include "editor/advedit.h"
#include "ui/artwork.h"
#include "ui/dialogparts.h"
#include "ui/viewloads.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QVBoxLayout>

using namespace content;
using design::Level;

namespace {

using dialogparts::label;
using twips::toPx;

const QString kWelcome = QStringLiteral("tmplImg/welcome02.htm");
const QString kListPage = QStringLiteral("multiData.htm");

// The editor panel's rows, in twips: labels at kLeft, boxes at kBoxLeft; row two of
// the pictures stands kRowTwo right of row one where the panel is wide enough for
// kRowWidth more, else under row one's picture.
constexpr int kLeft = 300;
constexpr int kBoxLeft = 1300;
constexpr int kRowTwo = 4035;
constexpr int kRowWidth = 3790;
constexpr int kRowGap = 395; // from one row's top to the next
// A picture row's name box and browse button, right of the row's label.
constexpr int kNameLeft = kBoxLeft - kLeft;
constexpr int kBrowseLeft = kNameLeft + 1950;
constexpr int kBrowseWidth = 840;
constexpr int kLineTop = 135 + 285;
constexpr int kContentTop = kLineTop + 3 * kRowGap;
constexpr int kContentHeight = 5000;
const QSize kRowPictureBox(3735, 2295);
const QSize kBigPictureBox(7500, 6000);

// The panel's head: the column's name and its format's caption.
QString headCaption(const QString &column, const QString &format)
{
    return column + QStringLiteral("--样式显示图(") + formatName(format) + QStringLiteral(")");
}

bool isImageFormat(const QString &format)
{
    return format == QLatin1String("imgTxt01") || format == QLatin1String("imgTxt02")
        || format == QLatin1String("imgTxt03");
}

} // namespace

insDataFrm::insDataFrm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("insDataFrm"));
    setWindowTitle(QStringLiteral("录入数据"));
    setWindowIcon(artwork::toolIcon(5));

    Frame_nav = new QGroupBox(this);
    Frame_nav->setObjectName(QStringLiteral("Frame_nav"));
    design::CatalogTreeWidget *tree = design::makeTreeWidget(Frame_nav, this);
    tvw_nav = tree;
    // Enter or Space opens the highlighted node as a click on it does.
    connect(tree, &design::CatalogTreeWidget::keyOpen, this, [this](QTreeWidgetItem *node) {
        tvw_nav->setCurrentItem(node);
        tvw_nav_MouseUp(Qt::LeftButton);
    });

    Frame_optn = new QGroupBox(this);
    Frame_optn->setObjectName(QStringLiteral("Frame_optn"));

    webBer = makeBrowserPane(Frame_optn);
    webBer->widget()->setObjectName(QStringLiteral("webBer"));

    // The editor panel.
    pic_edit = new QWidget(Frame_optn);
    pic_edit->setObjectName(QStringLiteral("pic_edit"));
    pic_edit->setAutoFillBackground(true);
    // The rows stand in an area of their own left of the scroll bar, so that a picture
    // wider than the panel never covers the bar; a bar under the rows moves them across.
    pic_rows = new QWidget(pic_edit);
    pic_rows->setObjectName(QStringLiteral("pic_rows"));
    vscrl = new QScrollBar(Qt::Vertical, pic_edit);
    vscrl->setObjectName(QStringLiteral("vscrl"));
    hscrl = new QScrollBar(Qt::Horizontal, pic_edit);
    hscrl->setObjectName(QStringLiteral("hscrl"));
    for (QScrollBar *bar : {vscrl, hscrl}) {
        bar->setRange(0, 0);
        bar->setSingleStep(150);
        bar->setPageStep(1500);
    }
    hscrl->hide();
    lbl_head = label(pic_rows, "lbl_head", QStringLiteral("欢迎使用Quorvik自动建站软件"));
    QFont headFont = lbl_head->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.15);
    lbl_head->setFont(headFont);
    Line1 = new QFrame(pic_rows);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    lbl_title = label(pic_rows, "lbl_title", QStringLiteral("标　　题："));
    txt_title = new QLineEdit(pic_rows);
    txt_title->setObjectName(QStringLiteral("txt_title"));
    lbl_content = label(pic_rows, "lbl_content", QStringLiteral("内   容："));
    txt_content = dialogparts::textBox(pic_rows, "txt_content");
    const QString rowCaptions[2] = {QStringLiteral("图片一："), QStringLiteral("图片二：")};
    for (int i = 0; i < 2; ++i) {
        lbl_img[i] = new QLabel(rowCaptions[i], pic_rows);
        lbl_img[i]->setObjectName(QStringLiteral("lbl_img_%1").arg(i));
        img[i] = new QLabel(pic_rows);
        img[i]->setObjectName(QStringLiteral("img_%1").arg(i));
        img[i]->setScaledContents(true);
        txt_img[i] = new QLineEdit(pic_rows);
        txt_img[i]->setObjectName(QStringLiteral("txt_img_%1").arg(i));
        // The name comes from the file choice only.
        txt_img[i]->setReadOnly(true);
        cmd_img[i] = new QPushButton(QStringLiteral("浏览..."), pic_rows);
        cmd_img[i]->setObjectName(QStringLiteral("cmd_img_%1").arg(i));
        connect(cmd_img[i], &QPushButton::clicked, this, [this, i] { cmd_img_Click(i); });
    }

    // What takes the keyboard in the panel is brought into its visible part.
    for (QWidget *w : std::initializer_list<QWidget *>{txt_title, txt_content, txt_img[0], cmd_img[0], txt_img[1],
                                                       cmd_img[1]})
        w->installEventFilter(this);

    webMultiData = makeBrowserPane(Frame_optn, PaneOptions{true});
    webMultiData->widget()->setObjectName(QStringLiteral("webMultiData"));

    frame_cmdDesign = new QGroupBox(Frame_optn);
    frame_cmdDesign->setObjectName(QStringLiteral("frame_cmdDesign"));
    frame_cmdDesign->setFlat(true);
    const QString listCaptions[3] = {QStringLiteral("添加数据"), QStringLiteral("删除数据"), QStringLiteral("预览&&修改")};
    auto *cmdLayout = new QHBoxLayout(frame_cmdDesign);
    cmdLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        cmd_addData[i] = new QPushButton(listCaptions[i], frame_cmdDesign);
        cmd_addData[i]->setObjectName(QStringLiteral("cmd_addData_%1").arg(i));
        cmd_addData[i]->setEnabled(false);
        cmdLayout->addWidget(cmd_addData[i]);
        connect(cmd_addData[i], &QPushButton::clicked, this, [this, i] { cmd_addData_Click(i); });
    }
    cmdLayout->addStretch();
    cmd_OK = dialogparts::button(frame_cmdDesign, "cmd_OK", QStringLiteral("保存"));
    cmd_OK->setEnabled(false);
    cmd_help = dialogparts::button(frame_cmdDesign, "cmd_help", QStringLiteral("帮助"));
    cmdLayout->addWidget(cmd_OK);
    cmdLayout->addWidget(cmd_help);

    advEditer = new advEdit(Frame_optn);
    advEditer->setObjectName(QStringLiteral("advEditer"));

    StsBar = dialogparts::statusBar(this, {&StsBar_panel1, &StsBar_panel2});

    mnuIns = new QMenu(QStringLiteral("mnuIns"), this);
    mnuIns->setObjectName(QStringLiteral("mnuIns"));
    mnu_Refresh = mnuIns->addAction(QStringLiteral("刷新"));
    mnu_Refresh->setObjectName(QStringLiteral("mnu_Refresh"));

    connect(mnu_Refresh, &QAction::triggered, this, &insDataFrm::mnu_Refresh_Click);
    connect(cmd_OK, &QPushButton::clicked, this, &insDataFrm::cmd_OK_Click);
    connect(vscrl, &QScrollBar::valueChanged, this, &insDataFrm::vscrl_Change);
    connect(hscrl, &QScrollBar::valueChanged, this, [this] { placeRows(vscrl->value()); });

    hideEditors();
    setMinimumSize(toPx(10125), toPx(6200));
    resize(toPx(10125), toPx(6200));
}

insDataFrm::~insDataFrm()
{
    if (app().conn.isOpen())
        m_files.abandoned(app().conn, app().currImgPath);
    // The editor's own copies go with the editor.
}

bool insDataFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched->parent() == pic_rows) {
        // Only the keyboard's way in: a click lands on what is already in sight.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            scrollIntoView(static_cast<QWidget *>(watched));
    }
    if (watched == tvw_nav->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *me = static_cast<QMouseEvent *>(event);
        // The left button opens only the item it lands on: blank space and the expand
        // arrows (left of the item's own rectangle) leave the open page as it is. The
        // menu comes anywhere, so that an empty tree can be refreshed.
        const QPoint at = me->position().toPoint();
        const QTreeWidgetItem *item = tvw_nav->itemAt(at);
        if (me->button() == Qt::RightButton || (item && tvw_nav->visualItemRect(item).contains(at)))
            tvw_nav_MouseUp(me->button());
        else
            showOpenNode();
    }
    return QWidget::eventFilter(watched, event);
}

void insDataFrm::showOpenNode()
{
    // A press selects the item under it; released elsewhere, nothing opened.
    if (currNode) {
        tvw_nav->setCurrentItem(currNode);
    } else {
        tvw_nav->clearSelection();
        tvw_nav->setCurrentItem(nullptr);
    }
}

void insDataFrm::markOpenNode()
{
    const bool open = !m_format.isEmpty() && m_format != design::kNoFormat;
    for (QTreeWidgetItemIterator it(tvw_nav); *it; ++it) {
        const bool bold = open && *it == currNode;
        if ((*it)->font(0).bold() != bold) {
            QFont f = (*it)->font(0);
            f.setBold(bold);
            (*it)->setFont(0, f);
        }
    }
}

void insDataFrm::Form_Load()
{
    try {
        loadNavTree();
        insNode = tvw_nav->topLevelItem(0);
        m_newRecord.viewLoaded();
        webBer->navigate(kWelcome);
        webMultiData->navigate(kListPage);
    } catch (const std::exception &e) {
        ui::show(msg::failure(err::descriptionOf(e), ui::vbInformation));
    }
}

void insDataFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPanes();
}

void insDataFrm::layoutPanes()
{
    const int stsH = StsBar->height();
    const int navW = toPx(3300);
    const int navH = height() - stsH - 8;
    Frame_nav->setGeometry(4, 4, navW, navH);
    const int optW = width() - navW - 14;
    Frame_optn->setGeometry(navW + 10, 4, optW, navH);
    const QRect pic(toPx(100), toPx(200), optW - toPx(200), navH - toPx(800));
    pic_edit->setGeometry(pic);
    webBer->widget()->setGeometry(pic);
    webMultiData->widget()->setGeometry(pic);
    frame_cmdDesign->setGeometry(pic.left(), navH - toPx(550), pic.width(), toPx(480));
    advEditer->setGeometry(toPx(50), toPx(150), optW - toPx(100), navH - toPx(180));
    StsBar->setGeometry(0, height() - stsH, width(), stsH);
    vscrl->setGeometry(pic.width() - toPx(400), 0, toPx(255), pic.height() - toPx(50));
    updateScrollRange();
    placeRows(vscrl->value());
}

QPoint insDataFrm::rowPlace(int index) const
{
    const int top = m_format == QLatin1String("bigImg") ? kLineTop + 100 : kContentTop + kContentHeight + 100;
    if (index == 0)
        return QPoint(kLeft, top);
    // Row two beside row one only where all of it stays left of the scroll bar.
    if (toPx(kLeft + kRowTwo + kRowWidth) <= vscrl->x())
        return QPoint(kLeft + kRowTwo, top);
    return QPoint(kLeft, top + kRowGap + kRowPictureBox.height() + 100);
}

void insDataFrm::updateScrollRange()
{
    // Across: a picture shown at its own size may reach further right than the space left
    // of the scroll bar; the bar under the rows then brings all of it into view.
    int right = 0;
    for (int i = 0; i < 2; ++i)
        if (img[i]->isVisibleTo(pic_edit))
            right = qMax(right, rowPlace(i).x() + qMax(img[i]->width() * twips::kPerPixel, kBrowseLeft + kBrowseWidth));
    const int areaWidth = vscrl->x();
    const int across = qMax(0, right - areaWidth * twips::kPerPixel);
    hscrl->setRange(0, across);
    hscrl->setVisible(across > 0);
    const int rowsHeight = across > 0 ? vscrl->height() - toPx(255) : pic_edit->height();
    hscrl->setGeometry(0, rowsHeight, areaWidth, toPx(255));
    pic_rows->setGeometry(0, 0, areaWidth, rowsHeight);
    // Down: at least as far as bringing the content box or the last picture to the
    // panel's top, and further when that is needed to show all of it.
    int stop = 0;
    int bottom = 0;
    if (m_format == QLatin1String("txt")) {
        stop = kContentTop;
        bottom = kContentTop + kContentHeight;
    } else if (isImageFormat(m_format) || m_format == QLatin1String("bigImg")) {
        for (int i = 0; i < 2; ++i) {
            if (!img[i]->isVisibleTo(pic_edit))
                continue;
            const int pictureTop = rowPlace(i).y() + kRowGap;
            stop = qMax(stop, pictureTop);
            bottom = qMax(bottom, pictureTop + img[i]->height() * twips::kPerPixel);
        }
    } else {
        return;
    }
    vscrl->setRange(0, qMax(stop, bottom - pic_rows->height() * twips::kPerPixel));
}

void insDataFrm::placeRows(int v)
{
    const int width = pic_edit->width();
    const int h = hscrl->value(); // how far the rows are moved left (twips)
    const int margin = kLeft - h;
    const int headTop = 135 - v;
    lbl_head->setGeometry(toPx(margin), toPx(headTop), width - toPx(kLeft + 500), toPx(285));
    const int lineTop = kLineTop - v;
    Line1->setGeometry(toPx(margin), toPx(lineTop), width - toPx(kLeft + 500), 2);
    const int titleTop = lineTop + kRowGap;
    lbl_title->setGeometry(twips::rect(margin, titleTop + 30, 1000, 270));
    txt_title->setGeometry(twips::rect(kBoxLeft - h, titleTop, 4500, 330));
    const int contentLabelTop = titleTop + kRowGap;
    lbl_content->setGeometry(twips::rect(margin, contentLabelTop + 30, 1000, 270));
    const int contentWidth = qMin(width - toPx(800), toPx(8000));
    txt_content->setGeometry(toPx(margin), toPx(kContentTop - v), qMax(contentWidth, 0), toPx(kContentHeight));
    for (int i = 0; i < 2; ++i) {
        const QPoint row = rowPlace(i);
        const int left = row.x() - h;
        const int rowTop = row.y() - v;
        lbl_img[i]->setGeometry(twips::rect(left, rowTop + 30, 1000, 270));
        txt_img[i]->setGeometry(twips::rect(left + kNameLeft, rowTop, 1900, 330));
        cmd_img[i]->setGeometry(twips::rect(left + kBrowseLeft, rowTop, kBrowseWidth, 330));
        img[i]->move(toPx(left), toPx(rowTop + kRowGap));
    }
}

void insDataFrm::scrollIntoView(QWidget *row)
{
    // The bars count in twips, kPerPixel to a pixel. A row taller or wider than the
    // visible part shows its top or its left end.
    const QRect area = pic_rows->rect();
    const QRect r = row->geometry();
    const auto shift = [](int start, int end, int areaStart, int areaEnd) {
        if (start < areaStart || end - start > areaEnd - areaStart)
            return start - areaStart;
        return end > areaEnd ? end - areaEnd : 0;
    };
    if (const int dy = shift(r.top(), r.bottom(), area.top(), area.bottom()))
        vscrl->setValue(vscrl->value() + dy * twips::kPerPixel);
    if (const int dx = shift(r.left(), r.right(), area.left(), area.right()))
        hscrl->setValue(hscrl->value() + dx * twips::kPerPixel);
}

void insDataFrm::vscrl_Change(int value)
{
    placeRows(value);
}

void insDataFrm::loadNavTree()
{
    tvw_nav->clear();
    const design::CatalogTree tree = design::buildCatalogTree(app().conn);
    auto *rootItem = new QTreeWidgetItem(tvw_nav);
    design::fillTreeItem(rootItem, tree.root);
    rootItem->setExpanded(true);
    if (tree.error)
        viewloads::failed(this, design::msg::treeLoadFailed(*tree.error), *tree.error, [this] { mnu_Refresh_Click(); },
                          tree.errorKind);
}

QString insDataFrm::getCatalogFormat() const
{
    if (!insNode)
        return design::kNoFormat;
    return design::CatalogStore(app().conn)
        .getAspFileName(design::levelOfKey(insNode->data(0, KeyRole).toString()), insNode->text(0));
}

void insDataFrm::showStatus(const QString &column, const QString &formatName)
{
    StsBar_panel1->setText(QStringLiteral("当前栏目：") + column);
    StsBar_panel2->setText(QStringLiteral("显示格式：") + formatName);
}

void insDataFrm::hideEditors()
{
    for (QWidget *w : std::initializer_list<QWidget *>{lbl_title, txt_title, lbl_content, txt_content, pic_edit,
                                                       advEditer, webMultiData->widget()})
        w->hide();
    for (int i = 0; i < 2; ++i)
        for (QWidget *w : std::initializer_list<QWidget *>{lbl_img[i], img[i], txt_img[i], cmd_img[i]})
            w->hide();
    for (QPushButton *b : cmd_addData)
        b->setEnabled(false);
    cmd_OK->setEnabled(false);
}

void insDataFrm::clearRows()
{
    if (!m_files.isEmpty() && app().conn.isOpen())
        m_files.abandoned(app().conn, app().currImgPath);
    advEditer->abandonChoices();
    txt_title->clear();
    txt_content->clear();
    for (int i = 0; i < 2; ++i) {
        txt_img[i]->clear();
        img[i]->clear();
        m_names[i].clear();
    }
    cmd_OK->setEnabled(false);
}

void insDataFrm::leavePage()
{
    clearRows();
    hideEditors();
    currNode = nullptr;
    insNode = tvw_nav->topLevelItem(0);
    m_format.clear();
    StsBar_panel1->clear();
    StsBar_panel2->clear();
    webBer->navigate(kWelcome);
    webBer->widget()->show();
    markOpenNode();
}

void insDataFrm::showFormatEditor(const QString &format)
{
    m_format = format;
    hideEditors();
    vscrl->setValue(0);
    hscrl->setValue(0);
    vscrl->show();
    const QString column = insNode ? insNode->text(0) : QString();
    const QString name = formatName(format);
    if (format != QLatin1String("adv"))
        lbl_head->setText(headCaption(column, format));
    showStatus(column, name);
    if (format == QLatin1String("txt")) {
        for (QWidget *w : std::initializer_list<QWidget *>{lbl_title, txt_title, lbl_content, txt_content})
            w->show();
        pic_edit->show();
        cmd_OK->setEnabled(true);
    } else if (isImageFormat(format)) {
        layoutImageFields(format);
    } else if (format == QLatin1String("bigImg")) {
        for (QWidget *w : std::initializer_list<QWidget *>{lbl_img[0], img[0], txt_img[0], cmd_img[0]})
            w->show();
        img[0]->resize(toPx(kBigPictureBox.width()), toPx(kBigPictureBox.height()));
        pic_edit->show();
        cmd_OK->setEnabled(true);
    } else if (design::isListFormat(format)) {
        for (QPushButton *b : cmd_addData)
            b->setEnabled(true);
    } else if (format == QLatin1String("adv")) {
        advEditer->show();
        advEditer->raise();
    }
    updateScrollRange();
    placeRows(0);
}

void insDataFrm::layoutImageFields(const QString &format)
{
    for (QWidget *w : std::initializer_list<QWidget *>{lbl_title, txt_title, lbl_content, txt_content})
        w->show();
    const int rows = format == QLatin1String("imgTxt03") ? 1 : 2;
    for (int i = 0; i < rows; ++i) {
        for (QWidget *w : std::initializer_list<QWidget *>{lbl_img[i], img[i], txt_img[i], cmd_img[i]})
            w->show();
        img[i]->resize(toPx(kRowPictureBox.width()), toPx(kRowPictureBox.height()));
    }
    pic_edit->show();
    cmd_OK->setEnabled(true);
}

void insDataFrm::showPicture(int index, const QImage &picture)
{
    if (picture.isNull()) {
        img[index]->clear();
        return;
    }
    const bool big = m_format == QLatin1String("bigImg");
    const bool stretch = index == 1 || !(big || m_format == QLatin1String("imgTxt03"));
    const QSize box = big ? kBigPictureBox : kRowPictureBox;
    const QSize shown = pictures::shownSize(pictures::naturalTwips(picture), stretch, box);
    img[index]->setPixmap(QPixmap::fromImage(picture));
    img[index]->resize(toPx(shown.width()), toPx(shown.height()));
    updateScrollRange();
}

void insDataFrm::loadCatalogData(const QString &format, QTreeWidgetItem *page)
{
    const Level level = design::levelOfKey(page->data(0, KeyRole).toString());
    const Rows rows = ContentStore(app().conn).loadRecords(level, page->text(0));
    if (design::isListFormat(format)) {
        webMultiData->widget()->show();
        webMultiData->widget()->raise();
        webMultiData->setInnerHTML(QStringLiteral("editID"), buildDataListHtml(rows, format));
        return;
    }
    m_newRecord.pageOpened(format, !rows.empty());
    if (rows.empty()) {
        advEditer->loadPage(level, page->text(0), QString(), false);
        return;
    }
    const PageRecord p = readPage(rows.front(), format);
    if (format == QLatin1String("adv")) {
        advEditer->loadPage(level, page->text(0), p.content, true);
        return;
    }
    if (format == QLatin1String("txt") || isImageFormat(format)) {
        txt_title->setText(p.title);
        txt_content->setPlainText(textforms::toBoxLines(textforms::decode(p.content)));
    }
    if (isImageFormat(format) || format == QLatin1String("bigImg")) {
        const QString names[2] = {p.picture1, p.picture2};
        for (int i = 0; i < 2; ++i) {
            txt_img[i]->setText(names[i]);
            if (!names[i].isEmpty())
                showPicture(i, pictures::load(datafiles::storedFile(app().currImgPath, names[i])));
        }
    }
}

QString insDataFrm::buildDataListHtml(const Rows &records, const QString &format) const
{
    return content::buildDataListHtml(records, format);
}

void insDataFrm::tvw_nav_MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        mnuIns->popup(QCursor::pos());
        return;
    }
    // Whatever this opens or leaves, the tree marks what is open.
    const auto mark = qScopeGuard([this] { markOpenNode(); });
    clearRows();
    const QList<QTreeWidgetItem *> selected = tvw_nav->selectedItems();
    if (!selected.isEmpty()) {
        insNode = selected.first();
        currNode = insNode;
    }
    if (!insNode)
        return;
    const QVariant tag = insNode->data(0, TagRole);
    const bool root = design::levelOfKey(insNode->data(0, KeyRole).toString()) == Level::Root;
    if (root || (tag.isValid() && !tag.toBool())) {
        webBer->widget()->hide();
        try {
            const QString format = getCatalogFormat();
            if (format == design::kNoFormat) {
                // Nothing may act on the page of another format still showing.
                m_format = format;
                hideEditors();
                ui::show(msg::noPage());
                return;
            }
            showFormatEditor(format);
            loadCatalogData(format, currNode);
        } catch (const std::exception &e) {
            ui::show(msg::failure(err::descriptionOf(e)));
        }
        return;
    }
    // A category: nothing may be entered for it.
    m_format.clear();
    hideEditors();
    webBer->widget()->show();
    showStatus(insNode->text(0), QStringLiteral("（该栏目是父节点）"));
}

void insDataFrm::reloadPage()
{
    // Reloading disables the page's buttons for a moment, and the keyboard would move
    // on from the one that opened the dialog: it goes back there once it is usable.
    const QPointer<QWidget> had = focusWidget();
    showOpenNode();
    tvw_nav_MouseUp(Qt::LeftButton);
    if (had && had->isVisible() && had->isEnabled())
        had->setFocus(Qt::OtherFocusReason);
}

void insDataFrm::mnu_Refresh_Click()
{
    try {
        loadNavTree();
    } catch (const std::exception &e) {
        ui::show(msg::failure(err::descriptionOf(e)));
    }
    leavePage();
}

void insDataFrm::catalogChanged()
{
    const Level level = currLevel();
    const QString page = currText();
    bool keep = false;
    if (currNode && !m_format.isEmpty()) {
        try {
            keep = design::CatalogStore(app().conn).getAspFileName(level, page) == m_format;
        } catch (const std::exception &) {
        }
    }
    if (!keep) {
        mnu_Refresh_Click();
        return;
    }
    try {
        loadNavTree();
    } catch (const std::exception &e) {
        ui::show(msg::failure(err::descriptionOf(e)));
    }
    // The page is still there: point at its new node and keep what is being entered.
    for (QTreeWidgetItemIterator it(tvw_nav); *it; ++it) {
        QTreeWidgetItem *item = *it;
        if (item->text(0) == page && design::levelOfKey(item->data(0, KeyRole).toString()) == level) {
            currNode = insNode = item;
            for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
                p->setExpanded(true);
            tvw_nav->setCurrentItem(item);
            markOpenNode();
            return;
        }
    }
    leavePage();
}

void insDataFrm::columnRenamed(Level level, const QString &from, const QString &to)
{
    if (!currNode || currLevel() != level || currText() != from)
        return;
    currNode->setText(0, to);
    StsBar_panel1->setText(QStringLiteral("当前栏目：") + to);
    if (m_format != QLatin1String("adv"))
        lbl_head->setText(headCaption(to, m_format));
    advEditer->pageRenamed(level, from, to);
}

void insDataFrm::cmd_img_Click(int index)
{
    const auto chosen = choosePicture(this, app().currImgPath, m_files, msg::noPicturePath());
    if (!chosen)
        return;
    // The row's earlier picture goes once the page is saved without it.
    if (txt_img[index]->text() != chosen->name)
        m_files.replaces(txt_img[index]->text());
    m_names[index] = chosen->name;
    txt_img[index]->setText(chosen->name);
    showPicture(index, chosen->image);
}

void insDataFrm::cmd_OK_Click()
{
    SaveRequest r;
    r.level = currLevel();
    r.page = currText();
    r.format = m_format;
    r.title = txt_title->text();
    r.content = textforms::toStoredLines(txt_content->toPlainText());
    for (int i = 0; i < 2; ++i) {
        r.currentNames[i] = m_names[i];
        r.boxNames[i] = txt_img[i]->text();
    }
    r.newRecord = m_newRecord.isSet();
    const SaveResult result = ContentStore(app().conn).save(r);
    if (result.outcome == SaveOutcome::Saved) {
        if (result.inserted)
            m_newRecord.saveInserted();
        m_names[0].clear();
        m_names[1].clear();
        m_files.saved(app().conn, app().currImgPath);
    }
    ui::show(saveMessage(result.outcome, result.error));
}

void insDataFrm::cmd_addData_Click(int index)
{
    const bool news = m_format == QLatin1String("news");
    if (!news && m_format != QLatin1String("imgs"))
        return;
    if (index == 0) {
        if (news)
            forms().showModal<insDatafrm_news>();
        else
            forms().showModal<insDataFrm_imgs>();
        return;
    }
    const std::optional<qint64> id = chosenRecordId(webMultiData->value(QStringLiteral("currID")));
    if (!id) {
        ui::show(msg::noRecordChosen());
        return;
    }
    if (index == 1) {
        if (ui::show(msg::confirmDeleteRecord()) == ui::vbOK)
            deleteData(*id);
    } else if (news) {
        forms().showModal<insDataFrm_newsMod>();
    } else {
        forms().showModal<insDataFrm_imgsMod>();
    }
}

void insDataFrm::deleteData(qint64 id)
{
    const DeleteResult result = ContentStore(app().conn).deleteRecord(currLevel(), currText(), id);
    if (const auto message = deleteMessage(result)) {
        ui::show(*message);
        return;
    }
    reloadPage();
}
