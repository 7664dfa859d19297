#include "ui/browserpane.h"

#include "core/errors.h"
#include "ui/prompter.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryFile>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace {
PaneFactory g_factory;
QString g_baseFolder;

// setHtml refuses content above 2 MB; larger pages go through a file.
constexpr qsizetype kSetHtmlLimit = 2 * 1024 * 1024 - 4096;

const QString kValueTag = QStringLiteral("value:");
} // namespace

// The page reports the values the program mirrors as console messages
// "value:<id>=<value>".
class PanePage : public QWebEnginePage {
public:
    PanePage(BrowserPane *pane)
        : QWebEnginePage(pane)
        , m_pane(pane)
    {
    }

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int,
                                  const QString &) override
    {
        if (!message.startsWith(kValueTag))
            return;
        const int eq = message.indexOf(QLatin1Char('='), kValueTag.size());
        if (eq < 0)
            return;
        m_pane->onConsoleValue(message.mid(kValueTag.size(), eq - kValueTag.size()), message.mid(eq + 1));
    }

    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (!m_pane->m_options.lockedToPage)
            return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
        // Only the program's own loads: a page cannot make a typed navigation.
        if (isMainFrame && type == NavigationTypeTyped)
            return true;
        if (type == NavigationTypeLinkClicked
            && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")))
            QDesktopServices::openUrl(url);
        return false;
    }

private:
    BrowserPane *m_pane;
};

namespace {
// A locked page fetches nothing beyond the document the pane was told to show.
class DocumentOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            info.block(true);
    }
};
} // namespace

void setPaneBaseFolder(const QString &folder)
{
    g_baseFolder = folder;
}

QString jsString(const QString &text)
{
    // A one-element JSON array gives a correctly escaped string literal.
    QString json = QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    json = json.mid(1, json.size() - 2);
    // Keep "</script>" and line separators harmless inside inline scripts.
    json.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    json.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    json.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return json;
}

void applyPaneSettings(QWebEnginePage *page, bool pageScripts)
{
    QWebEngineSettings *s = page->settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, pageScripts);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setDefaultTextEncoding(QStringLiteral("utf-8"));
}

void warmUpPanes()
{
    if (g_factory)
        return; // tests with fake panes need no engine
    QWebEnginePage page(QWebEngineProfile::defaultProfile());
    Q_UNUSED(page);
}

void setPaneFactory(PaneFactory factory)
{
    g_factory = std::move(factory);
}

IBrowserPane *makeBrowserPane(QWidget *parent, PaneOptions options)
{
    if (g_factory)
        return g_factory(parent, options);
    return new BrowserPane(parent, options);
}

BrowserPane::BrowserPane(QWidget *parent, PaneOptions options)
    : QWebEngineView(parent)
    , m_options(options)
{
    auto *page = new PanePage(this);
    setPage(page);
    applyPaneSettings(page, options.pageScripts);
    if (options.lockedToPage) {
        page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        page->setUrlRequestInterceptor(new DocumentOnly(page));
    }
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        // Only the end of the load last asked for counts: an older one may still report.
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus || info.url() != m_expectUrl)
            return;
        onLoadFinished(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
    });
}

BrowserPane::~BrowserPane() = default;

QUrl BrowserPane::resolve(const QString &page)
{
    if (page.startsWith(QLatin1String("about:")) || page.contains(QLatin1String("://")))
        return QUrl(page);
    if (QDir::isAbsolutePath(page))
        return QUrl::fromLocalFile(page);
    return QUrl::fromLocalFile(g_baseFolder + page);
}

void BrowserPane::navigate(const QString &page)
{
    m_pieces.clear();
    m_flushPending = false;
    m_values.clear();
    m_queue.clear();
    m_loading = true;
    m_expectUrl = resolve(page);
    load(m_expectUrl);
}

void BrowserPane::write(const QString &piece)
{
    m_pieces << piece;
    if (m_flushPending)
        return;
    m_flushPending = true;
    m_loading = true;
    QTimer::singleShot(0, this, &BrowserPane::flushWrites);
}

void BrowserPane::flushWrites()
{
    if (!m_flushPending)
        return;
    m_flushPending = false;
    m_written = m_pieces.join(QString());
    m_pieces.clear();
    m_values.clear();
    m_loading = true;
    const QUrl base = QUrl::fromLocalFile(g_baseFolder);
    if (m_written.toUtf8().size() <= kSetHtmlLimit) {
        m_expectUrl = base;
        setHtml(m_written, base);
        return;
    }
    // A fresh file of a name nobody can foresee, made new (never through a link).
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/quorvik-pane-XXXXXX.htm"));
    const QByteArray bytes = m_written.toUtf8();
    if (!file->open() || file->write(bytes) != bytes.size() || !file->flush()) {
        // A page cut off would pass for the whole one: the pane stays empty and says why.
        const QString where = file->fileName().isEmpty() ? QDir::tempPath() : file->fileName();
        m_bigPage.reset();
        m_expectUrl = QUrl(QStringLiteral("about:blank"));
        load(m_expectUrl);
        ui::msgBox(err::describe(err::Kind::FileWrite, where), ui::vbCritical, QStringLiteral("提示"));
        return;
    }
    m_expectUrl = QUrl::fromLocalFile(file->fileName());
    m_bigPage = std::move(file);
    load(m_expectUrl);
}

void BrowserPane::onLoadFinished(bool ok)
{
    // A later request still waiting: this finish belongs to an older document.
    if (m_flushPending)
        return;
    m_loading = false;
    const QStringList queued = m_queue;
    m_queue.clear();
    for (const QString &script : queued)
        runScript(script);
    emit pageReady(ok);
}

void BrowserPane::runScript(const QString &script)
{
    const quint32 world = m_options.pageScripts ? QWebEngineScript::MainWorld : QWebEngineScript::ApplicationWorld;
    page()->runJavaScript(script, world);
}

void BrowserPane::runWhenLoaded(const QString &script)
{
    if (m_loading)
        m_queue << script;
    else
        runScript(script);
}

void BrowserPane::setInnerHTML(const QString &id, const QString &html)
{
    // The element's inputs are recreated empty.
    m_values.clear();
    runWhenLoaded(QStringLiteral("(function(){var e=document.getElementById(%1);if(e){e.innerHTML=%2;}})();")
                      .arg(jsString(id), jsString(html)));
}

void BrowserPane::prependInnerHTML(const QString &id, const QString &html)
{
    runWhenLoaded(QStringLiteral("(function(){var e=document.getElementById(%1);if(e){e.innerHTML=%2+e.innerHTML;}})();")
                      .arg(jsString(id), jsString(html)));
}

QString BrowserPane::value(const QString &id) const
{
    return m_values.value(id);
}

void BrowserPane::onConsoleValue(const QString &id, const QString &value)
{
    m_values.insert(id, value);
}
