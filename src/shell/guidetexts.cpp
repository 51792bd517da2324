#include "guidetexts.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace kovanta {

namespace {

// QTextBlockFormat takes pixels at 96 per inch.
constexpr double pointsToPixels(double pt)
{
    return pt * 96.0 / 72.0;
}

} // namespace

QTextBlockFormat startPageParagraph()
{
    // A hanging indent: the further lines of a paragraph stand right of its first line, so that
    // the "[Spalte] - ..." lines of the guide read as a list.
    QTextBlockFormat f;
    f.setLeftMargin(pointsToPixels(kFurtherLinesIndentPt));
    f.setRightMargin(pointsToPixels(kRightIndentPt));
    // The text indent counts from the left margin: back to the first line's indent.
    f.setTextIndent(pointsToPixels(kFirstLineIndentPt - kFurtherLinesIndentPt));
    return f;
}

namespace {

const char* const kGuide1 =
    "In der Rezeptliste werden alle Rezepte angezeigt, die in den aktiven Suchpfaden gefunden "
    "wurden. Jede Zeile steht für ein Rezept.\n"
    "\n"
    "Durch einen Doppelklick auf eine Spaltenüberschrift wird die Liste nach dieser Spalte "
    "sortiert.\n"
    "\n"
    "Die Spalten haben folgende Bedeutung:\n"
    "\n"
    "[S] - Wenn angekreuzt, dann wird das Rezept im aktuellen Speiseplan verwendet.\n"
    "[Rezept] - Den Kurznamen des Rezeptes.\n"
    "[Rezeptgruppe] - Die Gruppe in die das Rezept aufgenommen wurde.\n"
    "[Portionen] - Die Portionenzahl, mit der das Rezept exportiert wurde.\n"
    "[kcal] - Die Kalorien die das Rezept pro Portion enthält. (möglicherweise nicht berechnet)\n"
    "[kJ] - Die Kilojoule die das Rezept pro Portion enthält. (möglicherweise nicht berechnet)\n"
    "[BE] - Die Broteinheiten die das Rezept pro Portion enthält. (möglicherweise nicht "
    "berechnet)\n"
    "[Chol] - Das Cholesterin das das Rezept pro Portion enthält. (möglicherweise nicht "
    "berechnet)\n"
    "[AZ] - Die Arbeitszeit, für die Herstellung der Speise. (möglicherweise nicht angegeben)\n"
    "[WZ] - Die Wartezeit beim Herstellen der Speise. (möglicherweise nicht angegeben)\n"
    "[Filename] - Datei in der das Rezept gefunden wurde.";

const char* const kGuide2 =
    "Bei der Vorschau sieht man die benötigten Artikel und die Zubereitung des Rezeptes.\n"
    "\n"
    "Die Mengen für die Rezepte beziehen sich auf die gespeicherten Mengen, oder auf die im "
    "Speiseplan eingegebene Menge, falls sich diese unterscheiden.\n"
    "\n"
    "Ausserdem besteht die Möglichkeit, das Rezept auszudrucken.";

const char* const kGuide3 =
    "Im Speiseplan stellt man die Rezepte zusammen, die gekocht werden sollen.\n"
    "\n"
    "Ein Doppelklick auf ein Rezept in der Rezeptliste nimmt es in den Speiseplan auf; ein "
    "weiterer Doppelklick nimmt es wieder heraus.\n"
    "\n"
    "Der Speiseplan kann ausgedruckt werden.\n"
    "\n"
    "Die Portionenzahl kann im Speiseplan geändert werden. Die Vorschau zeigt die Mengen immer "
    "für die aktuelle Portionenzahl an.\n"
    "\n"
    "[Portionen] - Die Anzahl der Portionen, für die das Rezept gekocht werden soll.\n"
    "[Rezept] - Den Kurznamen des Rezeptes.\n"
    "[Gruppe] - Die Gruppe in die das Rezept aufgenommen wurde.";

const char* const kGuide4 =
    "Die Bedarfsliste zeigt alle Artikel, die für die Rezepte des Speiseplans benötigt werden, "
    "mit ihren Mengen.\n"
    "\n"
    "Achtung: Rezepte mit alternativen Artikeln machen die Bedarfsliste zu lang, denn es werden "
    "alle Alternativen aufgeführt. Kommt in den Artikeln das Wort \"oder\" vor, wird darauf "
    "hingewiesen.\n"
    "\n"
    "Durch einen Doppelklick auf eine Spaltenüberschrift wird die Liste nach dieser Spalte "
    "sortiert. Die Bedarfsliste kann ausgedruckt werden.\n"
    "\n"
    "Die Mengen können vor dem Drucken angepasst werden. Sie werden aber neu berechnet, sobald "
    "sich die Portionen oder der Speiseplan ändern.\n"
    "\n"
    "[Menge] - Die benötigte Menge des Artikels.\n"
    "[Einheit] - Die Einheit, in der die Menge angegeben ist.\n"
    "[Artikel] - Die Bezeichnung des Artikels.";

const char* const kGuide5 =
    "Web-Rezepte sind Rezepte, die das Küchenverwaltungsprogramm Zavorin ins Internet gestellt "
    "hat. Sie können direkt aus dem Web-Browser übernommen werden.\n"
    "\n"
    "Die heruntergeladenen Rezepte liegen im Verzeichnis \"(Programmverzeichnis)/internet\", "
    "das beim Programmstart angelegt wird.\n"
    "\n"
    "1. Öffnen Sie das Drop-Fenster mit \"Datei/Web-Rezepte...\".\n"
    "2. Öffnen Sie in Ihrem Web-Browser eine Seite mit Rezepten.\n"
    "3. Ziehen Sie den mit Drag gekennzeichneten Link in das Drop-Fenster.\n"
    "\n"
    "Ganze Speisepläne werden auf die gleiche Weise übernommen.";

const char* const kGuide6 =
    "Um eine Struktur in die Rezepte zu bekommen, kann man die Rezept-Dateien auf Verzeichnisse "
    "verteilen, die dann schnell mit hilfe des Menüpunktes \"Optionen/Verzeichnisse\" in den "
    "Suchpfad nach Rezepten aufnehmen oder aus diesem Entfernen kann.";

void insert(QTextCursor& c, const QString& text, double points, const QColor& color,
            bool bold = false)
{
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(points);
    f.setForeground(color);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    c.movePosition(QTextCursor::End);
    c.insertText(text, f);
}

} // namespace

