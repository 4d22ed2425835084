#pragma once
// The user's few lasting choices as text values (language, start sound, table generator
// ranges, blending inputs), kept per user in registry.ini of the configuration folder:
// one group per subkey, the empty value name stored under the key "Default".
// Nothing here fails: a value that cannot be read is ""; a write that cannot be made is
// lost and reported once per run (platform/SettingsWriteReport.h).

#include <QString>

// Longest value that reads back; a longer one, written by another tool, reads as "".
inline constexpr int kRegValueMaxLength = 255;

void SetRegString(const QString &subKey, const QString &valueName, const QString &value);
QString GetRegString(const QString &subKey, const QString &valueName);
