#pragma once

#include "widgets/controlref.h"

#include <QList>

#include <optional>

namespace shell {

// The sizes the main window's layout reads, in pixels.
struct LayoutInput
{
    int clientWidth = 0;          // CW
    int clientHeight = 0;         // CH
    int paletteWidth = 0;         // PW
    int verticalBarWidth = 0;     // VW
    int horizontalBarHeight = 0;  // HH
    int statusBarHeight = 0;      // SH
    int panelButtonHeight = 0;    // BH
    int underlineHeight = 0;      // LH
    int headingHeight = 0;        // QH
    int listHeight = 0;           // KH
    int codeViewLeft = 0;         // EL
};

// One step of the layout; an omitted edge or size keeps its value.
struct LayoutStep
{
    widgets::ControlRef control;
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;
};

// Width of the right-hand column: heading, component list and property grid.
inline constexpr int RightColumnWidth = 178;

// The main window's layout for these sizes, step by step in the order it is applied.
QList<LayoutStep> mainWindowLayout(const LayoutInput &in);

} // namespace shell