QString guideText(int tag)
{
    static const char* const texts[kGuideTextCount] = {kGuide1, kGuide2, kGuide3,
                                                       kGuide4, kGuide5, kGuide6};
    if (tag < 1 || tag > kGuideTextCount)
        return {};
    return QString::fromUtf8(texts[tag - 1]);
}

QString makerName()
{
    return QStringLiteral("VEMOSOFT Vehling & Mohr Software GmbH");
}

QString makerWebAddress()
{
    return QStringLiteral("www.vemosoft.example");
}

QString makerWebUrl()
{
    return QStringLiteral("https://www.vemosoft.example/");
}

QString makerEMail()
{
    return QStringLiteral("info@vemosoft.example");
}

void writeGuideText(QTextEdit* edit, int tag)
{
    edit->clear();
    QTextCursor c(edit->document());
    c.setBlockFormat(startPageParagraph());
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(12); // 16 pixels
    c.setBlockCharFormat(f);
    c.insertText(guideText(tag), f);
    c.movePosition(QTextCursor::Start);
    edit->setTextCursor(c);
}

void writeProductText(QTextEdit* edit)
{
    edit->clear();
    QTextCursor c(edit->document());
    c.setBlockFormat(startPageParagraph());
    const QColor blue(34, 34, 187);
    const QColor red(187, 34, 34);
    const QColor black(Qt::black);

    insert(c, QStringLiteral("VEMO-KOVANTA Rezepturendisplay von VEMOSOFT\n"), 16, blue);
    insert(c,
           QString::fromUtf8(
               "VEMOSOFT entwickelt seit 1988 Software für die Gemeinschaftsverpflegung. "
               "Was mit einem Kalkulationsprogramm für eine einzige Krankenhausküche begann, "
               "ist heute eine Familie von Programmen, mit denen Großküchen in Kliniken, "
               "Heimen, Kantinen und Schulen ihre Rezepte, Speisepläne und ihren Einkauf "
               "planen.\n"),
           12, black);
    insert(c,
           QString::fromUtf8(
               "Unsere Programme entstehen im Gespräch mit Köchinnen und Köchen: was in der "
               "Küche nicht hilft, kommt nicht hinein.\n"),
           12, black);
    insert(c, QStringLiteral("ZAVORIN"), 12, red, true);
    insert(c,
           QString::fromUtf8(
               " - die Küchenverwaltung für Rezepturen, Speisepläne, Nährwerte, Bestellwesen "
               "und Lager; sie stellt auch die Web-Rezepte ins Internet.\n"),
           12, black);
    insert(c, QString::fromUtf8("VEMO-MENÜKARTE"), 12, red, true);
    insert(c,
           QString::fromUtf8(" - gestaltet und druckt Speisepläne und Menükarten für Gäste, "
                             "Patienten und Bewohner.\n"),
           12, black);
    insert(c,
           QString::fromUtf8("Besuchen Sie uns auf unseren Internetseiten unter %1: dort "
                             "finden Sie Neuigkeiten, Beispielrezepte und Hilfe zu allen "
                             "Programmen.\n")
               .arg(makerWebAddress()),
           12, black);
    insert(c, QStringLiteral("VEMOSOFT\n"), 18, black, true);
    insert(c, makerName() + QLatin1Char('\n'), 9, black);
    insert(c, QString::fromUtf8("Am Kornspeicher 7, 49377 Vechta-Langförden"), 10, black);
    c.movePosition(QTextCursor::Start);
    edit->setTextCursor(c);
}

} // namespace kovanta
