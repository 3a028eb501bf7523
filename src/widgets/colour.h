#pragma once

#include <QColor>
#include <QtGlobal>

namespace widgets {

// 24-bit colour with red in the low byte (0x00BBGGRR).
using Colour = quint32;

// Stands for the default colour of a role.
inline constexpr Colour DefaultColour = 0xFF000000u;

constexpr Colour rgb(int red, int green, int blue)
{
    return Colour(red) | (Colour(green) << 8) | (Colour(blue) << 16);
}

inline QColor toQColor(Colour colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

inline Colour fromQColor(const QColor &colour)
{
    return rgb(colour.red(), colour.green(), colour.blue());
}

} // namespace widgets
