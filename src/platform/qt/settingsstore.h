#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace kovanta {

// The per-user settings store that stands in for the registry under HKEY_CURRENT_USER.
// One INI-format file, <GenericConfigLocation>/Kovanta/registry.conf; a registry key path such
// as "Software\Kovanta\Settings" becomes the group "Software/Kovanta/Settings" (either separator
// is accepted). As in the registry, key names ignore case: a key is stored under the spelling
// the file already has for it, and the program's own key is always spelled "Software/Kovanta",
// so "Software\kovanta\SDIAppForm" lands there too.
// Values are kept as the registry would hold them: switches as "1"/"0", integers as decimal
// text. Reading converts with checks: a missing value, or one that is not
// a number, gives the caller's default. Writes reach the file at the latest when the store is
// destroyed or sync() is called.
class SettingsStore {
public:
    // Opens the store at its default place, or at the file fileName when given.
    explicit SettingsStore(const QString& fileName = {});
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The file every default-constructed store uses. Tests point it into a temporary directory
    // before anything opens the store; an empty name restores the default place.
    static void setDefaultFileName(const QString& fileName);
    static QString defaultFileName();

    bool hasValue(const QString& key, const QString& name) const;
    QString readString(const QString& key, const QString& name, const QString& def = {}) const;
    // Decimal text (leading/trailing blanks allowed); anything else gives def.
    int readInteger(const QString& key, const QString& name, int def) const;
    // Integer text, true when not 0; anything that is not a number gives def.
    bool readBool(const QString& key, const QString& name, bool def) const;

    void writeString(const QString& key, const QString& name, const QString& value);
    void writeInteger(const QString& key, const QString& name, int value);
    void writeBool(const QString& key, const QString& name, bool value);

    // Writes pending changes; false when the file could not be written.
    bool sync();
    // The file this store keeps its values in.
    QString fileName() const;
    // After a failed sync(): why the file cannot be written, in German after the file name
    // ("ist ein Verzeichnis", "kann nicht geschrieben werden (keine Berechtigung)"). The store
    // itself only knows that it failed, so the reason is looked for in the file and the
    // directories on its way; "kann nicht geschrieben werden" when none is found there.
    QString writeErrorText() const;

private:
    QString path(const QString& key, const QString& name) const;
    // The groups on file that spell the key parts[index..] below prefix, ignoring case: the
    // exact spelling first at each level; a part the file lacks is taken as given.
    void addSpellings(const QStringList& parts, qsizetype index, const QString& prefix,
                      QStringList& out) const;
    std::unique_ptr<QSettings> settings_;
};

} // namespace kovanta
