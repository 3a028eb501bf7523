#include "widgets/control.h"

#include "widgets/codeeditor/codeeditorcontrol.h"
#include "widgets/controls/colourbuttoncontrol.h"
#include "widgets/controls/containercontrols.h"
#include "widgets/propertygrid/gridcontrol.h"
#include "widgets/controls/groupmenucontrol.h"
#include "widgets/inputdevice/inputdevicecontrol.h"
#include "widgets/controls/textcontrols.h"

namespace widgets {

std::unique_ptr<Control> createControl(ControlType type, QWidget *parent)
{
    switch (type) {
    case ControlType::Label: return std::make_unique<LabelControl>(parent);
    case ControlType::EntryField: return std::make_unique<EntryFieldControl>(parent);
    case ControlType::PushButton: return std::make_unique<PushButtonControl>(parent);
    case ControlType::CheckBox: return std::make_unique<CheckBoxControl>(parent);
    case ControlType::RadioButton: return std::make_unique<RadioButtonControl>(parent);
    case ControlType::DropDownList: return std::make_unique<DropDownListControl>(parent);
    case ControlType::HorizontalScrollBar:
    case ControlType::VerticalScrollBar: return std::make_unique<ScrollBarControl>(type, parent);
    case ControlType::PageContainer: return std::make_unique<PageContainerControl>(parent);
    case ControlType::PlainRectangle: return std::make_unique<PlainRectangleControl>(parent);
    case ControlType::ColourButton: return std::make_unique<ColourButtonControl>(parent);
    case ControlType::CodeEditor: return std::make_unique<CodeEditorControl>(parent);
    case ControlType::Grid: return std::make_unique<GridControl>(parent);
    case ControlType::GroupMenu: return std::make_unique<GroupMenuControl>(parent);
    case ControlType::InputDevice: return std::make_unique<InputDeviceControl>(parent);
    case ControlType::Window: break;   // windows are made by the loader
    }
    return nullptr;
}

} // namespace widgets
