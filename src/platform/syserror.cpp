#include "platform/syserror.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>

namespace kovanta {

std::string systemErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return "nicht gefunden";
    case EACCES:
    case EPERM:
        return "keine Berechtigung";
    case EISDIR:
        return "ist ein Verzeichnis";
    case ENOTDIR:
        return "ein Teil des Pfades ist kein Verzeichnis";
    case ENOSPC:
    case EDQUOT:
        return "Datenträger voll";
    case EFBIG:
        return "Datei zu groß";
    case EROFS:
        return "Dateisystem nur lesbar";
    case ELOOP:
        return "zu viele symbolische Verknüpfungen (Schleife?)";
    case ENAMETOOLONG:
        return "Name zu lang";
    case EEXIST:
        return "ist schon vorhanden";
    case EBUSY:
    case ETXTBSY:
        return "wird gerade benutzt";
    case EIO:
        return "Ein-/Ausgabefehler";
    case EPIPE:
        return "Empfänger geschlossen";
    case EBADF:
        return "nicht geöffnet";
    case EMFILE:
    case ENFILE:
        return "zu viele offene Dateien";
    case ENOMEM:
        return "nicht genug Speicher";
    case EINVAL:
        return "ungültiger Wert";
    case EXDEV:
        return "liegt auf einem anderen Dateisystem";
    case ECONNREFUSED:
        return "Verbindung abgelehnt";
    case ECONNRESET:
        return "Verbindung von der Gegenseite getrennt";
    case ECONNABORTED:
        return "Verbindung abgebrochen";
    case ETIMEDOUT:
        return "Zeitüberschreitung";
    case ENETUNREACH:
        return "Netz nicht erreichbar";
    case EHOSTUNREACH:
        return "Rechner nicht erreichbar";
    case ENETDOWN:
        return "Netz nicht verfügbar";
    case EADDRNOTAVAIL:
        return "Adresse nicht verfügbar";
    case EINTR:
        return "unterbrochen";
    default:
        break;
    }
    return std::string(std::strerror(error)) + " (Fehler " + std::to_string(error) + ")";
}

std::string lookupErrorText(int eaiCode, int error)
{
    switch (eaiCode) {
    case EAI_NONAME:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
        return "Rechnername unbekannt";
    case EAI_AGAIN:
        return "Namensauflösung zurzeit nicht möglich";
    case EAI_FAIL:
        return "Namensauflösung fehlgeschlagen";
    case EAI_MEMORY:
        return "nicht genug Speicher";
    case EAI_SYSTEM:
        return systemErrorText(error);
    default:
        break;
    }
    return std::string(gai_strerror(eaiCode)) + " (Fehler " + std::to_string(eaiCode) + ")";
}

} // namespace kovanta
