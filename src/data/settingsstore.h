#pragma once
// The per-user settings store (what the registry is on the original
// platform): values by application, section and key.
#include <QString>

namespace platform {

class SettingsStore {
public:
    // An empty path uses the user's native settings; a test gives a file.
    explicit SettingsStore(QString iniPath = QString());
    QString GetSetting(const QString& app, const QString& section, const QString& key,
                       const QString& fallback = QString()) const;
    void SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value);
    // The folder the settings of app are kept in.
    QString folder(const QString& app) const;

private:
    QString m_iniPath;
};

} // namespace platform
