#include "settings.h"

#include "platform/qt/settingsstore.h"
#include "quitsignals.h"
#include "startup.h"

#include <QAbstractButton>
#include <QMessageBox>

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

} // namespace kovanta::settings
