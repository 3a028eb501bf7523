// How long the designer takes from nothing to an idle main window with everything set up.
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/bench_startup
#include "shell/designer.h"

#include <QtTest>

class bench_Startup : public QObject
{
    Q_OBJECT

private slots:
    void startUp()
    {
        QBENCHMARK {
            shell::Designer designer([] { return shell::PlatformVersion{6, 1}; });
            designer.start();
            QCoreApplication::processEvents();
        }
    }
};

QTEST_MAIN(bench_Startup)
#include "bench_startup.moc"
