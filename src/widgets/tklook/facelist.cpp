#include "widgets/tklook/facelist.h"

#include "widgets/screenmetrics.h"
#include "widgets/textconversion.h"
#include "widgets/tklook/tklook.h"

#include <QGuiApplication>

#include <X11/Xft/Xft.h>

namespace widgets::tk {

FcPattern *tkPattern(const QString &face, int points)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return nullptr;
    const QByteArray name = textBeforeNul(face).toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcPatternAddDouble(pattern, FC_SIZE, points);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_MEDIUM);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (Display *display = x11 ? x11->display() : nullptr) {
        XftDefaultSubstitute(display, DefaultScreen(display), pattern);
    } else {
        FcPatternAddDouble(pattern, FC_DPI, textDotsPerInch());
        FcDefaultSubstitute(pattern);
    }
    return pattern;
}

FaceList::FaceList(const QString &face, int points) : m_face(face)
{
    FcPattern *pattern = tkPattern(face, points);
    if (!pattern)
        return;
    FcResult result = FcResultNoMatch;
    m_sorted = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);
}

FaceList::~FaceList()
{
    if (m_sorted)
        FcFontSetDestroy(m_sorted);
}

std::size_t FaceList::faceFor(char32_t character) const
{
    for (std::size_t i = 0; i < count(); ++i) {
        FcCharSet *charset = nullptr;
        if (FcPatternGetCharSet(font(i), FC_CHARSET, 0, &charset) == FcResultMatch && FcCharSetHasChar(charset, character))
            return i;
    }
    return 0;
}

} // namespace widgets::tk
