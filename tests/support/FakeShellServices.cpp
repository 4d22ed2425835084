#include "tests/support/FakeShellServices.h"

#include "engine/EngineGlobals.h"
#include "platform/ErrorModule.h"

#include <algorithm>

FakeShellServices::FakeShellServices()
{
    SetShellServices(this);
}

FakeShellServices::~FakeShellServices()
{
    SetShellServices(nullptr);
}

bool FakeShellServices::DiveOpen(int16_t profileNr)
{
    return std::find(openDives.begin(), openDives.end(), profileNr) != openDives.end();
}

int16_t FakeShellServices::ShownWaypoints(int16_t profileNr)
{
    if (!DiveOpen(profileNr))
        return 0;
    if (profileNr == activeProfile)
        return activeWaypoints;
    const auto other = otherWaypoints.find(profileNr);
    return other == otherWaypoints.end() ? 0 : other->second;
}

void FakeShellServices::ShowErrorInfo(const RuntimeError &error)
{
    errorBoxes << ErrorInfoText(error);
}

QString FakeShellServices::DiveCaption(int16_t profileNr)
{
    return profileNr >= 0 && profileNr < captions.size() ? captions[profileNr] : QString();
}

void FakeShellServices::ShowActiveDiveCircuit()
{
    if (activeProfile >= 0 && size_t(activeProfile) < gSettings.size())
        openCircuit = gSettings[size_t(activeProfile)].Template.OpenCircuit;
}
