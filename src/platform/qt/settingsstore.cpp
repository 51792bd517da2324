#include "settingsstore.h"

#include <QSettings>
#include <QStandardPaths>

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

} // namespace kovanta
