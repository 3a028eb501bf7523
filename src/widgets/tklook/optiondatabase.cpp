#include "widgets/tklook/optiondatabase.h"

namespace widgets::tk {

namespace {

// Tk keeps at most this many characters of a field.
constexpr qsizetype FieldLimit = 100;

// Every window field matches a window of its own, so a pattern with more fields than a program has
// windows in a row matches nothing; one of thousands of fields is not kept at all.
constexpr qsizetype DeepestPath = 64;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

// AddFromString: comments start with "#" or "!", a backslash before a line feed joins lines, and a
// value knows the escapes \n, \\ and \ooo. The text ends at its first NUL, as Tk's C string does.
OptionDatabase OptionDatabase::fromText(QByteArrayView text)
{
    OptionDatabase database;
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text = text.first(nul);
    const char *src = text.data();
    const char *const end = src + text.size();
    auto at = [&](qsizetype offset) { return src + offset < end ? src[offset] : '\0'; };

    while (true) {
        while (src < end && isBlank(*src))
            ++src;
        if (at(0) == '#' || at(0) == '!') {
            do {
                ++src;
                if (at(0) == '\\' && at(1) == '\n')
                    src += 2;
            } while (src < end && *src != '\n');
        }
        if (at(0) == '\n') {
            ++src;
            continue;
        }
        if (src >= end)
            break;

        QByteArray name;
        while (at(0) != ':') {
            if (src >= end || *src == '\n')
                return database;  // "missing colon": Tk stops reading here
            if (at(0) == '\\' && at(1) == '\n') {
                src += 2;
            } else {
                name.append(*src++);
            }
        }
        while (!name.isEmpty() && isBlank(name.back()))
            name.chop(1);
        ++src;
        while (src < end && isBlank(*src))
            ++src;
        if (at(0) == '\\' && isBlank(at(1)))
            ++src;
        if (src >= end)
            return database;  // "missing value"

        QByteArray value;
        while (at(0) != '\n') {
            if (src >= end)
                return database;  // "missing newline": the unfinished last line is not added
            if (*src == '\\') {
                if (at(1) == '\n') {
                    src += 2;
                    continue;
                }
                if (at(1) == 'n') {
                    src += 2;
                    value.append('\n');
                    continue;
                }
                if (at(1) == '\\') {
                    ++src;
                } else if (at(1) >= '0' && at(1) <= '3' && at(2) >= '0' && at(2) <= '9' && at(3) >= '0'
                           && at(3) <= '9') {
                    value.append(char(((at(1) & 7) << 6) | ((at(2) & 7) << 3) | (at(3) & 7)));
                    src += 4;
                    continue;
                }
            }
            value.append(*src++);
        }
        ++src;
        database.add(name, value);
    }
    return database;
}

// Tk_AddOption's reading of a pattern into fields.
void OptionDatabase::add(QByteArrayView pattern, QByteArray value)
{
    Entry entry;
    entry.value = std::move(value);
    qsizetype p = 0;
    while (true) {
        Field field;
        if (p < pattern.size() && pattern[p] == '*') {
            field.loose = true;
            ++p;
        }
        const qsizetype start = p;
        while (p < pattern.size() && pattern[p] != '.' && pattern[p] != '*')
            ++p;
        field.text = pattern.sliced(start, qMin(p - start, FieldLimit)).toByteArray();
        field.isClass = !field.text.isEmpty() && field.text.front() >= 'A' && field.text.front() <= 'Z';
        if (p >= pattern.size()) {
            entry.option = std::move(field);
            break;
        }
        entry.windows.append(std::move(field));
        if (entry.windows.size() > DeepestPath)
            return;
        if (pattern[p] == '.')
            ++p;
    }
    m_byOption[entry.option.text].append(m_entries.size());
    m_entries.append(std::move(entry));
}

// A field matches the window it stands for; a tight one the window right after the previous field's,
// a loose one any later window. The option field is tight to the last window, or loose below any.
bool OptionDatabase::matches(const Entry &entry, const OptionPath &path)
{
    const qsizetype windows = entry.windows.size();
    if (windows > path.size())
        return false;
    auto fits = [](const Field &field, const OptionWindow &window) {
        if (field.isClass)
            return field.text == window.windowClass;
        return window.name && field.text == *window.name;
    };
    // reached[j]: the fields so far can end at window j.
    QList<bool> reached(path.size(), false);
    for (qsizetype i = 0; i < windows; ++i) {
        const Field &field = entry.windows.at(i);
        QList<bool> next(path.size(), false);
        bool earlier = false;  // some window before j was reached by the previous fields
        for (qsizetype j = 0; j < path.size(); ++j) {
            const bool after = i == 0 ? (field.loose || j == 0)
                                      : (field.loose ? earlier : (j > 0 && reached.at(j - 1)));
            next[j] = after && fits(field, path.at(j));
            if (i > 0)
                earlier = earlier || reached.at(j);
        }
        reached = std::move(next);
    }
    if (windows == 0)
        return entry.option.loose;
    if (!entry.option.loose)
        return reached.back();
    return reached.contains(true);
}

std::optional<QByteArray> OptionDatabase::value(const OptionPath &path, QByteArrayView optionName,
                                                QByteArrayView optionClass) const
{
    if (path.isEmpty())
        return std::nullopt;
    // Of the entries for the name and those for the class, the one added last that matches.
    std::optional<qsizetype> best;
    for (const bool isClass : {false, true}) {
        const auto found = m_byOption.constFind((isClass ? optionClass : optionName).toByteArray());
        if (found == m_byOption.constEnd())
            continue;
        for (auto index = found->crbegin(); index != found->crend(); ++index) {
            if (best && *index < *best)
                break;
            const Entry &entry = m_entries.at(*index);
            if (entry.option.isClass == isClass && matches(entry, path)) {
                best = *index;
                break;
            }
        }
    }
    return best ? std::optional<QByteArray>(m_entries.at(*best).value) : std::nullopt;
}

} // namespace widgets::tk
