#include "commandline.h"

#include "planfileactions.h"
#include "tsdiappform.h"

#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <string>

#ifndef KOVANTA_VERSION
#error "KOVANTA_VERSION must be defined by the build"
#endif

namespace kovanta {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;

void writeText(std::FILE* to, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
    std::fflush(to);
}

int usageError(const QString& what)
{
    writeText(stderr, QStringLiteral("kovanta: %1\nAufruf: kovanta [SPEISEPLAN.plan]\n"
                                 "Mehr: kovanta --help\n")
                      .arg(what));
    return kExitUsage;
}

} // namespace

QString programHelpText()
{
    return QStringLiteral(
        "Aufruf: kovanta [SPEISEPLAN.plan]\n"
        "       kovanta --help | --version\n"
        "\n"
        "Startet das Rezepturendisplay: Rezeptliste, Vorschau, Speiseplan und Bedarfsliste\n"
        "der Rezeptdateien (REZ*.DAT) in den Suchverzeichnissen (\"Optionen\" /\n"
        "\"Verzeichnisse\").\n"
        "\n"
        "Mit einer Speiseplan-Datei wird dieser Speiseplan geöffnet, sobald nach\n"
        "\"Programmstart\" die Rezepte gelesen sind, wie mit \"Datei\" / \"Speiseplan\n"
        "öffnen...\".\n"
        "\n"
        "Optionen:\n"
        "  -h, --help   diese Hilfe\n"
        "  --version    Version und Lizenz\n"
        "Optionen des Qt-Toolkits mit einem Strich (-platform, -style, ...) gehen an Qt.\n"
        "\n"
        "Einstellungen: ~/.config/Kovanta/registry.conf; Suchverzeichnisse:\n"
        "~/.config/Kovanta/kovanta.INI; Web-Rezepte: ~/.local/share/Kovanta/internet/\n"
        "(beim installierten Programm). Anleitung: /usr/share/doc/kovanta/anleitung.md;\n"
        "man kovanta.\n");
}

std::optional<int> answerInformationalArguments(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            break;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            writeText(stdout, programHelpText());
            return kExitOk;
        }
        if (std::strcmp(arg, "--version") == 0) {
            writeText(stdout, QStringLiteral("kovanta %1\nKovanta Rezepturendisplay, VEMOSOFT\n"
                                         "Lizenz GPL-3.0-or-later: GNU General Public License, "
                                         "Version 3 oder neuer.\n"
                                         "Dies ist freie Software; es gibt keine Garantie.\n")
                              .arg(QStringLiteral(KOVANTA_VERSION)));
            return kExitOk;
        }
        if (std::strncmp(arg, "--", 2) == 0)
            return usageError(QStringLiteral("unbekannte Option %1").arg(QString::fromLocal8Bit(arg)));
    }
    return std::nullopt;
}

std::optional<int> planFileArgument(const QStringList& arguments, QString& planFile)
{
    planFile.clear();
    bool optionsEnded = false;
    QString named;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg.startsWith(QLatin1Char('-')))
            return usageError(QStringLiteral("unbekannte Option %1").arg(arg));
        if (!named.isEmpty())
            return usageError(QStringLiteral("nur eine Speiseplan-Datei, nicht auch %1").arg(arg));
        named = arg;
    }
    if (!named.isEmpty())
        planFile = QFileInfo(named).absoluteFilePath();
    return std::nullopt;
}

void openPlanAfterFirstRead(TSDIAppForm& window, const QString& planFile)
{
    QObject::connect(
        &window, &TSDIAppForm::recipesRead, &window,
        [&window, planFile] {
            PlanFileActions& plans = window.planFiles();
            if (plans.confirmDiscard())
                plans.openPlanFile(planFile);
        },
        Qt::SingleShotConnection);
}

} // namespace kovanta
