#include "ansiqstring.h"

#include "platform/codepage.h"

#include <QList>

namespace kovanta {

QString ansiToQString(std::string_view ansi)
{
    QString out(static_cast<qsizetype>(ansi.size()), Qt::Uninitialized);
    for (size_t i = 0; i < ansi.size(); ++i)
        out[static_cast<qsizetype>(i)] = QChar(codepage::ansiToUnicode(ansi[i]));
    return out;
}

std::string qstringToAnsi(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (const char32_t cp : text.toUcs4())
        out += codepage::unicodeToAnsi(cp);
    return out;
}

} // namespace kovanta
