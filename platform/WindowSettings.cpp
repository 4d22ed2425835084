#include "platform/WindowSettings.h"

#include "engine/AppPaths.h"
#include "platform/SettingsWriteReport.h"

#include <QDir>
#include <QSettings>

namespace {

QString storePath()
{
    return QString::fromStdString(JoinPath(ConfigDir(), "settings.ini"));
}

} // namespace

QString GetSetting(const QString &section, const QString &key, const QString &defaultValue)
{
    QSettings store(storePath(), QSettings::IniFormat);
    const QVariant v = store.value(section + '/' + key);
    return v.typeId() == QMetaType::QString ? v.toString() : defaultValue;
}

void SaveSetting(const QString &section, const QString &key, const QString &value)
{
    if (!QDir().mkpath(QString::fromStdString(ConfigDir()))) {
        ReportSettingsWriteFailure(storePath());
        return;
    }
    QSettings store(storePath(), QSettings::IniFormat);
    store.setValue(section + '/' + key, value);
    store.sync();
    if (store.status() != QSettings::NoError)
        ReportSettingsWriteFailure(storePath());
}
