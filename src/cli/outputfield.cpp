#include "outputfield.h"

#include "platform/codepage.h"

namespace kovanta::cli {

std::string outputField(std::string_view ansi)
{
    std::string utf8 = codepage::ansiToUtf8(ansi);
    for (char& c : utf8) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return utf8;
}

} // namespace kovanta::cli
