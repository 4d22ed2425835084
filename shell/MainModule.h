#pragma once
// The start of DOLV and the table of dives. Main prepares the language, the help file,
// the default template and the command-line switches, shows the splash window, creates
// the main window and has the diver accept the disclaimer; from then on everything runs
// from window events. gSettings (engine) and gDiveWindows share one index, the profile
// number; element 0 is the default template and never a dive.

#include "reports/ModelName.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string_view>
#include <vector>

class frmMain;
class frmWaypointEditor;
class QDialog;

// The editor of dive n at index n; element 0 stays empty. An element whose window was
// closed reads as null: looking an editor up never creates one.
extern std::vector<QPointer<frmWaypointEditor>> gDiveWindows;
extern frmMain *gMainForm;
// The gSettings element used when no dive window is active: always the default template.
extern int16_t gTemplateIndex;
// 1 when the command line holds "/vpm" or "/hybrid": the algorithm menu shows the item.
extern int16_t gVPMSwitch;
extern int16_t gHybridSwitch;
// The report command's choice: true = the current dive only.
extern bool gReportSelection;
extern QPointer<QDialog> gReportSelectionForm;

// The start-up sequence. True when the program goes on into its event loop; false when
// it ended during start-up (no language, disclaimer declined).
bool Main();

// The table of dives with the default template (Default.tpl) in element 0.
void InitProfileTable();

// The lowest free dive slot (1 or more), growing both arrays when none is free. A slot
// handed out again starts as a fresh record: a new dive inherits nothing of a closed one.
int16_t AllocProfileSlot();

// The command line as the program was given it (the words after the program's name).
void SetCommandLine(const QString &commandLine);
// Its words: element 0 empty, then at most `maxWords` words split at blanks and tabs.
QStringList SplitCommandLine(int maxWords = 10);
// Sets gVPMSwitch, gHybridSwitch, gVeryHighGF and gTraceOn from the exact, case-sensitive
// words "/vpm", "/hybrid", "/VeryHighGF", "/phi"; "/phi" opens the trace file phi.log
// (once, however often it is given).
void ParseCommandLine();

// Waits `seconds` on the clock while the windows stay painted and responsive.
void Delay(double seconds);

// The active dive window, null when none is.
frmWaypointEditor *ActiveEditor();
// The active dive's profile number (its Tag), or gTemplateIndex when no dive is active.
int16_t ActiveProfileNumber();

// The algorithm menu's ticks now (ZH-L16C alone while there is no main window), and
// their options of the plan call. The shell reads them where a command starts and gives
// them to the windows it opens.
AlgorithmTicks AlgorithmMenuTicks();
PlanOptions AlgorithmOptions();

// Calls an editor command by its name: "StartDeco", "ReEvaluateUserEnteredWaypoints",
// "mnucleardecopoints", "mnuclearlastwaypoint", "mnuclearallwaypoints". Another name
// is error 438.
void CallByName(frmWaypointEditor *editor, std::string_view member);

// Closes every window and puts the shell back to a fresh start (tests).
void ResetShell();
