#include "widgets/controls/fontedcontrol.h"

namespace widgets {

QVariant FontedControl::read(Prop index, int member) const
{
    if (index != m_fontIndex)
        return {};
    return readFontMember(font(), member);
}

bool FontedControl::write(Prop index, int member, const QVariant &value)
{
    if (index != m_fontIndex)
        return false;
    // A member write starts from the current font, or the platform's if none was ever set.
    m_font = withFontMember(font(), member, value);
    widget()->setFont(toQFont(*m_font));
    return true;
}

QString literalCaption(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return shown;
}

} // namespace widgets
