#include "settingsstore.h"

#include "platform/syserror.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace kovanta {
namespace {
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
    while (group.endsWith(QLatin1Char('/')))
        group.chop(1);
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
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

void SettingsStore::removeValue(const QString& key, const QString& name)
{
    settings_->remove(path(key, name));
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
    const std::string file = QFile::encodeName(fileName()).toStdString();
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
