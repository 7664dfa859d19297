#include "viewsite.h"

#include "core/appcontext.h"
#include "ui/formregistry.h"

#include <QDir>

ViewSite::ViewSite()
{
    app().currentPath = prog.path();
    app().currImgPath = prog.file(QStringLiteral("userImages/"));
    QDir().mkpath(app().currImgPath);
    setPaneBaseFolder(prog.path());
    testenv::makeDatabase(app().conn, prog.file(QStringLiteral("site.qdb")));
}

ViewSite::~ViewSite()
{
    forms().unloadAll();
    testenv::settle();
    app().conn.close();
}
