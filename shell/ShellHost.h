#pragma once
// The engine's way to the windows once the program runs: message boxes, the main
// window's status bar and the orderly end of the program. It also serves the windows below the shell
// with what they cannot be given (the active dive's waypoints and circuit, re-evaluation, boxes).

#include "engine/EngineHost.h"
#include "platform/ShellServices.h"

class ShellHost : public EngineHost, public ShellServices {
public:
    int32_t MsgBox(const std::string &prompt, int32_t buttons, const std::string &title) override;
    void SetStatusText(const std::string &text) override;
    // Closes every dive window (each with its own questions), then every other window,
    // and leaves the event loop when it runs.
    void EndApplication() override;

    // The services of the windows below the shell.
    bool DiveOpen(int16_t profileNr) override;
    int16_t ShownWaypoints(int16_t profileNr) override;
    bool ActiveDiveShowsWaypoints() override;
    void ShowCircuit(bool openCircuit) override;
    void ShowActiveDiveCircuit() override;
    void ReEvaluateDive(int16_t profileNr) override;
    QString DiveCaption(int16_t profileNr) override;
    void ShowErrorInfo(const RuntimeError &error) override;
    void SetProgressText(const QString &text) override;
    void UnloadProgress() override;

    void reset() { ending_ = false; }

private:
    bool ending_ = false;
};
