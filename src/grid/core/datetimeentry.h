#pragma once

#include <optional>
#include <string>
#include <string_view>

// Date and time entry of the cell editor: reading, writing and the shortcut keys. Dates are day
// numbers (days since 1970-01-01); times are minutes since midnight.
namespace kovanta::grid {

enum class TJahreszahl { zweistellig, vierstellig };

// "dd.mm.yy" or "dd.mm.yyyy" (blanks and the mask's '_' ignored, one-digit day and month
// allowed). A two-digit year lies in 1950..2049, or, for birth dates, never after this year.
// nullopt for an invalid date.
std::optional<int> parseDate(std::string_view text, int todayDayNumber, bool birthDate = false);
std::string formatDate(int dayNumber, TJahreszahl jahreszahl);
int todayDayNumber();

// The editor's input masks (Qt mask syntax) and maximum lengths.
const char* dateMask(TJahreszahl jahreszahl);
int dateMaxLength(TJahreszahl jahreszahl);
inline constexpr const char* kTimeMask = "09:99;_";
inline constexpr int kTimeMaxLength = 5;

// The date shortcut keys: Delete (given as '\x7f') empties, H today, M tomorrow, G yesterday,
// '+' / '-' a day on (today when empty). Returns the new text, or nullopt when the key is no
// shortcut.
std::optional<std::string> applyDateKey(char key, std::string_view text, int today,
                                        TJahreszahl jahreszahl, bool birthDate = false);

// "hh:mm"; valid with hours < 24 and minutes < 60.
std::optional<int> parseTime(std::string_view text);
std::string formatTime(int minutes);
int nowMinutes();
// Delete ('\x7f') 00:00, A or H now, N +60, V -60, '+' +1, '-' -1 (wrapping around midnight).
std::optional<std::string> applyTimeKey(char key, std::string_view text, int now);

} // namespace kovanta::grid
