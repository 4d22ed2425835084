#include "platform/RegEditModule.h"

#include "engine/AppPaths.h"
#include "platform/SettingsWriteReport.h"

#include <QDir>
#include <QSettings>

namespace {

QString storePath()
{
    return QString::fromStdString(JoinPath(ConfigDir(), "registry.ini"));
}

// QSettings refuses an empty key; the key's default value lives under "Default".
QString keyOf(const QString &subKey, const QString &valueName)
{
    return subKey + '/' + (valueName.isEmpty() ? QStringLiteral("Default") : valueName);
}

} // namespace

void SetRegString(const QString &subKey, const QString &valueName, const QString &value)
{
    if (!QDir().mkpath(QString::fromStdString(ConfigDir()))) {
        ReportSettingsWriteFailure(storePath());
        return;
    }
    QSettings store(storePath(), QSettings::IniFormat);
    store.setValue(keyOf(subKey, valueName), value);
    store.sync();
    if (store.status() != QSettings::NoError)
        ReportSettingsWriteFailure(storePath());
}

QString GetRegString(const QString &subKey, const QString &valueName)
{
    QSettings store(storePath(), QSettings::IniFormat);
    const QVariant v = store.value(keyOf(subKey, valueName));
    // Only a plain text value reads: a list or another type, as written by hand, does not.
    if (v.typeId() != QMetaType::QString)
        return {};
    const QString text = v.toString();
    return text.size() > kRegValueMaxLength ? QString() : text;
}
