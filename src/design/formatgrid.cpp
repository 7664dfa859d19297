#include "design/formatgrid.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "design/catalog.h"
#include "design/cursorfile.h"
#include "design/formatart.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QPixmap>
#include <QWheelEvent>

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    emit clicked();
}

namespace {
constexpr int kThumbLeft = 180, kThumbTop = 585;
constexpr int kOptLeft = 705, kOptTop = 2250;
constexpr int kColumnStep = 2640, kRowStep = 2190;
constexpr int kLastOptionRowTop = kOptTop + 2 * kRowStep; // 6630
constexpr int kHighlightOffset = 70;
constexpr int kBottomMarginPx = 8;

QPoint px(const QPoint &tw)
{
    return QPoint(twips::toPx(tw.x()), twips::toPx(tw.y()));
}

QCursor thumbnailCursor()
{
    return cursorfile::load(app().currentPath + QStringLiteral("images/H_POINT.CUR"))
        .value_or(QCursor(Qt::PointingHandCursor));
}
} // namespace

FormatGrid::Place FormatGrid::gridPos(int index, int v)
{
    const int col = index % 3, row = index / 3;
    return {QPoint(kThumbLeft + kColumnStep * col, kThumbTop + kRowStep * row - v),
            QPoint(kOptLeft + kColumnStep * col, kOptTop + kRowStep * row - v)};
}

int FormatGrid::scrollMaximum() const
{
    int tallest = 0;
    for (const QRadioButton *o : opt)
        tallest = qMax(tallest, o->height());
    return qMax(0, kLastOptionRowTop + (tallest + kBottomMarginPx) * twips::kPerPixel - kViewHeight);
}

FormatGrid::FormatGrid(Variant variant, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setFixedSize(twips::toPx(kViewWidth), twips::toPx(kViewHeight));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    lbl_model = new QLabel(QStringLiteral("显示模式"), this);
    lbl_model->setObjectName(QStringLiteral("lbl_model"));
    lbl_model->adjustSize();
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    lbl_bg = new QLabel(this);
    lbl_bg->setObjectName(QStringLiteral("lbl_bg"));
    lbl_bg->setFixedSize(twips::toPx(2250), twips::toPx(1500));
    lbl_bg->setStyleSheet(QStringLiteral("background-color: #2f6fd1; border-radius: 2px;"));
    lbl_bg->hide();

    group = new QButtonGroup(this);
    group->setExclusive(true);
    const QCursor cursor = thumbnailCursor();
    for (int i = 0; i < 8; ++i) {
        img[i] = new ClickLabel(this);
        img[i]->setObjectName(QStringLiteral("img%1").arg(i));
        img[i]->setFixedSize(150, 100);
        img[i]->setPixmap(formatart::thumbnail(i, QSize(150, 100)));
        img[i]->setFrameShape(QFrame::Box);
        img[i]->setLineWidth(1);
        img[i]->setCursor(cursor);
        const design::FormatInfo &f = design::formats()[i];
        const QString caption = variant == Variant::ModFile ? f.modCaption : f.caption;
        img[i]->setToolTip(caption);
        connect(img[i], &ClickLabel::clicked, this, [this, i] { img_Click(i); });
        img[i]->installEventFilter(this);

        opt[i] = new QRadioButton(caption, this);
        opt[i]->setObjectName(QStringLiteral("opt%1").arg(i));
        opt[i]->setProperty("Tag", f.key);
        opt[i]->adjustSize();
        group->addButton(opt[i], i);
        opt[i]->installEventFilter(this);
        connect(opt[i], &QRadioButton::clicked, this, [this, i] { opt_Click(i); });
    }
    opt[0]->setChecked(true);
    layoutAt(0);
}

QString FormatGrid::chosenFormat() const
{
    for (QRadioButton *o : opt)
        if (o->isChecked())
            return o->property("Tag").toString();
    return QString();
}

void FormatGrid::img_Click(int index)
{
    if (index < 0 || index > 7)
        return;
    for (int j = 0; j < 8; ++j)
        img[j]->setFrameShape(j == index ? QFrame::NoFrame : QFrame::Box);
    m_chosen = index;
    lbl_bg->show();
    layoutAt(m_scroll);
    opt[index]->setChecked(true);
    scrollIntoView(index);
}

void FormatGrid::scrollIntoView(int index)
{
    if (!m_bar)
        return;
    // From the top of the thumbnail's row (the first row with the caption above it) to
    // the option's bottom with the margin the scroll range leaves under the last row.
    const int top = (index / 3) * kRowStep;
    const int bottom = gridPos(index, 0).option.y() + (opt[index]->height() + kBottomMarginPx) * twips::kPerPixel;
    const int v = m_bar->value();
    if (top < v)
        m_bar->setValue(top);
    else if (bottom > v + kViewHeight)
        m_bar->setValue(bottom - kViewHeight);
}

bool FormatGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 8; ++i)
            if (watched == opt[i])
                scrollIntoView(i);
    } else if (event->type() == QEvent::Wheel && m_bar) {
        // Over a thumbnail or an option as anywhere over the grid.
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FormatGrid::wheelEvent(QWheelEvent *event)
{
    if (m_bar)
        QCoreApplication::sendEvent(m_bar, event);
    else
        QWidget::wheelEvent(event);
}

void FormatGrid::opt_Click(int index)
{
    img_Click(index);
}

void FormatGrid::vscrl_Change(int v)
{
    m_scroll = v;
    layoutAt(v);
}

void FormatGrid::layoutAt(int v)
{
    for (int i = 0; i < 8; ++i) {
        const Place p = gridPos(i, v);
        img[i]->move(px(p.thumbnail));
        opt[i]->move(px(p.option));
    }
    lbl_model->move(px(QPoint(kThumbLeft, 150 - v)));
    const QPoint lineLeft = px(QPoint(kThumbLeft, 375 - v));
    Line1->setGeometry(lineLeft.x(), lineLeft.y(), twips::toPx(kViewWidth - 2 * kThumbLeft), 2);
    const Place chosen = gridPos(m_chosen, v);
    lbl_bg->move(px(chosen.thumbnail + QPoint(kHighlightOffset, kHighlightOffset)));
    lbl_bg->lower();
}
