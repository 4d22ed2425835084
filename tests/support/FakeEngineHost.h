#pragma once
// An EngineHost for tests: records every message box and status text, answers boxes
// from a queue (the box's default button when the queue is empty) and counts the ends
// of the program.

#include "engine/EngineHost.h"

#include <deque>
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
    void EndApplication() override { ++endCalls; }

    std::vector<Box> boxes;
    std::vector<std::string> statusTexts;
    std::deque<int32_t> answers;          // next answers to message boxes
    int endCalls = 0;
};
