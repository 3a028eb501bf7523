#include "widgets/tklook/tklook.h"

#include <clocale>

#include <locale.h>

namespace widgets::tk {

QByteArray programLanguage()
{
    for (const char *name : {"FC_LANG", "LC_ALL"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return qgetenv(name);
    }
    QByteArray ctype = qgetenv("LC_CTYPE");
    if (ctype.isEmpty())
        ctype = qgetenv("LANG");
    // Python's check: would this LC_CTYPE locale load, and is it other than C?
    const locale_t loaded = ctype.isEmpty() ? locale_t(nullptr) : newlocale(LC_CTYPE_MASK, ctype.constData(), locale_t(nullptr));
    if (loaded)
        freelocale(loaded);
    const bool legacy = !loaded || ctype == "C" || ctype == "POSIX";
    if (legacy && qgetenv("PYTHONCOERCECLOCALE") != "0")
        return QByteArrayLiteral("C.UTF-8");
    return ctype;
}

} // namespace widgets::tk
