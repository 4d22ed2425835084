#pragma once
// The main window's file commands: open a dive series from its file, save the series of
// a dive (to its file, or under a name the diver chooses), save the active dive's
// settings as a template file and load a template file into the active dive.
//
// A series file is read whole before any window opens: a file that cannot be read is
// reported and opens nothing, and the dives already open stay as they were. Saving goes
// through a temporary file, so a failed save leaves the old file whole; it is reported.

#include <cstdint>

// Opens a dive series chosen in the open dialog as new dive windows, each dive replayed
// from its log (its stops, tissues and oxygen totals computed again).
void OpenProfile();

// Saves the series of dive `profileNr` (the active dive when -1). Without saveAs, a
// series that has a file is written to it without asking; otherwise the save dialog asks.
// A series the reader would refuse (SeriesFileProblem) is never written. True when the
// series was written; false when there was no dive, the dialog was cancelled, the series
// could not be opened again or the save failed (each of which the diver is told).
bool SaveProfile(bool saveAs, int16_t profileNr = -1);

// Saves the active dive's settings (the default template when no dive is active) as a
// template file, after asking, when they have changed since they were loaded.
void SaveTemplateAs();

// Loads a template file into the active dive (into the default template when no dive
// is active). True when a template was loaded; false when none was, also when the dive's
// legs would last beyond a week under it (the diver is told). The dive is not recomputed
// here.
bool LoadTemplateInto();

// True when dive `profileNr` or any later dive of its series has been changed since
// it was opened or created.
bool SeriesChanged(int16_t profileNr);
