#include "shell/applicationicon.h"
#include "shell/designer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrigan"));
    QApplication::setApplicationVersion(QStringLiteral("1.2.6.0"));
    QApplication::setWindowIcon(shell::applicationIcon());
    // The program ends when its main window closes, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(true);

    shell::Designer designer;
    designer.start();
    return app.exec();
}
