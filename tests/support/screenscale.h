#pragma once

// The interface scale a test's screen is set up for, given by hand where the test is registered
// (tests/CMakeLists.txt: KESTRIGAN_TEST_INTERFACE_SCALE, 1.5 on the 144-dpi screen and under a Qt
// scale factor of 1.5; 1 without it), so that a test does not ask the code it checks.

#include <QRect>
#include <QtGlobal>

namespace testsupport {

inline qreal expectedInterfaceScale()
{
    bool ok = false;
    const qreal scale = qEnvironmentVariable("KESTRIGAN_TEST_INTERFACE_SCALE").toDouble(&ok);
    return ok && scale > 0 ? scale : 1;
}

// A length and a rectangle multiplied by that scale, for tests whose lengths it multiplies exactly
// (even ones at 1.5), where no rounding can come in.
inline int multiplied(int length, qreal scale = expectedInterfaceScale())
{
    return qRound(length * scale);
}

inline QRect multiplied(const QRect &rect, qreal scale = expectedInterfaceScale())
{
    return QRect(multiplied(rect.x(), scale), multiplied(rect.y(), scale), multiplied(rect.width(), scale),
                 multiplied(rect.height(), scale));
}

} // namespace testsupport
