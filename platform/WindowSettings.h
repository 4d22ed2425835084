#pragma once
// The per-application settings store of window placements: settings.ini in the
// configuration folder, sections "Settings" (main window) and "Preview" (print preview),
// values as text. A write that cannot be made is reported once per run
// (platform/SettingsWriteReport.h).

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

QString GetSetting(const QString &section, const QString &key, const QString &defaultValue = QString());
void SaveSetting(const QString &section, const QString &key, const QString &value);

// A window placement kept in twips under `prefix` + Left, Top, Width and Height: the frame's
// corner and the inner size, in pixels. Nothing when any of the four is missing or is no
// plain number of a size a desktop can have (a damaged or hand-edited file), so that the
// caller's defaults apply instead of a window nobody can reach.
std::optional<QRect> GetPlacement(const QString &section, const QString &prefix);

// Where a window kept at `kept` opens among the screens now attached (their available
// areas, the primary first): where it was while its title bar is in reach on one of them,
// so a window left on a second monitor comes back there; otherwise wholly on the screen it
// overlapped most, or on the primary when it overlapped none.
QRect PlaceOnScreens(const QRect &kept, const QList<QRect> &screens);

// The available areas of the attached screens, the primary first.
QList<QRect> AvailableScreenAreas();
