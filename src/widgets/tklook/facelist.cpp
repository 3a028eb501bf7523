#include "widgets/tklook/facelist.h"

#include "widgets/screenmetrics.h"
#include "widgets/textconversion.h"
#include "widgets/tklook/tklook.h"

#include <QGuiApplication>

#include <X11/Xft/Xft.h>

namespace widgets::tk {

namespace {

// Fontconfig gives every pattern it substitutes the languages of its process, which are the
// designer's own and its interface's; Tk's are those of the program's process. They go onto the
// pattern first, weakly as fontconfig adds them, with "und" after them: fontconfig adds none of its
// own to a pattern that has it. No rule asks for "und", and it is taken off before matching.
constexpr char LanguagesEnd[] = "und";

void addLanguage(FcPattern *pattern, const FcChar8 *language)
{
    FcValue value;
    value.type = FcTypeString;
    value.u.s = language;
    FcPatternAddWeak(pattern, FC_LANG, value, FcTrue);
}

void addProgramLanguages(FcPattern *pattern)
{
    // As fontconfig reads FC_LANG or a locale's name: each of a colon-separated list normalized, or
    // English for none.
    bool added = false;
    static const QList<QByteArray> languages = programLanguage().split(':');
    for (const QByteArray &language : languages) {
        FcChar8 *normal = FcLangNormalize(reinterpret_cast<const FcChar8 *>(language.constData()));
        if (!normal)
            continue;
        addLanguage(pattern, normal);
        FcStrFree(normal);
        added = true;
    }
    if (!added)
        addLanguage(pattern, reinterpret_cast<const FcChar8 *>("en"));
    addLanguage(pattern, reinterpret_cast<const FcChar8 *>(LanguagesEnd));
}

void removeLanguagesEnd(FcPattern *pattern)
{
    FcChar8 *language = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_LANG, i, &language) == FcResultMatch; ++i) {
        if (qstrcmp(reinterpret_cast<const char *>(language), LanguagesEnd) == 0) {
            FcPatternRemove(pattern, FC_LANG, i);
            return;
        }
    }
}

} // namespace

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
    addProgramLanguages(pattern);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    removeLanguagesEnd(pattern);
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
