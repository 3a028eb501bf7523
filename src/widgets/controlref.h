#pragma once

#include "widgets/controltype.h"

#include <QHashFunctions>

namespace widgets {

// Identifier of the window itself when it is addressed as a control.
inline constexpr int WindowItself = 0;

// Names one control: the window it belongs to, its identifier there, and its type.
// A plain value: copy it freely; it stays valid as long as the control exists.
struct ControlRef
{
    int window = 0;
    int control = WindowItself;
    ControlType type = ControlType::Window;

    constexpr bool operator==(const ControlRef &other) const = default;
    constexpr bool isNull() const { return window == 0; }
};

// The window of `window` addressed as a control.
constexpr ControlRef windowRef(int window)
{
    return ControlRef{window, WindowItself, ControlType::Window};
}

inline size_t qHash(const ControlRef &ref, size_t seed = 0)
{
    return qHashMulti(seed, ref.window, ref.control);
}

} // namespace widgets
