#pragma once

// What the in-process benchmarks share: a started designer, placing widgets the way the user does,
// the process's resident memory, and the figures they print for bench/run.sh.

#include "design/designwindowids.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace bench {

inline std::unique_ptr<shell::Designer> startDesigner()
{
    QCursor::setPos(QPoint(0, 0));
    auto designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    designer->start();
    // Room for a thousand widgets side by side.
    designer->layer.moveControl(design::ids::DesignWindow, std::nullopt, std::nullopt, 1280, 3700);
    QCoreApplication::processEvents();
    return designer;
}

inline QWidget *designClient(const shell::Designer &designer)
{
    return designer.layer.control(design::ids::DesignWindow)->clientWidget();
}

// The n-th press point (from 0) of a run of placements: ten widgets a row, none overlapping another, so
// that a thousand of them make a design a user could have drawn on a large design window.
inline QPoint pressPoint(int n)
{
    return QPoint(4 + (n % 10) * 124, 4 + (n / 10) * 36);
}

// The palette's item for the n-th placement: label, entry, button, radio button, check button in turn.
inline int kindOf(int n)
{
    return 1 + n % 5;
}

// Chooses the kind in the palette and presses the design window at the n-th point, as the user does;
// answers the time the press took in milliseconds.
inline double placeOne(shell::Designer &designer, int n, int kind)
{
    designer.layer.writeProperty(shell::ids::Palette, widgets::Prop::MenuCurrentItem, kind);
    QWidget *client = designClient(designer);
    QElapsedTimer timer;
    timer.start();
    QTest::mousePress(client, Qt::LeftButton, {}, pressPoint(n));
    const double ms = timer.nsecsElapsed() / 1e6;
    QTest::mouseRelease(client, Qt::LeftButton, {}, pressPoint(n));
    return ms;
}

// Places widgets first to first + count - 1 of the run.
inline void placeMany(shell::Designer &designer, int count, QList<double> *times = nullptr, int first = 0)
{
    for (int n = first; n < first + count; ++n) {
        const double ms = placeOne(designer, n, kindOf(n));
        if (times)
            times->append(ms);
    }
    // The pointer device reports the last press and release on its next poll; let it.
    QTest::qWait(30);
}

inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// The process's resident set, the figure /proc/<pid>/status shows from outside.
inline double residentMib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Prints a figure that is not a timing, in the form bench/run.sh collects.
inline void report(const char *name, double value)
{
    std::printf("FIGURE %s %.3f\n", name, value);
    std::fflush(stdout);
}

} // namespace bench
