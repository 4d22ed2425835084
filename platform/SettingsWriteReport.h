#pragma once
// A write of registry.ini or settings.ini that fails (the configuration folder cannot be
// made or written, the file cannot be replaced) would otherwise go unnoticed: the value
// reads back from Qt's cache until DOLV ends and is gone at the next start. The first
// failure of a run is reported in a message box with the file's path, as a failed save
// is; later ones in the same run are not, so a broken folder does not bring a box for
// every value.

#include <QString>

void ReportSettingsWriteFailure(const QString &path);

// Tests: every test starts as a fresh run (TestHooks::reset calls it).
void ResetSettingsWriteReport();
