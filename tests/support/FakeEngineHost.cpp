#include "tests/support/FakeEngineHost.h"

FakeEngineHost::FakeEngineHost()
{
    SetEngineHost(this);
}

FakeEngineHost::~FakeEngineHost()
{
    SetEngineHost(nullptr);
}

int32_t FakeEngineHost::MsgBox(const std::string &prompt, int32_t buttons, const std::string &title)
{
    boxes.push_back({prompt, buttons, title});
    if (answers.empty())
        return DefaultMsgBoxAnswer(buttons);
    const int32_t a = answers.front();
    answers.pop_front();
    return a;
}

void FakeEngineHost::SetStatusText(const std::string &text)
{
    statusTexts.push_back(text);
}
