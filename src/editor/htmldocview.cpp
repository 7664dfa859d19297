#include "editor/htmldocview.h"

#include "core/datafiles.h"
#include "core/errors.h"
#include "ui/browserpane.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <memory>

int HtmlDocView::waitMs = 10000;

namespace {

// Loads only the first, empty document; every later navigation (a link, a form, a
// dropped file, a refresh in the page) is refused so the view keeps its document.
class DocPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    bool allowNext = true;

protected:
    bool acceptNavigationRequest(const QUrl &, NavigationType, bool isMainFrame) override
    {
        if (!isMainFrame)
            return true;
        const bool ok = allowNext;
        allowNext = false;
        return ok;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int, const QString &) override {}
};

// Waits in a local loop that holds back user input until done() or the time-out.
template <class Done> bool waitUntil(QEventLoop &loop, Done done)
{
    if (done())
        return true;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(HtmlDocView::waitMs);
    while (!done() && limit.isActive())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done();
}

} // namespace

HtmlDocView::HtmlDocView(Mode mode, const QString &baseFolder, QWidget *parent)
    : QWebEngineView(parent)
    , m_mode(mode)
{
    auto *page = new DocPage(this);
    setPage(page);
    applyPaneSettings(page, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(page, &QWebEnginePage::loadFinished, this, [this] {
        if (!m_ready)
            onFirstLoad();
    });
    m_base = QUrl::fromLocalFile(baseFolder.isEmpty() ? QStringLiteral("/") : baseFolder);
    m_replacedSeen = datafiles::replacedCount();
    loadEmpty();
}

void HtmlDocView::loadEmpty()
{
    m_ready = false;
    static_cast<DocPage *>(page())->allowNext = true;
    page()->setHtml(QStringLiteral("<body></body>"), m_base);
}

void HtmlDocView::onFirstLoad()
{
    if (m_mode == Mode::Design)
        runNow(QStringLiteral("document.designMode='on';"));
    m_ready = true;
    const QStringList queued = m_queue;
    m_queue.clear();
    for (const QString &script : queued)
        runNow(script);
    emit ready();
}

void HtmlDocView::runNow(const QString &script)
{
    page()->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

void HtmlDocView::run(const QString &script)
{
    if (m_ready)
        runNow(script);
    else
        m_queue << script;
}

void HtmlDocView::setDocumentHtml(const QString &html)
{
    if (m_replacedSeen != datafiles::replacedCount()) {
        m_replacedSeen = datafiles::replacedCount();
        if (m_ready)
            loadEmpty();
    }
    run(QStringLiteral("document.open();document.write(%1);document.close();").arg(jsString(html)));
}

void HtmlDocView::execCommand(const QString &name, const QString &value)
{
    run(QStringLiteral("document.execCommand(%1,false,%2);").arg(jsString(name), jsString(value)));
}

QVariant HtmlDocView::evaluate(const QString &expression)
{
    struct Answer {
        QVariant value;
        bool done = false;
        QEventLoop *loop = nullptr;
    };
    QEventLoop loop;
    connect(this, &HtmlDocView::ready, &loop, &QEventLoop::quit);
    if (!waitUntil(loop, [this] { return m_ready; }))
        throw err::Error(err::Kind::Unexpected, QStringLiteral("编辑器没有响应"));
    // The answer may come after the time-out, when this frame is gone.
    auto answer = std::make_shared<Answer>();
    answer->loop = &loop;
    page()->runJavaScript(expression, QWebEngineScript::ApplicationWorld, [answer](const QVariant &v) {
        answer->value = v;
        answer->done = true;
        if (answer->loop)
            answer->loop->quit();
    });
    const bool done = waitUntil(loop, [&answer] { return answer->done; });
    answer->loop = nullptr;
    if (!done)
        throw err::Error(err::Kind::Unexpected, QStringLiteral("编辑器没有响应"));
    return answer->value;
}

QString HtmlDocView::documentHtml()
{
    const QVariant v = evaluate(QStringLiteral("document.documentElement.outerHTML"));
    if (v.typeId() != QMetaType::QString)
        throw err::Error(err::Kind::Unexpected, QStringLiteral("编辑器没有响应"));
    return v.toString();
}
