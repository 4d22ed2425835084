#pragma once
// The engine's one way to the windows. The engine is plain C++; the shell installs the
// real host at start-up, tests and the benchmark install a fake that records and answers.

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
    // Whether the ZH-L16C coefficient set is ticked in the main window.
    virtual bool ModelCChecked() = 0;
    // The profile number held in the Tag of the editor of dive `profileNr`.
    virtual int16_t EditorTag(int16_t profileNr) = 0;
    // The previous dive of the series as the editor of dive `profileNr` knows it.
    virtual int16_t EditorPrevProfile(int16_t profileNr) = 0;
    // The Tag of the active editor window, -1 when no editor is active.
    virtual int16_t ActiveEditorTag() = 0;
    // Ends the application (unloads every window).
    virtual void EndApplication() = 0;
};

// The installed host; a quiet one that answers every box with its default button until
// the shell or a test installs its own.
EngineHost &Host();
// Installs a host (nullptr restores the quiet one). The caller keeps ownership.
void SetEngineHost(EngineHost *host);
