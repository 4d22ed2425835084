#include "platform/ShellServices.h"

#include "platform/ErrorModule.h"

namespace {

// Answers while no shell runs: no dive, nothing shown.
class QuietShellServices : public ShellServices {
public:
    bool DiveOpen(int16_t) override { return false; }
    int16_t ShownWaypoints(int16_t) override { return 0; }
    bool ActiveDiveShowsWaypoints() override { return false; }
    void ShowCircuit(bool) override {}
    void ShowActiveDiveCircuit() override {}
    void ReEvaluateDive(int16_t) override {}
    QString DiveCaption(int16_t) override { return QString(); }
    void ShowErrorInfo(const RuntimeError &error) override { ::ShowErrorInfo(error); }
    void SetProgressText(const QString &) override {}
    void UnloadProgress() override {}
};

QuietShellServices gQuietServices;
ShellServices *gServices = &gQuietServices;

} // namespace

ShellNotices &ShellNotices::Instance()
{
    static ShellNotices notices;
    return notices;
}

ShellServices &Shell()
{
    return *gServices;
}

void SetShellServices(ShellServices *services)
{
    gServices = services ? services : &gQuietServices;
}
