#pragma once
// Every pane that shows HTML goes through IBrowserPane; windows make theirs with
// makeBrowserPane(), which a test replaces with a fake.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWebEngineView>
#include <functional>
#include <memory>

class QTemporaryFile;

class IBrowserPane {
public:
    virtual ~IBrowserPane() = default;
    // Shows a page: "about:blank", an absolute file path, or a name relative to the
    // program folder ("tmplImg/welcome01.htm").
    virtual void navigate(const QString &page) = 0;
    // Appends a piece of HTML to the page being written; the pieces written one after
    // another are shown as one page.
    virtual void write(const QString &piece) = 0;
    // Replaces / prefixes the content of the element with this id (nothing when the
    // page has no such element).
    virtual void setInnerHTML(const QString &id, const QString &html) = 0;
    virtual void prependInnerHTML(const QString &id, const QString &html) = 0;
    // The value of a page input as the page's own script last reported it; "" when
    // none was reported since the page or the element was last replaced.
    virtual QString value(const QString &id) const = 0;
    virtual QWidget *widget() = 0;
};

struct PaneOptions {
    // The page's own JavaScript runs (only the program's own host pages need it).
    bool pageScripts = false;
    // For HTML from elsewhere: the pane stays on the page the program shows. No link,
    // refresh or form leads away (a clicked http or https link opens in the desktop
    // browser instead), and the page loads nothing of its own: no picture, frame, local
    // file or remote address.
    bool lockedToPage = false;
};

// The real pane on Qt WebEngine.
class BrowserPane : public QWebEngineView, public IBrowserPane {
    Q_OBJECT
public:
    explicit BrowserPane(QWidget *parent = nullptr, PaneOptions options = {});
    ~BrowserPane() override;

    void navigate(const QString &page) override;
    void write(const QString &piece) override;
    void setInnerHTML(const QString &id, const QString &html) override;
    void prependInnerHTML(const QString &id, const QString &html) override;
    QString value(const QString &id) const override;
    QWidget *widget() override { return this; }

    // The page text last written, joined (kept for tests).
    QString writtenHtml() const { return m_written; }
    bool isLoading() const { return m_loading; }
    // Runs a script once the current page has loaded (immediately when it has).
    void runWhenLoaded(const QString &script);

    // The URL a page name resolves to.
    static QUrl resolve(const QString &page);

signals:
    void pageReady(bool ok);

private:
    void flushWrites();
    void runScript(const QString &script);
    void onLoadFinished(bool ok);
    void onConsoleValue(const QString &id, const QString &value);

    PaneOptions m_options;
    bool m_loading = false;
    bool m_flushPending = false;
    QStringList m_pieces;
    QString m_written;
    QStringList m_queue;
    QHash<QString, QString> m_values;
    std::unique_ptr<QTemporaryFile> m_bigPage; // a written page too large to be set directly
    QUrl m_expectUrl;

    friend class PanePage;
};

// Creates a pane; tests install a factory that returns a fake.
using PaneFactory = std::function<IBrowserPane *(QWidget *parent, PaneOptions options)>;
IBrowserPane *makeBrowserPane(QWidget *parent, PaneOptions options = {});
void setPaneFactory(PaneFactory factory);

// The program folder that relative page names resolve against (ends in "/").
void setPaneBaseFolder(const QString &folder);

// The settings every pane's page gets: its own scripts only when asked for, local
// files readable, nothing remote, no windows, no plug-ins, UTF-8 by default.
void applyPaneSettings(QWebEnginePage *page, bool pageScripts);

// Starts the web engine ahead of the first pane (it takes a while the first time).
void warmUpPanes();

// JavaScript string literal of a text (JSON-escaped, safe inside a <script>).
QString jsString(const QString &text);
