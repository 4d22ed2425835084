#pragma once
// Shell services for tests of the windows below the shell without a running main
// window: the test sets the answers and reads what was asked. Installed for its scope.

#include "platform/ShellServices.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class FakeShellServices : public ShellServices {
public:
    FakeShellServices();
    ~FakeShellServices() override;

    int16_t activeProfile = 0; // the dive active in the shell now (0: none)
    std::vector<int16_t> openDives;
    // Waypoints the active dive's window shows, and those of other open dives by number
    // (none when not listed).
    int16_t activeWaypoints = 0;
    std::map<int16_t, int16_t> otherWaypoints;
    bool openCircuit = true;
    QStringList captions; // caption of dive n at index n ("" beyond the list)

    // What was asked.
    std::vector<int16_t> reEvaluated;
    QStringList errorBoxes;
    QStringList progressTexts;
    int progressUnloads = 0;

    bool DiveOpen(int16_t profileNr) override;
    int16_t ShownWaypoints(int16_t profileNr) override;
    bool ActiveDiveShowsWaypoints() override { return ShownWaypoints(activeProfile) > 0; }
    void ShowCircuit(bool isOpenCircuit) override { openCircuit = isOpenCircuit; }
    // The active dive's mode from its record, as the shell shows it.
    void ShowActiveDiveCircuit() override;
    void ReEvaluateDive(int16_t profileNr) override { reEvaluated.push_back(profileNr); }
    QString DiveCaption(int16_t profileNr) override;
    void ShowErrorInfo(const RuntimeError &error) override;
    void SetProgressText(const QString &text) override { progressTexts << text; }
    void UnloadProgress() override { ++progressUnloads; }
};
