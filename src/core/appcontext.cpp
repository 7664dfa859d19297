#include "core/appcontext.h"

#include <QCoreApplication>

AppContext &app()
{
    static AppContext context;
    static const bool released = [] {
        // The connection must go while the application object is still alive.
        if (QCoreApplication::instance())
            qAddPostRoutine([] { app().conn.release(); });
        return true;
    }();
    Q_UNUSED(released);
    return context;
}
