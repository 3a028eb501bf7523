#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <optional>

// Tk's option database, read and matched as Tk 8.6 reads and matches it (tkOption.c), which is not
// how Xlib's resource manager does it:
// - the text is read line by line as AddFromString reads it; a line without a colon, or a last line
//   without a line feed, ends the reading there, and what came before it stays;
// - a pattern's fields are separated by "." (tight) or "*" (loose); a field that starts with a capital
//   letter is a class, any other a name; "?" is no wildcard but a name no window has, and "*." or
//   "**" make an empty field that nothing matches;
// - of all entries whose pattern matches, the one added last wins: neither a tighter binding nor a
//   name over a class counts, only the order of the text.
namespace widgets::tk {

// One window of the path from the application's root window down: its name, when known, and its class.
struct OptionWindow
{
    std::optional<QByteArray> name;   // none: patterns that name the window never match it
    QByteArray windowClass;
};
using OptionPath = QList<OptionWindow>;

class OptionDatabase
{
public:
    // The entries of a resource text, as Tk reads RESOURCE_MANAGER or ~/.Xdefaults.
    static OptionDatabase fromText(QByteArrayView text);

    // The value for the option of the last window of the path, if an entry gives one.
    std::optional<QByteArray> value(const OptionPath &path, QByteArrayView optionName,
                                    QByteArrayView optionClass) const;

    qsizetype size() const { return m_entries.size(); }

private:
    struct Field
    {
        QByteArray text;
        bool loose = false;   // "*" before it: any number of windows may come between
        bool isClass = false;
    };
    struct Entry
    {
        QList<Field> windows;  // the fields before the last
        Field option;          // the last field
        QByteArray value;
    };
    static bool matches(const Entry &entry, const OptionPath &path);
    void add(QByteArrayView pattern, QByteArray value);

    QList<Entry> m_entries;   // in the order of the text: a later entry wins
    // The entries' indices by the text of their option field, so that a lookup reads only those that
    // may match even in a database of many thousands.
    QHash<QByteArray, QList<qsizetype>> m_byOption;
};

} // namespace widgets::tk
