#pragma once

#include <QString>

#include <fontconfig/fontconfig.h>

namespace widgets::tk {

// The pattern Tk asks fontconfig with for a (face, points) font, with the defaults Xft adds: the X
// resources (Xft.dpi, Xft.antialias, Xft.hintstyle, Xft.rgba ...) and fontconfig's own. Away from X11
// there are no resources; the text resolution stands in for Xft.dpi. The caller destroys it.
FcPattern *tkPattern(const QString &face, int points);

// Fontconfig's faces for a name, best first, as Tk's Xft back end asks for them.
class FaceList
{
public:
    FaceList(const QString &face, int points);
    ~FaceList();
    FaceList(const FaceList &) = delete;
    FaceList &operator=(const FaceList &) = delete;

    const QString &face() const { return m_face; }
    std::size_t count() const { return m_sorted ? std::size_t(m_sorted->nfont) : 0; }
    FcPattern *font(std::size_t i) const { return m_sorted->fonts[i]; }

    // Like Tk: the first face that has the character, or the first face when none has it.
    std::size_t faceFor(char32_t character) const;

private:
    QString m_face;
    FcFontSet *m_sorted = nullptr;
};

} // namespace widgets::tk
