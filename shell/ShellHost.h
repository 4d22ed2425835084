#pragma once
// The engine's way to the windows once the program runs: message boxes, the main
// window's status bar and coefficient tick, the dive windows' Tags and series links,
// and the orderly end of the program.

#include "engine/EngineHost.h"

class ShellHost : public EngineHost {
public:
    int32_t MsgBox(const std::string &prompt, int32_t buttons, const std::string &title) override;
    void SetStatusText(const std::string &text) override;
    bool ModelCChecked() override;
    int16_t EditorTag(int16_t profileNr) override;
    int16_t EditorPrevProfile(int16_t profileNr) override;
    int16_t ActiveEditorTag() override;
    // Closes every dive window (each with its own questions), then every other window,
    // and leaves the event loop when it runs.
    void EndApplication() override;

    void reset() { ending_ = false; }

private:
    bool ending_ = false;
};
