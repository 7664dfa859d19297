#include "editor/advedit.h"

#include "core/appcontext.h"
#include "core/twips.h"
#include "design/pagestore.h"
#include "editor/dlgfrm_insert.h"
#include "editor/editorart.h"
#include "editor/editorlogic.h"
#include "editor/htmldocview.h"
#include "ui/dialogparts.h"
#include "ui/formregistry.h"
#include "ui/prompter.h"

#include <QFontDatabase>
#include <QVBoxLayout>
#include <QWebEnginePage>

using namespace editor;

namespace {

QWidget *tabPage(QWidget *view)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(twips::toPx(75), twips::toPx(45), twips::toPx(75), twips::toPx(45));
    layout->addWidget(view);
    return page;
}

} // namespace

advEdit::advEdit(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("advEdit"));

    tlBar = new QToolBar(this);
    tlBar->setObjectName(QStringLiteral("tlBar"));
    tlBar->setIconSize(QSize(16, 16));
    tlBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Narrow buttons, so that all 22 fit beside the data-entry view's column tree.
    tlBar->setStyleSheet(QStringLiteral("QToolButton { padding: 1px 0px; }"));
    for (const ToolButton &b : toolButtons()) {
        QAction *a = tlBar->addAction(editorart::toolIcon(b.key), b.caption);
        a->setObjectName(b.key);
        a->setToolTip(b.tooltip);
        const QString key = b.key;
        connect(a, &QAction::triggered, this, [this, key] { tlBar_ButtonClick(key); });
        tlBarButtons << a;
    }

    // The views are made with the data folder in use, against which relative
    // addresses in a page resolve.
    const QString folder = app().currImgPath;
    DHTMLEditer = new HtmlDocView(HtmlDocView::Mode::Design, folder);
    DHTMLEditer->setObjectName(QStringLiteral("DHTMLEditer"));
    txt_code = dialogparts::textBox(nullptr, "txt_code");
    txt_code->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt_code->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    DHTMLSafer = new HtmlDocView(HtmlDocView::Mode::Preview, folder);
    DHTMLSafer->setObjectName(QStringLiteral("DHTMLSafer"));

    sstb = new QTabWidget(this);
    sstb->setObjectName(QStringLiteral("sstb"));
    sstb->addTab(tabPage(DHTMLEditer), QStringLiteral("可视编辑"));
    sstb->addTab(tabPage(txt_code), QStringLiteral("代码编辑"));
    sstb->addTab(tabPage(DHTMLSafer), QStringLiteral("浏览"));
    connect(sstb, &QTabWidget::currentChanged, this, [this](int current) {
        const int previous = m_tab;
        m_tab = current;
        if (!m_quietTab)
            sstb_Click(previous);
    });

    // Initialisation: both documents start as "<body></body>" (the views' first page),
    // on the design tab with the toolbar enabled.
    setToolbarEnabled(true);
    UserControl_Resize();
}

QString advEdit::innerHTML() const
{
    switch (sstb->currentIndex()) {
    case CodeTab: return textforms::toStoredLines(txt_code->toPlainText());
    case PreviewTab: return textforms::encodeEditorHtml(DHTMLSafer->documentHtml(), app().currImgPath);
    default: return textforms::encodeEditorHtml(DHTMLEditer->documentHtml(), app().currImgPath);
    }
}

void advEdit::putInnerHTML(const QString &stored)
{
    DHTMLEditer->setDocumentHtml(textforms::decodeEditorHtml(stored, app().currImgPath));
    // A page loaded while another tab shows: the next tab change would copy that tab's
    // older page over it, so the design tab comes forward without copying.
    if (sstb->currentIndex() != DesignTab) {
        m_quietTab = true;
        sstb->setCurrentIndex(DesignTab);
        m_quietTab = false;
        setToolbarEnabled(true);
    }
}

advEdit::~advEdit()
{
    abandonChoices();
}

void advEdit::abandonChoices()
{
    if (!m_choices.isEmpty() && app().conn.isOpen())
        m_choices.abandoned(app().conn, app().currImgPath);
}

void advEdit::loadPage(design::Level level, const QString &page, const QString &stored, bool hasRecord)
{
    abandonChoices();
    m_level = level;
    m_page = page;
    m_newRecord = !hasRecord;
    putInnerHTML(stored);
}

void advEdit::pageRenamed(design::Level level, const QString &from, const QString &to)
{
    if (level == m_level && from == m_page)
        m_page = to;
}

void advEdit::setInnerHTML(const QString &fragment)
{
    const QString page = appendFragment(innerHTML(), fragment);
    DHTMLEditer->setDocumentHtml(textforms::decodeEditorHtml(page, app().currImgPath));
}

