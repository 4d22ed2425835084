#pragma once
// The per-application settings store of window placements: settings.ini in the
// configuration folder, sections "Settings" (main window) and "Preview" (print preview),
// values as text. A write that cannot be made is reported once per run
// (platform/SettingsWriteReport.h).

#include <QString>

QString GetSetting(const QString &section, const QString &key, const QString &defaultValue = QString());
void SaveSetting(const QString &section, const QString &key, const QString &value);
