#include "settingsstore.h"

#include "platform/qt/qtstrings.h"
#include "platform/syserror.h"

#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace kovanta {
namespace {

// The registry key of the program, as the file spells it.
constexpr const char* kProgramKey = "Software/Kovanta";

QString& overriddenFileName()
{
    static QString name;
    return name;
}
} // namespace

void SettingsStore::setDefaultFileName(const QString& fileName)
{
    overriddenFileName() = fileName;
}

QString SettingsStore::defaultFileName()
{
    if (!overriddenFileName().isEmpty())
        return overriddenFileName();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kovanta/registry.conf");
}

SettingsStore::SettingsStore(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName.isEmpty() ? defaultFileName() : fileName,
                                            QSettings::IniFormat))
{}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::path(const QString& key, const QString& name) const
{
    QString group = key;
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Registry keys ignore case, so "Software\kovanta" (the position saver and the grids name
    // the key after the program file) and "Software\Kovanta" are one key. The value is looked
    // for under every spelling of the key the file has, its exact spelling first; a new value
    // goes where the file already has the key, so the file keeps one group for both.
    QStringList spellings;
    addSpellings(group.split(QLatin1Char('/'), Qt::SkipEmptyParts), 0, QString(), spellings);
    const auto join = [&name](const QString& prefix) {
        return prefix.isEmpty() ? name : prefix + QLatin1Char('/') + name;
    };
    for (const QString& spelling : spellings) {
        if (settings_->contains(join(spelling)))
            return join(spelling);
    }
    return join(spellings.constFirst());
}

void SettingsStore::addSpellings(const QStringList& parts, qsizetype index, const QString& prefix,
                                 QStringList& out) const
{
    if (index == parts.size()) {
        out << prefix;
        return;
    }
    if (!prefix.isEmpty())
        settings_->beginGroup(prefix);
    const QStringList existing = settings_->childGroups();
    if (!prefix.isEmpty())
        settings_->endGroup();
    const QString& part = parts[index];
    QStringList matches;
    if (existing.contains(part))
        matches << part;
    for (const QString& other : existing) {
        if (other != part && other.compare(part, Qt::CaseInsensitive) == 0)
            matches << other;
    }
    if (matches.isEmpty()) {
        // A new key: the program's own key has one spelling, whoever writes to it first.
        const QString path = prefix.isEmpty() ? part : prefix + QLatin1Char('/') + part;
        matches << (path.compare(QLatin1String(kProgramKey), Qt::CaseInsensitive) == 0
                        ? QString::fromLatin1(kProgramKey).section(QLatin1Char('/'), -1)
                        : part);
    }
    for (const QString& match : matches)
        addSpellings(parts, index + 1, prefix.isEmpty() ? match : prefix + QLatin1Char('/') + match,
                     out);
}

bool SettingsStore::hasValue(const QString& key, const QString& name) const
{
    return settings_->contains(path(key, name));
}

QString SettingsStore::readString(const QString& key, const QString& name, const QString& def) const
{
    const QVariant v = settings_->value(path(key, name));
    return v.isValid() ? v.toString() : def;
}

int SettingsStore::readInteger(const QString& key, const QString& name, int def) const
{
    const QVariant v = settings_->value(path(key, name));
    if (!v.isValid())
        return def;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : def;
}

bool SettingsStore::readBool(const QString& key, const QString& name, bool def) const
{
    const QVariant v = settings_->value(path(key, name));
    if (!v.isValid())
        return def;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    return ok ? n != 0 : def;
}

void SettingsStore::writeString(const QString& key, const QString& name, const QString& value)
{
    settings_->setValue(path(key, name), value);
}

void SettingsStore::writeInteger(const QString& key, const QString& name, int value)
{
    settings_->setValue(path(key, name), QString::number(value));
}

void SettingsStore::writeBool(const QString& key, const QString& name, bool value)
{
    settings_->setValue(path(key, name), value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool SettingsStore::sync()
{
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

QString SettingsStore::writeErrorText() const
{
    const auto cannotWrite = [](int error) {
        return QStringLiteral("kann nicht geschrieben werden (%1)")
            .arg(QString::fromStdString(systemErrorText(error)));
    };
    const std::string file = fsPath(fileName());
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return QStringLiteral("ist ein Verzeichnis");
        if (!S_ISREG(st.st_mode))
            return QStringLiteral("ist keine normale Datei");
    } else if (errno != ENOENT) {
        return cannotWrite(errno);
    }
    // The store writes a new file beside the old one, so its directory must take new files; a
    // missing one would have been created, so the nearest existing one counts.
    std::string dir = file;
    for (;;) {
        const std::size_t slash = dir.find_last_of('/');
        if (slash == std::string::npos)
            break;
        dir.erase(slash == 0 ? 1 : slash);
        if (::stat(dir.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return cannotWrite(ENOTDIR);
            if (::access(dir.c_str(), W_OK) != 0)
                return cannotWrite(errno);
            struct statvfs fs {};
            if (::statvfs(dir.c_str(), &fs) == 0 && fs.f_bavail == 0)
                return cannotWrite(ENOSPC);
            break;
        }
        if (errno != ENOENT || dir == "/")
            return cannotWrite(errno);
    }
    if (::access(file.c_str(), W_OK) != 0 && errno != ENOENT)
        return cannotWrite(errno);
    return QStringLiteral("kann nicht geschrieben werden");
}

} // namespace kovanta
