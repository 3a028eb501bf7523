#pragma once

#include "widgets/controlref.h"

// The design window and its hidden template controls, by the identifiers of its layout table.
namespace design::ids {

using widgets::ControlRef;
using widgets::ControlType;

inline constexpr int DesignWindowId = 2;

inline constexpr ControlRef DesignWindow = widgets::windowRef(DesignWindowId);
inline constexpr ControlRef LabelTemplate{DesignWindowId, 1, ControlType::Label};
inline constexpr ControlRef EntryTemplate{DesignWindowId, 2, ControlType::EntryField};
inline constexpr ControlRef ButtonTemplate{DesignWindowId, 3, ControlType::PushButton};
inline constexpr ControlRef RadioButtonTemplate{DesignWindowId, 4, ControlType::RadioButton};
inline constexpr ControlRef CheckButtonTemplate{DesignWindowId, 5, ControlType::CheckBox};

} // namespace design::ids
