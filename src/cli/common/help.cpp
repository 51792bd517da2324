#include "cli/common/help.h"

#include <algorithm>
#include <iostream>
#include <cstdint>
#include <limits>

#ifndef KOVANTA_VERSION
#error "KOVANTA_VERSION must be defined by the build"
#endif

namespace kovanta::cli {
namespace {

using Kind = OptionRule::Kind;

// More copies than this is a typing error rather than a wish.
constexpr long long kMaxCopies = 999;

const OptionRule kEntry{"--entry", Kind::Number, 0, std::numeric_limits<std::uint16_t>::max(),
                        "Eintragsnummer"};
const OptionRule kPortions{"--portions", Kind::Number, std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max(), "Portionenzahl"};
const OptionRule kPdf{"--pdf", Kind::Text, 0, 0, {}, true};
const OptionRule kCopies{"--copies", Kind::Number, 1, kMaxCopies, "Anzahl"};

constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();

struct CommandText {
    const char* name;
    const char* summary; // one line for the overview
    // Usage lines without the program name, one per line.
    const char* usage;
    // The rest of the help: what it does, options, output, exit status.
    const char* body;
};

// The texts are German like everything the programs say.
const CommandText kCommands[] = {
    {"list", "Rezepte aus Rezeptdateien und Verzeichnissen auflisten",
     "list PFAD...",
     R"(Listet die Rezepte wie die Rezeptliste des Programms: PFAD ist eine Rezeptdatei
(REZ*.DAT) oder ein Verzeichnis, das wie ein aktives Suchverzeichnis gelesen wird (jede
REZ*.DAT darin, Groß- und Kleinschreibung gleich).

Ausgabe: eine Zeile je Rezept, 14 Felder, durch TAB getrennt, Texte in UTF-8:
   1 Rezept        Kurzname des Rezeptes
   2 Rezeptgruppe  Gruppe des Rezeptes
   3 Portionen     Portionenzahl, mit der das Rezept exportiert wurde
   4 kcal          Kalorien je Portion (0: nicht berechnet)
   5 kJ            Kilojoule je Portion
   6 BE            Broteinheiten je Portion
   7 Chol          Cholesterin je Portion
   8 AZ            Arbeitszeit in Minuten (0: nicht angegeben)
   9 WZ            Wartezeit in Minuten
  10 Datei         Pfad der Rezeptdatei, wie er gefunden wurde
  11 Eintrag       0 bei einer Einzelrezeptdatei, 1..n beim n-ten Rezept einer Listendatei
  12 Dateinummer   die Ziffern 5-8 des Dateinamens (REZ00042.DAT: 42)
  13 Namensnummer  Nummer des Rezeptnamens in der Datei
  14 Datum         Datumstext einer Einzelrezeptdatei, sonst leer
Steuerzeichen, TAB und Bytes, die kein UTF-8 sind, erscheinen als \t, \n, \r, \xHH, ein
Backslash als \\.

Exit-Status: 0; 1, wenn ein genannter PFAD fehlt oder nicht gelesen werden kann (die
anderen werden trotzdem ausgegeben); 2 bei falschen Argumenten.
)"},
    {"preview", "Vorschau eines Rezeptes als Text",
     "preview DATEI [--entry N] [--portions N]",
     R"(Gibt den Text aus, den die Vorschau des Programms zeigt: Kopf, Artikel mit Mengen,
Zubereitung.

Optionen:
  --entry N      Eintrag N einer Listendatei (1..n); 0, die Vorgabe, für eine
                 Einzelrezeptdatei
  --portions N   Mengen auf N Portionen umrechnen; 0, die Vorgabe: die gespeicherte
                 Portionenzahl

Ausgabe: der Text in UTF-8, Absätze als Zeilen, Spalten durch TAB getrennt.

Exit-Status: 0; 1, wenn die Datei oder der Eintrag nicht gelesen werden kann; 2 bei
falschen Argumenten.
)"},
    {"printgrid", "Druckraster eines Rezeptes (TAB-getrennt)",
     "printgrid DATEI [--entry N] [--portions N]",
     R"(Gibt das Raster aus, aus dem der Rezeptausdruck gedruckt wird.

Optionen:
  --entry N      Eintrag N einer Listendatei; 0, die Vorgabe, für eine Einzelrezeptdatei
  --portions N   Mengen auf N Portionen umrechnen; 0: die gespeicherte Portionenzahl

Ausgabe: eine Zeile je Rasterzeile, vier Spalten durch TAB getrennt, Leerzeichen am
Zellende entfernt, UTF-8: zuerst die Kopfzeilen, Name und Gruppe, Beschreibung und
Portionen, dann je Rezeptzeile ihre Art (Artikel oder Text) mit Menge, Einheit und
Artikel oder mit Text und Wert.

Exit-Status: 0; 1, wenn die Datei oder der Eintrag nicht gelesen werden kann; 2 bei
falschen Argumenten.
)"},
    {"requirements", "Bedarfsliste eines Speiseplans",
     "requirements PLANDATEI [--csv]",
     R"(Berechnet die Bedarfsliste eines Speiseplans wie das Programm. PLANDATEI ist ein
gespeicherter Speiseplan (*.plan): je Zeile PORTIONEN<TAB>REZEPTDATEI[<TAB>EINTRAG
[<TAB>REZEPTNAME]], eine leere Zeile ist eine freie Planzeile; relative Dateinamen gelten vom
Verzeichnis der PLANDATEI aus.

Optionen:
  --csv   die CSV-Datei von "Bedarfsliste exportieren..." ausgeben

Ausgabe: je Artikel eine Zeile Menge (11 Zeichen), TAB, Einheit, TAB, Artikel; bieten
Rezepte Alternativartikel an, folgt die Zeile "Alternativartikel enthalten!!!". Mit --csv
die CSV-Datei (UTF-8 mit BOM, Semikolon, Kopfzeile Menge;Einheit;Artikel).

Eine Planzeile, die nicht verwendet werden kann (Rezeptdatei fehlt oder ist nicht lesbar,
Eintrag nicht in der Datei, Rezeptname passt nicht mehr, Portionen nicht von -99999 bis
99999), wird mit ihrer Zeilennummer auf der Standardfehlerausgabe genannt; die übrigen
Zeilen werden berechnet.

Exit-Status: 0; 1, wenn die PLANDATEI nicht gelesen werden kann, eine Zeile anderer Form hat
oder eine Planzeile nicht verwendet werden kann; 2 bei falschen Argumenten.
)"},
    {"print", "Rezeptliste, Speiseplan, Bedarfsliste oder Rezept als PDF drucken",
     "print list PFAD... --pdf AUS.pdf [--copies N]\n"
     "print plan PLANDATEI --pdf AUS.pdf [--copies N]\n"
     "print requirements PLANDATEI --pdf AUS.pdf [--copies N]\n"
     "print recipe DATEI [--entry N] [--portions N] --pdf AUS.pdf [--copies N]",
     R"(Druckt dieselben Ausdrucke wie "Drucken" im Programm in eine PDF-Datei (A4 hoch,
600 dpi). PFAD wie bei "list", PLANDATEI wie bei "requirements".

Optionen:
  --pdf AUS.pdf  die PDF-Datei; eine vorhandene wird erst ersetzt, wenn die neue ganz
                 geschrieben ist
  --copies N     N Exemplare (1 bis 999) nacheinander in derselben Datei
  --entry N      nur bei recipe: Eintrag N einer Listendatei
  --portions N   nur bei recipe: Mengen auf N Portionen umrechnen

Ausgabe: nur die PDF-Datei; Meldungen auf der Standardfehlerausgabe. "rezeptur print"
startet dafür das Programm rezeptur-print im selben Verzeichnis.

Exit-Status: 0; 1, wenn die PDF-Datei nicht geschrieben, ein PFAD, eine Rezept- oder
Plandatei nicht gelesen oder eine Planzeile nicht verwendet werden kann (die übrigen werden
gedruckt); 2 bei falschen Argumenten.
)"},
    {"import", "Web-Rezept wie beim Ablegen im Importfenster holen",
     "import URL TITEL --dir VERZEICHNIS [--timeout SEKUNDEN]",
     R"(Tut, was das Ablegen eines Links mit dieser URL und diesem Titel im Importfenster tut:
Seite holen (http://, https://) oder lesen (file://), Rezeptdateien schreiben, Links
eines Speiseplans folgen. Eine Seite ohne Rezeptzeilen, aber mit Rezeptdaten im
schema.org-Format (JSON-LD) gibt je Rezept eine Rezeptdatei und eine Zeile mit dem Namen des
Rezepts; eine Seite mit keinem von beiden meldet "Keine Rezeptdaten gefunden" und den Link.

Optionen:
  --dir VERZEICHNIS    wohin die Rezeptdateien geschrieben werden (wird angelegt)
  --timeout SEKUNDEN   Zeitlimit für den ganzen Import (Vorgabe 1800, 0 = keins, höchstens
                       86400); danach wird nichts mehr geholt

Ausgabe: je Zeile der Importliste Titel, TAB, Dateiname relativ zu VERZEICHNIS. Auf der
Standardfehlerausgabe vor jedem Link eines Speiseplans "Link 3 von 499: URL" und zeilenweise
die Meldungen, die das Fenster zeigen würde; ein Link, der nicht geholt werden konnte, wird
darin mit dem Grund genannt.

Exit-Status: 0, wenn alles geholt wurde; 1, wenn ein Link nicht
geholt werden konnte, eine Meldung kam, das Zeitlimit den Import beendet hat, die URL weder
mit http://, https:// noch mit file:// beginnt, TITEL gleich URL ist oder VERZEICHNIS nicht
angelegt werden kann; 2 bei falschen Argumenten.
)"},
    {"webrecipe", "Webrezept-Seite in eine Rezeptdatei umsetzen",
     "webrecipe EINGABE AUSGABE",
     R"(Setzt eine gespeicherte Webrezept-Seite EINGABE in die Rezeptdatei AUSGABE um, wie es
der Import mit einer geholten Seite tut. Eine Seite ohne Rezeptzeilen, aber mit
Rezeptdaten im schema.org-Format (JSON-LD), wie sie Rezeptseiten im Web tragen, wird
ebenso umgesetzt: je Rezept eine Datei, das erste nach AUSGABE, weitere nach AUSGABE mit
-2, -3 ... vor der Endung. Eine Seite mit keinem von beiden schreibt nichts und meldet
"Keine Rezeptdaten gefunden".

Ausgabe: je Rezept-Link der Seite (die Rezepte eines Speiseplans) eine Zeile Linkziel,
TAB, Titel.

Exit-Status: 0; 1, wenn EINGABE nicht gelesen, AUSGABE nicht geschrieben werden kann oder
die Seite keine Rezeptdaten enthält; 2 bei falschen Argumenten.
)"},
    {"fetch", "Seite per HTTP holen (HEAD, dann GET)",
     "fetch URL AUSGABE [--proxy RECHNER[:PORT]]",
     R"(Holt URL wie der Import (HTTP/1.0, erst HEAD, dann GET) und schreibt die Antwort nach
AUSGABE, nur wenn sie vollständig ist (Status 200). Ein https://-Link wird verschlüsselt
geholt; ein Zertifikat, das nicht von einer Zertifizierungsstelle des Systems stammt,
abgelaufen ist oder einen anderen Rechnernamen nennt, wird mit dem Grund abgelehnt.

Optionen:
  --proxy RECHNER[:PORT]  über diesen HTTP-Proxy holen (https:// mit CONNECT)

Ausgabe: eine Zeile Statuscode und Statustext der Antwort.

Exit-Status: 0; 1, wenn die Verbindung scheitert, der Server nicht mit 200 antwortet oder
AUSGABE nicht geschrieben werden kann; 2 bei falschen Argumenten.
)"},
};

const CommandText* find(const std::string& name)
{
    for (const CommandText& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

std::string usageLines(const CommandText& c, const std::string& program)
{
    std::string out;
    const std::string usage = c.usage;
    // rezeptur-print takes the arguments of `rezeptur print`, without the word print.
    const bool printProgram = program == "rezeptur-print";
    std::size_t start = 0;
    bool first = true;
    while (start <= usage.size()) {
        std::size_t end = usage.find('\n', start);
        if (end == std::string::npos)
            end = usage.size();
        std::string args = usage.substr(start, end - start);
        if (printProgram && args.starts_with("print "))
            args.erase(0, 6);
        out += first ? "Aufruf: " : "        ";
        out += program + " " + args + "\n";
        first = false;
        start = end + 1;
    }
    return out;
}

} // namespace

std::string programVersion()
{
    return KOVANTA_VERSION;
}

std::string versionText(const std::string& program)
{
    return program + " " + programVersion() +
           "\nKovanta Rezepturendisplay, VEMOSOFT\n"
           "Lizenz GPL-3.0-or-later: GNU General Public License, Version 3 oder neuer.\n"
           "Dies ist freie Software; es gibt keine Garantie.\n";
}

std::string overviewHelp()
{
    std::string out = "Aufruf: rezeptur BEFEHL [ARGUMENTE...]\n"
                      "       rezeptur help BEFEHL | rezeptur BEFEHL --help\n"
                      "       rezeptur --help | --version\n\n"
                      "Liest die Rezeptdateien (REZ*.DAT), Speisepläne und Web-Rezepte des\n"
                      "Rezepturendisplays ohne Fenster, für die Stapelverarbeitung.\n\n"
                      "Befehle:\n";
    std::size_t width = 0;
    for (const CommandText& c : kCommands)
        width = std::max(width, std::string(c.name).size());
    for (const CommandText& c : kCommands) {
        std::string name = c.name;
        name.resize(width + 3, ' ');
        out += "  " + name + c.summary + "\n";
    }
    out += "\nOptionen stehen an beliebiger Stelle, als --NAME WERT oder --NAME=WERT; \"--\"\n"
           "beendet die Optionen.\n\n"
           "Exit-Status: 0 bei Erfolg, 1 bei einem Fehler beim Lesen oder Schreiben,\n"
           "2 bei falschen Argumenten.\n\n"
           "Mehr zu einem Befehl: rezeptur help BEFEHL; alles: man rezeptur\n";
    return out;
}

std::string commandUsage(const std::string& command, const std::string& program)
{
    const CommandText* c = find(command);
    return c ? usageLines(*c, program) : std::string();
}

std::string commandHelp(const std::string& command, const std::string& program)
{
    const CommandText* c = find(command);
    if (!c)
        return {};
    return usageLines(*c, program) + "\n" + c->body;
}

int usageError(const std::string& command, const std::string& error, const std::string& program)
{
    std::cerr << program << " " << command << ": " << error << "\n"
              << commandUsage(command, program) << "Mehr: rezeptur help " << command << "\n";
    return 2;
}

std::optional<ParsedArguments> parseCommandArguments(const std::string& command,
                                                     const std::vector<std::string>& args,
                                                     const std::string& variant,
                                                     const std::string& program)
{
    std::string error;
    auto parsed = parseArguments(args, commandRules(command, variant), error);
    if (!parsed)
        usageError(command, error, program);
    return parsed;
}

ArgumentRules commandRules(const std::string& command, const std::string& variant)
{
    ArgumentRules r;
    if (command == "list") {
        r.minPositional = 1;
        r.maxPositional = kAny;
        r.positionalName = "PFAD";
    } else if (command == "preview" || command == "printgrid") {
        r.options = {kEntry, kPortions};
        r.minPositional = r.maxPositional = 1;
        r.positionalName = "DATEI";
    } else if (command == "requirements") {
        r.options = {{"--csv", Kind::Flag, 0, 0, {}}};
        r.minPositional = r.maxPositional = 1;
        r.positionalName = "PLANDATEI";
    } else if (command == "print") {
        r.options = {kPdf, kCopies};
        r.minPositional = r.maxPositional = 1;
        if (variant == "list") {
            r.maxPositional = kAny;
            r.positionalName = "PFAD";
        } else if (variant == "recipe") {
            r.options.push_back(kEntry);
            r.options.push_back(kPortions);
            r.positionalName = "DATEI";
        } else {
            r.positionalName = "PLANDATEI";
        }
    } else if (command == "import") {
        r.options = {{"--dir", Kind::Text, 0, 0, {}, true},
                     {"--timeout", Kind::Number, 0, 86400, "Zeit in Sekunden"}};
        r.minPositional = r.maxPositional = 2;
        r.positionalName = "URL oder TITEL";
    } else if (command == "webrecipe") {
        r.minPositional = r.maxPositional = 2;
        r.positionalName = "EINGABE oder AUSGABE";
    } else if (command == "fetch") {
        r.options = {{"--proxy", Kind::Text, 0, 0, {}}};
        r.minPositional = r.maxPositional = 2;
        r.positionalName = "URL oder AUSGABE";
    }
    return r;
}

} // namespace kovanta::cli
