#pragma once
// One whole HTML document on the web engine: the editor's design view (edited as rich
// text) and its preview. The document's own scripts never run and its links lead
// nowhere; the program's scripts run in the application world, in the order issued.
// Documents are replaced in place (document.write), so a read issued after a write
// always sees the new document. Once a file of the data folder has been replaced, the
// next document is written into a freshly loaded page: the old one keeps the pictures it
// has shown by their address.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWebEngineView>

class HtmlDocView : public QWebEngineView {
    Q_OBJECT
public:
    enum class Mode { Design, Preview };
    // baseFolder: the folder that relative addresses in the document resolve against.
    HtmlDocView(Mode mode, const QString &baseFolder, QWidget *parent = nullptr);

    // Replaces the whole document.
    void setDocumentHtml(const QString &html);
    // The whole document as it now stands ("<html>…</html>"). Waits for the page, with
    // user input held back, at most waitMs; throws err::Error when it does not answer.
    QString documentHtml();
    // The value of a script expression, waited for as documentHtml.
    QVariant evaluate(const QString &expression);
    // Runs a script of the program's in the document (queued until the view is ready).
    void run(const QString &script);
    // document.execCommand(name, false, value) on the current selection.
    void execCommand(const QString &name, const QString &value = QString());

    Mode mode() const { return m_mode; }

    // The longest a read waits, in milliseconds.
    static int waitMs;

signals:
    void ready();

private:
    // Loads the empty first document again; scripts wait until it is ready.
    void loadEmpty();
    void onFirstLoad();
    void runNow(const QString &script);

    Mode m_mode;
    QUrl m_base;
    quint64 m_replacedSeen = 0;
    bool m_ready = false;
    QStringList m_queue;
};
