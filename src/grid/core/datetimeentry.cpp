#include "grid/core/datetimeentry.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace kovanta::grid {

namespace {

using namespace std::chrono;

std::optional<int> dayNumber(int y, int m, int d)
{
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)},
                             day{static_cast<unsigned>(d)}};
    if (m < 1 || m > 12 || d < 1 || d > 31 || !ymd.ok())
        return std::nullopt;
    return static_cast<int>(sys_days{ymd}.time_since_epoch().count());
}

year_month_day fromDayNumber(int n)
{
    return year_month_day{sys_days{days{n}}};
}

// The digit groups of a text, split at sep; blanks and '_' are ignored.
std::optional<std::vector<int>> groups(std::string_view text, char sep)
{
    std::vector<int> out;
    std::string cur;
    auto flush = [&]() -> bool {
        if (cur.empty() || cur.size() > 4)
            return false;
        out.push_back(std::stoi(cur));
        cur.clear();
        return true;
    };
    for (char c : text) {
        if (c == sep) {
            if (!flush())
                return std::nullopt;
        } else if (c >= '0' && c <= '9') {
            cur.push_back(c);
        } else if (c != ' ' && c != '_') {
            return std::nullopt;
        }
    }
    if (!flush())
        return std::nullopt;
    return out;
}

} // namespace

std::optional<int> parseDate(std::string_view text, int today, bool birthDate)
{
    std::string digitsOfYear;
    {
        const auto lastDot = text.rfind('.');
        if (lastDot != std::string_view::npos)
            for (char c : text.substr(lastDot + 1))
                if (c >= '0' && c <= '9')
                    digitsOfYear.push_back(c);
    }
    const auto g = groups(text, '.');
    if (!g || g->size() != 3)
        return std::nullopt;
    int y = (*g)[2];
    if (digitsOfYear.size() <= 2) {
        const int thisYear = static_cast<int>(fromDayNumber(today).year());
        if (birthDate) {
            y += thisYear / 100 * 100;
            if (y > thisYear)
                y -= 100;
        } else {
            y += y < 50 ? 2000 : 1900;
        }
    }
    return dayNumber(y, (*g)[1], (*g)[0]);
}

std::string formatDate(int dayNumberValue, TJahreszahl jahreszahl)
{
    const auto ymd = fromDayNumber(dayNumberValue);
    char buf[16];
    const int y = static_cast<int>(ymd.year());
    if (jahreszahl == TJahreszahl::vierstellig)
        std::snprintf(buf, sizeof buf, "%02u.%02u.%04d", static_cast<unsigned>(ymd.day()),
                      static_cast<unsigned>(ymd.month()), y);
    else
        std::snprintf(buf, sizeof buf, "%02u.%02u.%02d", static_cast<unsigned>(ymd.day()),
                      static_cast<unsigned>(ymd.month()), ((y % 100) + 100) % 100);
    return buf;
}

namespace {

// Local wall-clock time: a kitchen's "today" is its own, not UTC's.
std::tm localNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm result{};
    if (const std::tm* lt = std::localtime(&t))
        result = *lt;
    return result;
}

} // namespace

int todayDayNumber()
{
    const std::tm now = localNow();
    return dayNumber(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday).value_or(0);
}

const char* dateMask(TJahreszahl jahreszahl)
{
    return jahreszahl == TJahreszahl::vierstellig ? "09.09.9999;_" : "09.09.99;_";
}

int dateMaxLength(TJahreszahl jahreszahl)
{
    return jahreszahl == TJahreszahl::vierstellig ? 10 : 8;
}

std::optional<std::string> applyDateKey(char key, std::string_view text, int today,
                                        TJahreszahl jahreszahl, bool birthDate)
{
    switch (key) {
    case '\x7f':
        return std::string();
    case 'H':
    case 'h':
        return formatDate(today, jahreszahl);
    case 'M':
    case 'm':
        return formatDate(today + 1, jahreszahl);
    case 'G':
    case 'g':
        return formatDate(today - 1, jahreszahl);
    case '+':
    case '-': {
        const auto current = parseDate(text, today, birthDate);
        if (!current)
            return formatDate(today, jahreszahl);
        return formatDate(*current + (key == '+' ? 1 : -1), jahreszahl);
    }
    default:
        return std::nullopt;
    }
}

std::optional<int> parseTime(std::string_view text)
{
    const auto g = groups(text, ':');
    if (!g || g->size() != 2 || (*g)[0] >= 24 || (*g)[1] >= 60)
        return std::nullopt;
    return (*g)[0] * 60 + (*g)[1];
}

std::string formatTime(int minutes)
{
    minutes = ((minutes % 1440) + 1440) % 1440;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", minutes / 60, minutes % 60);
    return buf;
}

int nowMinutes()
{
    const std::tm now = localNow();
    return now.tm_hour * 60 + now.tm_min;
}

std::optional<std::string> applyTimeKey(char key, std::string_view text, int now)
{
    const int current = parseTime(text).value_or(0);
    switch (key) {
    case '\x7f':
        return formatTime(0);
    case 'A':
    case 'a':
    case 'H':
    case 'h':
        return formatTime(now);
    case 'N':
    case 'n':
        return formatTime(current + 60);
    case 'V':
    case 'v':
        return formatTime(current - 60);
    case '+':
        return formatTime(current + 1);
    case '-':
        return formatTime(current - 1);
    default:
        return std::nullopt;
    }
}

} // namespace kovanta::grid
