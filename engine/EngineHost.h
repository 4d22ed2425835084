#pragma once
// The engine's one way to the windows: message boxes, the status text and the end of the
// program, nothing more. Which dive to compute, its settings, its previous dive and the
// algorithm come to the engine as arguments (engine/DivePlan.h, engine/DiveModel.h). The
// engine is plain C++; the shell installs the real host at start-up, tests and the
// benchmark install a fake that records and answers.

#include <cstdint>
#include <string>

// Message box buttons and icons, and the answers, as the classic codes.
enum MsgBoxStyle : int32_t {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum MsgBoxResult : int32_t {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// The answer a box gives when nobody is there to press a button: its default button.
int32_t DefaultMsgBoxAnswer(int32_t buttons);

class EngineHost {
public:
    virtual ~EngineHost() = default;

    // A message box; an empty title means the application's title. Returns a MsgBoxResult.
    virtual int32_t MsgBox(const std::string &prompt, int32_t buttons, const std::string &title) = 0;
    // The text of the main window's status bar.
    virtual void SetStatusText(const std::string &text) = 0;
    // Ends the application (unloads every window).
    virtual void EndApplication() = 0;
};

// The installed host; a quiet one that answers every box with its default button until
// the shell or a test installs its own.
EngineHost &Host();
// Installs a host (nullptr restores the quiet one). The caller keeps ownership.
void SetEngineHost(EngineHost *host);
