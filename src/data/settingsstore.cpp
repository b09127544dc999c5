#include "data/settingsstore.h"

#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace platform {

namespace {
std::unique_ptr<QSettings> open(const QString& iniPath, const QString& app)
{
    if (!iniPath.isEmpty())
        return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, QStringLiteral("Orvanta"));
}
} // namespace

SettingsStore::SettingsStore(QString iniPath) : m_iniPath(std::move(iniPath)) {}

QString SettingsStore::GetSetting(const QString& app, const QString& section, const QString& key,
                                  const QString& fallback) const
{
    auto s = open(m_iniPath, app);
    const QString name = m_iniPath.isEmpty() ? section + QLatin1Char('/') + key
                                             : app + QLatin1Char('/') + section + QLatin1Char('/') + key;
    return s->value(name, fallback).toString();
}

void SettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value)
{
    auto s = open(m_iniPath, app);
    const QString name = m_iniPath.isEmpty() ? section + QLatin1Char('/') + key
                                             : app + QLatin1Char('/') + section + QLatin1Char('/') + key;
    s->setValue(name, value);
    s->sync();
}

QString SettingsStore::folder(const QString& app) const
{
    return QFileInfo(open(m_iniPath, app)->fileName()).absolutePath();
}

} // namespace platform
