#include "settings.h"

#include "formpossaver.h"
#include "platform/qt/qtstrings.h"
#include "platform/qt/settingsstore.h"
#include "quitsignals.h"
#include "startup.h"
#include "tablayout.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace kovanta::settings {
namespace {

QString registryKey()
{
    return QString::fromLatin1(kRegistryKey);
}

} // namespace

Switches readSwitches(const SettingsStore& store)
{
    Switches s;
    s.autosave = store.readBool(registryKey(), QStringLiteral("Autosave"), true);
    s.zeilenfinder = store.readBool(registryKey(), QStringLiteral("Zeilenfinder"), true);
    s.maxWindow = store.readBool(registryKey(), QStringLiteral("MaxWindow"), true);
    return s;
}

bool writeCloseSwitches(SettingsStore& store, bool autosave, bool zeilenfinder)
{
    store.writeBool(registryKey(), QStringLiteral("Autosave"), autosave);
    store.writeBool(registryKey(), QStringLiteral("Zeilenfinder"), zeilenfinder);
    return store.sync();
}

bool writeMaxWindow(SettingsStore& store, bool maxWindow)
{
    store.writeBool(registryKey(), QStringLiteral("MaxWindow"), maxWindow);
    return store.sync();
}

QString storeWriteProblem(const SettingsStore& store)
{
    return store.fileName() + QLatin1Char(' ') + store.writeErrorText();
}

QString closeSaveFailedText(const QString& problems)
{
    return QStringLiteral("Die Einstellungen konnten nicht gespeichert werden:\n\n") + problems +
           QStringLiteral("\n\nDie Änderungen dieser Sitzung gehen verloren; die gespeicherten "
                          "Einstellungen bleiben, wie sie waren.");
}

QString maxWindowNotSavedText(const QString& problem)
{
    return QStringLiteral("Die Einstellung „Maximale Fenstergröße“ konnte nicht gespeichert "
                          "werden:\n\n") +
           problem + QStringLiteral("\n\nBeim nächsten Start gilt die bisherige Einstellung.");
}

void reportNotSaved(QWidget* parent, const QString& text)
{
    const QString line = QString(text)
                             .replace(QStringLiteral("\n\n"), QStringLiteral(" "))
                             .replace(QLatin1Char('\n'), QStringLiteral("; "));
    std::fprintf(stderr, "kovanta: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    if (closingForTerminationSignal())
        return;
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("SettingsNotSaved"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

// The note sits among the status bar's permanent widgets, so the hints of whatever lies under
// the mouse (the start page is full of them) do not cover it.
void showNotLoadedNote(QStatusBar& status, const std::string& note, const QString& iniFileName)
{
    auto* label = new QLabel(&status);
    label->setObjectName(QStringLiteral("SettingsNote"));
    label->setText(QStringLiteral("<b>\u26A0 %1 \u2013 Suchpfade nicht geladen</b>")
                       .arg(QString::fromStdString(note).toHtmlEscaped()));
    label->setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));
    label->setToolTip(QStringLiteral("%1\nÄnderungen der Suchpfade können nicht gespeichert "
                                     "werden.")
                          .arg(iniFileName));
    status.addPermanentWidget(label);
}

} // namespace kovanta::settings

namespace kovanta {

ShellSettings::ShellSettings(const QString& programDirectory)
    : programDirectory_(programDirectory),
      places_(programPlaces(fsPath(programDirectory), PlaceEnvironment::fromProcess()))
{}

settings::Switches ShellSettings::readSwitches()
{
    const SettingsStore store;
    const settings::Switches s = settings::readSwitches(store);
    autosave_ = s.autosave;
    return s;
}

std::string ShellSettings::loadSearchPaths()
{
    iniFileName_ = displayPath(places_.iniFile);
    const bool firstRun = !QFile::exists(iniFileName_);
    const std::string note = settings::loadSearchPaths(fsPath(iniFileName_), searchPaths_);
    searchPathsAsRead_ = searchPaths_;
    // An installed program finds no recipes next to itself: its first run starts with the
    // bundled samples, kept in the user's INI file when it closes.
    if (firstRun && !places_.samplesDir.empty() && searchPaths_.add(places_.samplesDir, true))
        searchPathsChanged_ = true;
    return note;
}

void ShellSettings::createWebRecipeDirectory()
{
    webRecipeDirectory_ = displayPath(places_.webRecipeDir);
    QDir().mkpath(webRecipeDirectory_);
}

void ShellSettings::activateWebRecipeDirectory()
{
    if (webRecipeDirectory_.isEmpty())
        return;
    const std::string web = fsPath(webRecipeDirectory_);
    const int index = searchPaths_.indexOf(web);
    if (index >= 0) {
        if (!searchPaths_.entries()[static_cast<std::size_t>(index)].active) {
            searchPaths_.setActive(static_cast<std::size_t>(index), true);
            searchPathsChanged_ = true;
        }
    } else if (searchPaths_.add(web, true)) {
        searchPathsChanged_ = true;
    }
}

QString ShellSettings::save(bool rowFinder)
{
    if (iniFileName_.isEmpty())
        return {};
    QStringList problems;
    SettingsStore store;
    if (!settings::writeCloseSwitches(store, autosave_, rowFinder))
        problems << settings::storeWriteProblem(store);
    // The per-user configuration directory may not exist yet; next to the program it does.
    if (places_.perUser)
        QDir().mkpath(QFileInfo(iniFileName_).absolutePath());
    const std::string error =
        settings::saveSearchPaths(fsPath(iniFileName_), searchPaths_, searchPathsAsRead_);
    if (!error.empty())
        problems << iniFileName_ + QLatin1Char(' ') + QString::fromStdString(error);
    return problems.join(QLatin1Char('\n'));
}

void restoreSidePanelWidths(const TFormPosSaver& saver, TabWorkArea& tabs)
{
    constexpr int kNotStored = -1;
    constexpr int kPanelMin = 100;
    constexpr int kPanelMax = 400;
    for (const SidePanel panel :
         {SidePanel::Requirements, SidePanel::Preview, SidePanel::MenuPlan}) {
        const int stored = saver.GetValue(static_cast<int>(panel), kNotStored, 0, 0);
        if (stored != kNotStored)
            tabs.setSidePanelWidth(panel, std::clamp(stored, kPanelMin, kPanelMax));
    }
}

} // namespace kovanta
