#pragma once
// The one place that maps dives of the dive model (engine/DiveModel.h) to their editor
// windows and back: which window shows a dive, which dive a window shows, opening a
// dive's window and the caption every dive window's title is built on.

#include "engine/DiveModel.h"

#include <QString>

#include <memory>
#include <string>

class frmWaypointEditor;

// The window of dive `profileNr`, null when it has none (closed windows read as null).
frmWaypointEditor *DiveWindow(int16_t profileNr);
// The profile number of the dive `editor` shows (its Tag), -1 for no window.
int16_t DiveNumber(const frmWaypointEditor *editor);

// Opens the window of `dive` in the main window: a new editor over the dive, entered in
// gDiveWindows under the dive's number (its Tag), shown and made active, captioned and
// bound to the dive's settings.
frmWaypointEditor *OpenDiveWindow(std::shared_ptr<Dive> dive, const QString &caption);

// A dive window's caption: its title, " [" and the template's name (text 6163 joins
// them), `close` ("]", or " ]" after a save), then `after` (the series position and
// surface interval of a later dive).
QString DiveCaption(const std::string &title, const std::string &templateName, const std::string &close = "]",
                    const std::string &after = std::string());
