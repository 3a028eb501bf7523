#pragma once

namespace widgets {

// Properties by index. 0 to 7 are common to every control; 8 and up belong to a type, so the same
// number means different things on different types.
enum class Prop : int {
    Left = 0,        // outer left edge in the parent's client coordinates
    Top = 1,
    Width = 2,       // outer width
    Height = 3,
    Tag = 4,         // free text; empty in every layout table
    Visible = 5,
    Disabled = 6,

    WindowTitle = 8,
    WindowState = 18, // on write: 0 normal, 1 centred on the screen, 2 minimized, 3 maximized

    LabelText = 8,
    LabelFont = 15,
    LabelTextColour = 16,
    LabelBackColour = 17,

    EntryText = 8,
    EntryFont = 12,

    ButtonCaption = 10,
    ButtonFont = 13,

    CheckCaption = 11, // check box and radio button
    CheckFont = 17,
    Checked = 18,      // check box and radio button

    ListSelection = 19, // drop-down list: current index, -1 none

    ScrollMaximum = 9,
    ScrollPosition = 12,

    CurrentPage = 12,   // page container

    NormalText = 24,    // colour button: normal state
    NormalBack = 25,
    HotText = 26,       // colour button: pointer over it or pressed
    HotBack = 27,
    FocusText = 28,     // colour button: keyboard focus, neither pointed at nor pressed
    FocusBack = 29,

    EditorReadOnly = 8,
    EditorSelectionText = 16,
    EditorSelectionBack = 17,
    EditorCaret = 18,

    GridRows = 17,      // at least 1
    GridColumns = 18,   // at least 1

    MenuCurrentItem = 15,       // current item of the current group, -1 none
    MenuHeaderBackNormal = 16,
    MenuHeaderBackPressed = 17,
    MenuHeaderBackHot = 18,
    MenuHeaderBackSelected = 19,
    MenuHeaderTextNormal = 20,
    MenuHeaderTextPressed = 21,
    MenuHeaderTextHot = 22,
    MenuHeaderTextSelected = 23,
};

// Members of a font property; WholeValue reads or writes the whole record.
enum class FontMember : int {
    WholeValue = -1,
    Angle = 0,
    Bold = 1,
    Italic = 2,
    Underline = 3,
    StrikeOut = 4,
    Size = 5,   // in points
    Face = 6,
};

// Clamping of geometry writes through properties (moveControl does not clamp).
inline constexpr int PositionLimit = 32627;
inline constexpr int SizeLimit = 32627;

} // namespace widgets
