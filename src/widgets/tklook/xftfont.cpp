#include "widgets/tklook/xftfont.h"

#include <QFile>
#include <QHash>
#include <QtEndian>
#include <QtMath>

#include <fontconfig/fontconfig.h>

#include <map>

namespace widgets {

struct XftFont::Face
{
    QString file;
    int index = 0;
    FcCharSet *charset = nullptr;
    mutable std::unique_ptr<QRawFont> raw; // loaded when a character first needs it

    ~Face()
    {
        if (charset)
            FcCharSetDestroy(charset);
    }
};

namespace {

// A face's ascent and descent at a size as FreeType gives them for hinted text: from the horizontal
// header, rounded up to whole pixels.
std::pair<int, int> hintedExtent(const QRawFont &font)
{
    const QByteArray header = font.fontTable("hhea");
    const QByteArray head = font.fontTable("head");
    const qreal pixels = font.pixelSize();
    if (header.size() >= 8 && head.size() >= 20 && pixels > 0) {
        const int unitsPerEm = qFromBigEndian<quint16>(head.constData() + 18);
        const int ascender = qFromBigEndian<qint16>(header.constData() + 4);
        const int descender = qFromBigEndian<qint16>(header.constData() + 6);
        if (unitsPerEm > 0 && ascender - descender > 0)
            return {qCeil(ascender * pixels / unitsPerEm - 0.01), qCeil(-descender * pixels / unitsPerEm - 0.01)};
    }
    return {qCeil(font.ascent() - 0.01), qCeil(font.descent() - 0.01)};
}

// A font file's bytes, read once: every size of a face, and every font that falls back to it, shares
// them, so that a large Chinese collection sits in memory only once.
QByteArray fontFileData(const QString &path)
{
    static QHash<QString, QByteArray> read;
    const auto found = read.constFind(path);
    if (found != read.constEnd())
        return *found;
    QFile file(path);
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    read.insert(path, data);
    return data;
}

} // namespace

const XftFont &XftFont::get(const QString &face, qreal pixelSize)
{
    static std::map<std::pair<QString, qint64>, std::unique_ptr<XftFont>> made;
    const auto key = std::make_pair(face, qint64(qRound64(pixelSize * 1000)));
    auto found = made.find(key);
    if (found == made.end())
        found = made.emplace(key, std::unique_ptr<XftFont>(new XftFont(face, pixelSize))).first;
    return *found->second;
}

XftFont::XftFont(const QString &face, qreal pixelSize) : m_pixelSize(pixelSize)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return;
    const QByteArray name = face.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcFontSet *sorted = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result)) {
        for (int i = 0; i < sorted->nfont; ++i) {
            FcChar8 *file = nullptr;
            FcCharSet *charset = nullptr;
            int index = 0;
            if (FcPatternGetString(sorted->fonts[i], FC_FILE, 0, &file) != FcResultMatch || !file)
                continue;
            FcPatternGetInteger(sorted->fonts[i], FC_INDEX, 0, &index);
            auto entry = std::make_shared<Face>();
            entry->file = QString::fromUtf8(reinterpret_cast<const char *>(file));
            entry->index = index;
            if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &charset) == FcResultMatch && charset)
                entry->charset = FcCharSetCopy(charset);
            m_faces.push_back(std::move(entry));
        }
        FcFontSetDestroy(sorted);
    }
    FcPatternDestroy(pattern);

    if (!m_faces.empty()) {
        glyph(U'0'); // loads the first face
        if (const QRawFont *primary = m_faces.front()->raw.get(); primary && primary->isValid()) {
            const auto [ascent, descent] = hintedExtent(*primary);
            m_ascent = ascent;
            m_descent = descent;
        }
    }
    if (m_ascent + m_descent <= 0) {
        m_ascent = qCeil(pixelSize * 0.9);
        m_descent = qCeil(pixelSize * 0.25);
    }
}

XftFont::Glyph XftFont::glyph(char32_t character) const
{
    if (m_faces.empty())
        return {};
    // Like Tk: the first face that has the character, or the first face when none has it.
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        if (m_faces[i]->charset && FcCharSetHasChar(m_faces[i]->charset, character)) {
            chosen = i;
            break;
        }
    }
    const Face &face = *m_faces[chosen];
    if (!face.raw) {
        face.raw = std::make_unique<QRawFont>();
        // QRawFont reads only the first face of a collection; the others are left to Qt's own fonts.
        if (face.index == 0)
            face.raw->loadFromData(fontFileData(face.file), m_pixelSize, QFont::PreferDefaultHinting);
    }
    if (!face.raw->isValid())
        return {};
    const QList<quint32> indexes = face.raw->glyphIndexesForString(QString::fromUcs4(&character, 1));
    if (indexes.size() != 1)
        return {};
    const QList<QPointF> advances = face.raw->advancesForGlyphIndexes(indexes, QRawFont::UseDesignMetrics);
    return Glyph{face.raw.get(), indexes.first(), advances.isEmpty() ? 0 : qRound(advances.first().x())};
}

} // namespace widgets
