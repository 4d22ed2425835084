#include "engine/EngineHost.h"

int32_t DefaultMsgBoxAnswer(int32_t buttons)
{
    const int32_t kind = buttons & 7;
    const int32_t def = (buttons & 0x300) >> 8; // 0, 1 or 2: which button is the default
    static const int32_t answers[6][3] = {
        {vbOK, vbOK, vbOK},
        {vbOK, vbCancel, vbCancel},
        {vbAbort, vbRetry, vbIgnore},
        {vbYes, vbNo, vbCancel},
        {vbYes, vbNo, vbNo},
        {vbRetry, vbCancel, vbCancel},
    };
    if (kind > 5)
        return vbOK;
    return answers[kind][def > 2 ? 0 : def];
}

namespace {

class QuietHost : public EngineHost {
public:
    int32_t MsgBox(const std::string &, int32_t buttons, const std::string &) override
    {
        return DefaultMsgBoxAnswer(buttons);
    }
    void SetStatusText(const std::string &) override {}
    void EndApplication() override {}
};

QuietHost gQuietHost;
EngineHost *gHost = &gQuietHost;

} // namespace

EngineHost &Host()
{
    return *gHost;
}

void SetEngineHost(EngineHost *host)
{
    gHost = host ? host : &gQuietHost;
}
