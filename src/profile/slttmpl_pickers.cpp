#include "profile/slttmpl_pickers.h"

#include "core/appcontext.h"
#include "core/stylemanifest.h"
#include "core/twips.h"
#include "profile/slttmpl_previews.h"
#include "profile/slttmplfrm.h"
#include "ui/dialogparts.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>

using namespace profile;

namespace {

// The mouse wheel turned over a clipping box or anything in it moves the box's scroll
// bar. The pictures pass the wheel on to the box; the bar handles it directly, so that
// a bar at its end does not pass it back up to the box.
class WheelToBar : public QObject {
public:
    WheelToBar(QWidget *box, QScrollBar *bar)
        : QObject(box)
        , m_bar(bar)
    {
        box->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        static_cast<QObject *>(m_bar)->event(event);
        event->accept(); // also at the bar's end: the dialog has no use for it
        return true;
    }

private:
    QScrollBar *m_bar;
};

QScrollBar *scrollBar(QWidget *box)
{
    auto *bar = new QScrollBar(Qt::Vertical, box);
    bar->setObjectName(QStringLiteral("scrlVer"));
    bar->setGeometry(box->width() - 17, 0, 17, box->height());
    bar->setRange(0, 0);
    new WheelToBar(box, bar);
    return bar;
}

// A clipping box that the pictures scroll in.
QFrame *clipBox(QWidget *parent, QRect place)
{
    auto *box = new QFrame(parent);
    box->setObjectName(QStringLiteral("Picture1"));
    box->setGeometry(place);
    box->setFrameShape(QFrame::StyledPanel);
    box->setAutoFillBackground(true);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, Qt::white);
    box->setPalette(pal);
    return box;
}

// The hourglass while a listing runs.
class WaitCursor {
public:
    explicit WaitCursor(bool on)
        : m_on(on)
    {
        if (m_on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (m_on)
            QApplication::restoreOverrideCursor();
    }

private:
    bool m_on;
};

} // namespace

// ---- Font pickers ---------------------------------------------------------------------

FontPicker::FontPicker(Side side, QWidget *parent)
    : QDialog(parent)
    , m_side(side)
{
    setWindowTitle(QStringLiteral("选择字体"));
    setFixedSize(twips::rect(0, 0, 7080, 4605).size());
    Picture1 = clipBox(this, twips::rect(45, 75, 6960, 3540));
    scrlVer = scrollBar(Picture1);
    OKButton = dialogparts::button(this, "OKButton", QStringLiteral("确定"), twips::rect(4440, 3870, 1170, 420));
    CancelButton = dialogparts::button(this, "CancelButton", QStringLiteral("取消"), twips::rect(5760, 3870, 1170, 420));
    OKButton->setDefault(true);
    element(0)->hide();
    connect(OKButton, &QPushButton::clicked, this, &FontPicker::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &FontPicker::CancelButton_Click);
    connect(scrlVer, &QScrollBar::valueChanged, this, &FontPicker::scrlVer_Change);
}

QLabel *FontPicker::element(int k)
{
    while (img.size() <= k) {
        const int index = int(img.size());
        auto *label = new QLabel(Picture1);
        label->setObjectName(QStringLiteral("img"));
        label->setCursor(Qt::PointingHandCursor);
        setFramed(label, false);
        label->move(twips::toPx(300), 0);
        label->installEventFilter(this);
        label->setProperty("index", index);
        img << label;
    }
    scrlVer->raise();
    return img.at(k);
}