void advEdit::sstb_Click(int previousTab)
{
    const TabChange change = tabChange(previousTab, sstb->currentIndex());
    try {
        using V = TabChange::View;
        if (change.from != V::None) {
            const QString folder = app().currImgPath;
            QString text = change.from == V::Code      ? textforms::toStoredLines(txt_code->toPlainText())
                         : change.from == V::Design    ? DHTMLEditer->documentHtml()
                                                       : DHTMLSafer->documentHtml();
            if (change.convert == TabChange::Convert::Encode)
                text = textforms::encodeEditorHtml(text, folder);
            else if (change.convert == TabChange::Convert::Decode)
                text = textforms::decodeEditorHtml(text, folder);
            if (change.to == V::Code)
                txt_code->setPlainText(textforms::toBoxLines(text));
            else
                (change.to == V::Design ? DHTMLEditer : DHTMLSafer)->setDocumentHtml(text);
        }
    } catch (const std::exception &e) {
        ui::show(design::msg::failure(err::descriptionOf(e)));
    }
    setToolbarEnabled(change.toolbarEnabled);
}

void advEdit::setToolbarEnabled(bool enabled)
{
    for (QAction *a : tlBarButtons)
        a->setEnabled(enabled);
}

void advEdit::tlBar_ButtonClick(const QString &key)
{
    const ToolAction action = toolAction(key);
    try {
        switch (action.kind) {
        case ToolAction::Kind::None: return;
        case ToolAction::Kind::Save: saveContent(); return;
        case ToolAction::Kind::Command: DHTMLEditer->execCommand(action.command); break;
        case ToolAction::Kind::PageAction:
            DHTMLEditer->triggerPageAction(action.command == QLatin1String("cut")    ? QWebEnginePage::Cut
                                           : action.command == QLatin1String("copy") ? QWebEnginePage::Copy
                                                                                     : QWebEnginePage::Paste);
            break;
        case ToolAction::Kind::Link: createLink(); break;
        case ToolAction::Kind::Font: applyFont(); break;
        case ToolAction::Kind::Dialog:
            if (action.command == QLatin1String("sline"))
                openInsertDialog<dlgFrm_hr>();
            else if (action.command == QLatin1String("table"))
                openInsertDialog<dlgFrm_tbl>();
            else if (action.command == QLatin1String("img"))
                openInsertDialog<dlgFrm_img>();
            else
                openInsertDialog<dlgFrm_flash>();
            break;
        }
        DHTMLEditer->setFocus();
    } catch (const std::exception &e) {
        ui::show(design::msg::failure(err::descriptionOf(e)));
    }
}

template <class Dialog> void advEdit::openInsertDialog()
{
    Dialog *dlg = forms().get<Dialog>();
    dlg->editor = this;
    ui::prompter().execModal(*dlg);
    forms().unload<Dialog>();
}

void advEdit::createLink()
{
    dlgFrm_link *dlg = forms().get<dlgFrm_link>();
    const bool ok = ui::prompter().execModal(*dlg) == QDialog::Accepted;
    const QString url = dlg->txt_url->text().trimmed();
    forms().unload<dlgFrm_link>();
    if (ok && !url.isEmpty())
        DHTMLEditer->execCommand(QStringLiteral("createLink"), url);
}

void advEdit::applyFont()
{
    const FontState current = fontStateFrom(DHTMLEditer->evaluate(fontStateQuery()).toMap());
    dlgFrm_font *dlg = forms().get<dlgFrm_font>();
    dlg->setState(current);
    // What the dialog shows may differ from the page (a font not installed): only what
    // the user changes in it is applied.
    const FontState shown = dlg->state();
    const bool ok = ui::prompter().execModal(*dlg) == QDialog::Accepted;
    const FontState chosen = dlg->state();
    forms().unload<dlgFrm_font>();
    if (!ok)
        return;
    for (const auto &[command, value] : fontCommands(shown, chosen))
        DHTMLEditer->execCommand(command, value);
}

void advEdit::saveContent()
{
    // The page the editor shows, whatever the data-entry view has selected since.
    const SaveRequest request{m_level, m_page, aspFileName, m_newRecord};
    const SaveResult result = savePage(app().conn, request, [this] { return innerHTML(); });
    if (result.inserted)
        m_newRecord = false;
    if (result.outcome == SaveOutcome::Saved)
        m_choices.saved(app().conn, app().currImgPath);
    if (const auto message = saveMessage(result))
        ui::show(*message);
}

void advEdit::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void advEdit::UserControl_Resize()
{
    // Sizes that would come out negative on a very small control are held at zero.
    const int w = width(), h = height();
    const int left = twips::toPx(50);
    const int barHeight = tlBar->sizeHint().height();
    tlBar->setGeometry(left, 0, qMax(0, w - left), barHeight);
    sstb->setGeometry(left, barHeight, qMax(0, w - twips::toPx(150)), qMax(0, h - barHeight - twips::toPx(50)));
}
