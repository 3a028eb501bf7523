#pragma once

namespace widgets {

// The kinds of control that layout tables can hold.
enum class ControlType {
    Window,             // a window, addressed as control 0 of itself
    Label,
    EntryField,         // single-line edit box
    PushButton,
    CheckBox,
    RadioButton,
    DropDownList,       // pick-only, never sorted
    HorizontalScrollBar,
    VerticalScrollBar,
    PageContainer,      // pages of controls without visible tabs
    PlainRectangle,     // outline and fill, nothing else
    ColourButton,       // button with a text and background colour per drawing state
    CodeEditor,         // a Scintilla editor
    Grid,               // table of text cells with a fixed header row and column
    GroupMenu,          // collapsible-group menu: one group header and its items
    InputDevice,        // invisible monitor of the global mouse state
};

} // namespace widgets
