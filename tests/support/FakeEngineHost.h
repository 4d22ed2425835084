#pragma once
// An EngineHost for tests: records every message box and status text, answers boxes
// from a queue (the box's default button when the queue is empty) and plays the parts
// of the main window the engine asks about.

#include "engine/EngineHost.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

class FakeEngineHost : public EngineHost {
public:
    struct Box {
        std::string prompt;
        int32_t buttons;
        std::string title;
    };

    // Installs itself for the lifetime of the object.
    FakeEngineHost();
    ~FakeEngineHost() override;

    int32_t MsgBox(const std::string &prompt, int32_t buttons, const std::string &title) override;
    void SetStatusText(const std::string &text) override;
    bool ModelCChecked() override { return modelC; }
    int16_t EditorTag(int16_t profileNr) override;
    int16_t EditorPrevProfile(int16_t profileNr) override;
    int16_t ActiveEditorTag() override { return activeTag; }
    void EndApplication() override { ++endCalls; }

    std::vector<Box> boxes;
    std::vector<std::string> statusTexts;
    std::deque<int32_t> answers;          // next answers to message boxes
    bool modelC = true;
    int16_t activeTag = -1;
    std::map<int16_t, int16_t> tags;      // editor profile number -> Tag (default: itself)
    std::map<int16_t, int16_t> prevProfiles; // editor profile number -> PrevProfile (default -1)
    int endCalls = 0;
};
