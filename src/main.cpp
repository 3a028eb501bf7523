#include "shell/applicationidentity.h"
#include "shell/designer.h"
#include "widgets/displaychoice.h"
#include "widgets/screenscaling.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Without a display there is nothing to show; Qt would abort.
    if (!widgets::prepareDisplay())
        return 1;
    widgets::prepareScreenScaling();
    QApplication app(argc, argv);
    shell::setUpApplicationIdentity();
    // The program ends when its main window closes, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(true);

    shell::Designer designer;
    designer.start();
    return app.exec();
}