void FontPicker::Form_Load()
{
    QStringList names;
    try {
        names = fontNames(app().conn);
    } catch (const std::exception &e) {
        if (m_side == Side::Home)
            ui::show({err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示")});
        return;
    }
    for (int k = 0; k < names.size(); ++k) {
        QLabel *label = element(k);
        label->show();
        const QPixmap picture(app().currentPath + stylemanifest::kFontFolder + names.at(k));
        if (!picture.isNull()) {
            label->setPixmap(picture);
            label->resize(picture.size() + QSize(2, 2));
        }
        label->setProperty("tag", names.at(k));
    }
    stack(0);
    const QLabel *last = img.last();
    scrlVer->setRange(0, std::max(0, last->y() + last->height() - Picture1->height() + kGap));
    scrlVer->setSingleStep(20);
    scrlVer->setPageStep(Picture1->height() / 2);
}

void FontPicker::stack(int firstTop)
{
    img.first()->move(img.first()->x(), firstTop);
    for (int k = 1; k < img.size(); ++k)
        img.at(k)->move(img.at(k)->x(), img.at(k - 1)->y() + img.at(k - 1)->height() + kGap);
}

void FontPicker::scrlVer_Change(int value)
{
    stack(-value);
}

bool FontPicker::isFramed(int index) const
{
    return index >= 0 && index < img.size() && profile::isFramed(img.at(index));
}

void FontPicker::img_Click(int index)
{
    for (int k = 0; k < img.size(); ++k) {
        const bool on = k == index;
        setFramed(img.at(k), on);
        if (on) {
            m_index = k;
            m_name = img.at(k)->property("tag").toString();
        }
    }
}

void FontPicker::OKButton_Click()
{
    if (!isFramed(m_index)) {
        ui::show(msg::noFontChosen());
        return;
    }
    const Outcome r = chooseFont(app().conn, m_side, m_name);
    if (!r.done) {
        ui::show(*r.message);
        return;
    }
    if (sltTmplFrm *view = forms().find<sltTmplFrm>())
        view->showFont(m_side, m_name);
    accept();
}

bool FontPicker::eventFilter(QObject *watched, QEvent *event)
{
    const QVariant index = watched->property("index");
    if (index.isValid() && img.contains(qobject_cast<QLabel *>(watched))) {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            img_Click(index.toInt());
        else if (event->type() == QEvent::MouseButtonDblClick)
            img_DblClick(index.toInt());
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Template pickers -----------------------------------------------------------------

TemplatePicker::TemplatePicker(Side side, QWidget *parent)
    : QDialog(parent)
    , m_side(side)
{
    setWindowTitle(side == Side::Home ? QStringLiteral("选择首页模板") : QStringLiteral("选择内页模板"));
    setFixedSize(twips::rect(0, 0, 10590, 6660).size());
    Frame1 = new QGroupBox(QStringLiteral("模板类别"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips::rect(90, 60, 1440, 5940));
    lst_type = new QListWidget(Frame1);
    lst_type->setObjectName(QStringLiteral("lst_type"));
    lst_type->setGeometry(twips::rect(90, 300, 1260, 5520));
    Frame2 = new QGroupBox(QStringLiteral("待选模板"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twips::rect(1620, 60, 8880, 5940));
    Picture1 = clipBox(Frame2, twips::rect(90, 300, 8700, kViewHeight));
    scrlVer = scrollBar(Picture1);
    scrlVer->setSingleStep(150);
    scrlVer->setPageStep(1680);
    ccrpPrgBar = new QProgressBar(this);
    ccrpPrgBar->setObjectName(QStringLiteral("ccrpPrgBar"));
    ccrpPrgBar->setGeometry(twips::rect(90, 6150, 3000, 300));
    ccrpPrgBar->setTextVisible(false);
    ccrpPrgBar->hide();
    cmd_view = dialogparts::button(this, "cmd_view", QStringLiteral("浏览"), twips::rect(6780, 6090, 1170, 420));
    OKButton = dialogparts::button(this, "OKButton", QStringLiteral("确定"), twips::rect(8040, 6090, 1170, 420));
    CancelButton = dialogparts::button(this, "CancelButton", QStringLiteral("取消"), twips::rect(9300, 6090, 1170, 420));
    OKButton->setDefault(true);
    element(0)->hide();
    connect(lst_type, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lst_type_Click();
    });
    connect(cmd_view, &QPushButton::clicked, this, [this] { cmd_view_Click(); });
    connect(OKButton, &QPushButton::clicked, this, &TemplatePicker::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &TemplatePicker::CancelButton_Click);
    connect(scrlVer, &QScrollBar::valueChanged, this, &TemplatePicker::scrlVer_Change);
}

tmpl *TemplatePicker::element(int k)
{
    while (tmpl1.size() <= k) {
        const int index = int(tmpl1.size());
        auto *t = new tmpl(Picture1);
        t->setObjectName(QStringLiteral("tmpl1"));
        connect(t, &tmpl::click, this, [this, index] { tmpl1_click(index); });
        connect(t, &tmpl::DoubleClick, this, [this, index] { tmpl1_DoubleClick(index); });
        tmpl1 << t;
        m_tops << 0;
    }
    scrlVer->raise();
    return tmpl1.at(k);
}

void TemplatePicker::Form_Load()
{
    const WaitCursor wait(true);
    try {
        for (const QString &category : templateCategories(app().conn, m_side))
            lst_type->addItem(category);
    } catch (const std::exception &e) {
        ui::show({err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示")});
        return;
    }
    if (lst_type->count() > 0)
        lst_type->setCurrentRow(0); // lists the first category
}

void TemplatePicker::lst_type_Click()
{
    const WaitCursor wait(m_side == Side::Home);
    QStringList names;
    try {
        if (lst_type->currentItem())
            names = templateNames(app().conn, m_side, lst_type->currentItem()->text());
    } catch (const std::exception &e) {
        // As a failed load: the grid stays empty, and the user learns why.
        ui::show({err::descriptionOf(e), ui::vbInformation, QStringLiteral("提示")});
    }
    while (tmpl1.size() > 1) {
        delete tmpl1.takeLast();
        m_tops.removeLast();
    }
    m_tops[0] = 0;
    {
        const QSignalBlocker block(scrlVer);
        scrlVer->setValue(0);
    }
    ccrpPrgBar->setMaximum(int(names.size()));
    ccrpPrgBar->setValue(0);
    for (int k = 0; k < names.size(); ++k) {
        ccrpPrgBar->show();
        ccrpPrgBar->setValue(k);
        tmpl *t = element(k);
        t->show();
        t->setValue(names.at(k));
        m_tops[k] = templateCell(k).y();
    }
    if (names.isEmpty()) {
        // Nothing to list: no thumbnail stays behind from the last listing.
        tmpl1.first()->hide();
        tmpl1.first()->setValue(QString());
    }
    placeAll();
    tmpl1_click(0);
    ccrpPrgBar->hide();
    scrlVer->setRange(0, std::max(0, m_tops.last() - kViewHeight + 2000));
}

void TemplatePicker::placeAll()
{
    for (int k = 0; k < tmpl1.size(); ++k)
        tmpl1.at(k)->move(twips::toPx(templateCell(k).x()), twips::toPx(m_tops.at(k)));
}

void TemplatePicker::scrlVer_Change(int value)
{
    m_tops[0] = -value;
    for (int k = 1; k < tmpl1.size(); ++k)
        m_tops[k] = m_tops[k - 1] + (k % 3 == 0 ? 1680 : 0);
    placeAll();
}

void TemplatePicker::tmpl1_click(int index)
{
    for (int k = 0; k < tmpl1.size(); ++k)
        tmpl1.at(k)->setSelected(k == index ? 1 : 0);
}

QString TemplatePicker::chosenValue() const
{
    for (const tmpl *t : tmpl1)
        if (t->selected() == 1)
            return t->value();
    return QString();
}

void TemplatePicker::OKButton_Click()
{
    const QString value = chosenValue();
    const Outcome r = chooseTemplate(app().conn, m_side, value);
    if (!r.done) {
        ui::show(*r.message);
        return;
    }
    if (sltTmplFrm *view = forms().find<sltTmplFrm>())
        view->showTemplate(m_side, value);
    accept();
}

void TemplatePicker::cmd_view_Click()
{
    showPreview();
}

void TemplatePicker::showPreview()
{
    forms().showModal<sltTmplFrm_viewTmpl>();
}

void sltTmplFrm_defaultTmpl::cmd_view_Click()
{
    BdefaultTmpl = true;
    showPreview();
    BdefaultTmpl = false;
}
