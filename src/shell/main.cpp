#include "shell/appsetup.h"
#include "shell/mdifrm.h"
#include "shell/splash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    appsetup::prepareEnvironment();
    QApplication application(argc, argv);
    appsetup::prepareApplication(application);
    appsetup::watchStartup();

    mdl_frmSplash::Main();
    const int status = application.exec();
    appsetup::tearDown();
    return status;
}
