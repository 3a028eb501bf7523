#pragma once

#include "widgets/control.h"
#include "widgets/fontvalue.h"

#include <optional>

namespace widgets {

// A control with a font property: the record is kept here as the truth, and Qt gets the nearest
// font it can show.
class FontedControl : public Control
{
public:
    FontedControl(ControlType type, Prop fontIndex) : Control(type), m_fontIndex(fontIndex) {}

    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;

    // Not value_or: that would ask the platform for its font on every read, even with one set.
    FontValue font() const { return m_font ? *m_font : defaultGuiFont(); }

private:
    Prop m_fontIndex;
    std::optional<FontValue> m_font;
};

// Qt reads "&" in button captions as a mnemonic marker; captions are shown as typed.
QString literalCaption(const QString &text);

} // namespace widgets
