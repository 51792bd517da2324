#include "settings.h"

#include "platform/qt/settingsstore.h"


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

} // namespace kovanta::settings
