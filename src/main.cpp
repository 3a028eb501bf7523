#include "shell/applicationidentity.h"
#include "shell/designer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    shell::setUpApplicationIdentity();
    // The program ends when its main window closes, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(true);

    shell::Designer designer;
    designer.start();
    return app.exec();
}
