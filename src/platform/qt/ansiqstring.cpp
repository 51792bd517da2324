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

QString visibleControls(const QString& text, bool keepLineBreaks)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (keepLineBreaks && u == u'\n')
            out += c;
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace kovanta
