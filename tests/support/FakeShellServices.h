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

    int16_t activeProfile = 0;
    std::vector<int16_t> openDives;
    // Waypoints the active dive's window shows, and those of other open dives by number
    // (none when not listed).
    int16_t activeWaypoints = 0;
    std::map<int16_t, int16_t> otherWaypoints;
    bool modelB = false, modelC = true, hybrid = false, vpm = false, vpmEnabled = false;
    bool openCircuit = true;
    QWidget *owner = nullptr;
    QStringList captions; // caption of dive n at index n ("" beyond the list)

    // What was asked.
    int applyCalls = 0;
    std::vector<int16_t> reEvaluated;
    QStringList errorBoxes;
    QStringList progressTexts;
    int progressUnloads = 0;

    int16_t ActiveProfileNumber() override { return activeProfile; }
    bool DiveOpen(int16_t profileNr) override;
    int16_t ShownWaypoints(int16_t profileNr) override;
    bool ActiveDiveShowsWaypoints() override { return ShownWaypoints(activeProfile) > 0; }
    bool ModelBChecked() override { return modelB; }
    bool ModelCChecked() override { return modelC; }
    bool HybridChecked() override { return hybrid; }
    bool VPMChecked() override { return vpm; }
    bool VPMEnabled() override { return vpmEnabled; }
    void SetOpenCircuit(bool) override { openCircuit = true; }
    void SetConstPPO(bool) override { openCircuit = false; }
    bool IsOpenCircuit() override { return openCircuit; }
    // The active dive's mode from its record, as the shell shows it.
    void ShowActiveDiveCircuit() override;
    void ApplyToProfile() override { ++applyCalls; }
    void ReEvaluateDive(int16_t profileNr) override { reEvaluated.push_back(profileNr); }
    QString DiveCaption(int16_t profileNr) override;
    QWidget *OwnerWindow() override { return owner; }
    void ShowErrorInfo(const RuntimeError &error) override;
    void SetProgressText(const QString &text) override { progressTexts << text; }
    void UnloadProgress() override { ++progressUnloads; }
};
