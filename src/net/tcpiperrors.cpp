#include "net/tcpiperrors.h"

#include "platform/codepage.h"
#include "platform/syserror.h"

#include <algorithm>
#include <cerrno>
#include <climits>

namespace kovanta::net {

std::string sizeText(std::size_t bytes)
{
    if (bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MiB";
    if (bytes % 1024 == 0)
        return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " Bytes";
}

int msLeft(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

std::string durationText(int ms)
{
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

std::string systemText(int error)
{
    // The system's texts are UTF-8.
    return codepage::utf8ToAnsi(systemErrorText(error));
}

ESocketError timeoutError(const std::string& what)
{
    return ESocketError(std::string(kTimeout) + ": " + what, static_cast<std::uint16_t>(ETIMEDOUT));
}

ESocketError cancelledError()
{
    return ESocketError("Abruf abgebrochen", static_cast<std::uint16_t>(ECANCELED));
}

} // namespace kovanta::net
