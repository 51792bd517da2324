#pragma once

#include <string>

// System errors in the user's language. Users read these texts in messages, on stderr and in
// the status line, so an English strerror() text never reaches them for the errors a user can
// cause; anything rarer keeps the system's text with its number, so it can still be looked up.
namespace kovanta {

// errno → German, UTF-8, lower case start so it reads after a file name:
// "nicht gefunden", "keine Berechtigung", "Datenträger voll", "Verbindung abgelehnt".
// Unknown numbers: the system's text and "(Fehler N)".
std::string systemErrorText(int error);

// getaddrinfo() result → German ("Rechnername unbekannt"); EAI_SYSTEM is read from `error`
// (the errno at that moment).
std::string lookupErrorText(int eaiCode, int error = 0);

} // namespace kovanta
