#include "webimport/importview.h"

#include "platform/codepage.h"
#include "platform/syserror.h"

namespace kovanta {

std::string linkProgressText(std::size_t number, std::size_t count)
{
    return "Link " + std::to_string(number) + " von " + std::to_string(count);
}

std::string importFailureText(const char* text, const std::string& url, const std::string& cause)
{
    std::string message = text;
    if (cause.find(url) == std::string::npos)
        message += "\n" + url;
    if (!cause.empty())
        message += "\n" + cause;
    return message;
}

std::string systemErrorAnsi(int error)
{
    return codepage::utf8ToAnsi(systemErrorText(error));
}

} // namespace kovanta
