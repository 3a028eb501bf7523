#pragma once

#include "widgets/controlref.h"

// The main window and its controls, by the identifiers of its layout table. The shell builds the
// window from them; the handlers below the shell address its controls through them.
namespace design::mainwindow {

using widgets::ControlRef;
using widgets::ControlType;

inline constexpr int MainWindowId = 1;

inline constexpr ControlRef MainWindow = widgets::windowRef(MainWindowId);
inline constexpr ControlRef Palette{MainWindowId, 1, ControlType::GroupMenu};
inline constexpr ControlRef WindowPanelButton{MainWindowId, 2, ControlType::ColourButton};
inline constexpr ControlRef CodePanelButton{MainWindowId, 3, ControlType::ColourButton};
inline constexpr ControlRef AboutPanelButton{MainWindowId, 4, ControlType::ColourButton};
inline constexpr ControlRef PanelUnderline{MainWindowId, 5, ControlType::PlainRectangle};
inline constexpr ControlRef PanelContainer{MainWindowId, 6, ControlType::PageContainer};
inline constexpr ControlRef DesignCanvas{MainWindowId, 7, ControlType::PlainRectangle};
inline constexpr ControlRef CodeView{MainWindowId, 8, ControlType::CodeEditor};
inline constexpr ControlRef TitleLabel{MainWindowId, 9, ControlType::Label};
inline constexpr ControlRef IntroductionLabel{MainWindowId, 10, ControlType::Label};
inline constexpr ControlRef VersionLabel{MainWindowId, 11, ControlType::Label};
inline constexpr ControlRef DisclaimerLabel{MainWindowId, 12, ControlType::Label};
inline constexpr ControlRef ContactLabel{MainWindowId, 13, ControlType::Label};
inline constexpr ControlRef CopyrightLabel{MainWindowId, 14, ControlType::Label};
inline constexpr ControlRef HorizontalScrollBar{MainWindowId, 15, ControlType::HorizontalScrollBar};
inline constexpr ControlRef VerticalScrollBar{MainWindowId, 16, ControlType::VerticalScrollBar};
inline constexpr ControlRef PropertiesHeading{MainWindowId, 17, ControlType::Label};
inline constexpr ControlRef ComponentList{MainWindowId, 18, ControlType::DropDownList};
inline constexpr ControlRef PropertyGrid{MainWindowId, 19, ControlType::Grid};
inline constexpr ControlRef StatusBar{MainWindowId, 20, ControlType::Label};
inline constexpr ControlRef InputDevice{MainWindowId, 21, ControlType::InputDevice};

// Pages of the panel container.
inline constexpr int WindowPage = 0;
inline constexpr int CodePage = 1;
inline constexpr int AboutPage = 2;

} // namespace design::mainwindow
