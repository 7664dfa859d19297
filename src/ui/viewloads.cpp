#include "ui/viewloads.h"

#include "core/appcontext.h"
#include "core/errors.h"
#include "ui/formregistry.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QWidget>

namespace viewloads {

namespace {

struct Waiting {
    QPointer<QWidget> view;
    std::function<void()> reload;
};

struct State {
    bool starting = false;
    QSet<QString> told;
    QList<Waiting> waiting;
};

State &state()
{
    static State s;
    return s;
}

} // namespace

void beginStartup()
{
    state().starting = true;
    state().told.clear();
}

void endStartup()
{
    state().starting = false;
    state().told.clear();
}

void told(const QString &cause)
{
    if (state().starting)
        state().told.insert(cause);
}

void tell(const ui::Message &box, const QString &cause)
{
    State &s = state();
    if (s.starting && s.told.contains(cause))
        return;
    told(cause);
    ui::show(box);
}

namespace {

void wait(QWidget *view, std::function<void()> reload)
{
    QList<Waiting> &waiting = state().waiting;
    waiting.removeIf([view](const Waiting &w) { return !w.view || w.view == view; });
    waiting.append({view, std::move(reload)});
}

} // namespace

void loadAgainLater(QWidget *view, std::function<void()> reload)
{
    const SiteDb &conn = app().conn;
    if (!conn.isOpen() && conn.openFailure() == err::Kind::DbLocked)
        wait(view, std::move(reload));
}

void failed(QWidget *view, const ui::Message &box, const QString &cause, std::function<void()> reload,
            std::optional<err::Kind> kind)
{
    tell(box, cause);
    if (kind == err::Kind::DbLocked)
        wait(view, std::move(reload));
    else
        loadAgainLater(view, std::move(reload));
}

void failed(QWidget *view, const std::exception &e, int style, std::function<void()> reload)
{
    const QString cause = err::descriptionOf(e);
    const auto *error = dynamic_cast<const err::Error *>(&e);
    failed(view, {cause, style, QStringLiteral("提示")}, cause, std::move(reload),
           error ? std::optional(error->kind()) : std::nullopt);
}

void retry()
{
    QList<Waiting> &waiting = state().waiting;
    // Views unloaded meanwhile (a restore) load afresh when they are shown again.
    const QList<QWidget *> loaded = forms().loaded();
    waiting.removeIf([&loaded](const Waiting &w) {
        return !w.view || (w.view != forms().mainWindow() && !loaded.contains(w.view.data()));
    });
    if (waiting.isEmpty() || !app().conn.readableNow())
        return;
    const QList<Waiting> now = std::exchange(waiting, {});
    for (const Waiting &w : now)
        if (w.view)
            w.reload();
}

} // namespace viewloads
