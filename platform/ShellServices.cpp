#include "platform/ShellServices.h"

#include "platform/ErrorModule.h"

namespace {

// Answers while no shell runs: no dive, ZH-L16C, open circuit, no owner window.
class QuietShellServices : public ShellServices {
public:
    int16_t ActiveProfileNumber() override { return 0; }
    bool DiveOpen(int16_t) override { return false; }
    int16_t ShownWaypoints(int16_t) override { return 0; }
    bool ActiveDiveShowsWaypoints() override { return false; }
    bool ModelBChecked() override { return false; }
    bool ModelCChecked() override { return true; }
    bool HybridChecked() override { return false; }
    bool VPMChecked() override { return false; }
    bool VPMEnabled() override { return false; }
    void SetOpenCircuit(bool) override { openCircuit_ = true; }
    void SetConstPPO(bool) override { openCircuit_ = false; }
    bool IsOpenCircuit() override { return openCircuit_; }
    void ShowActiveDiveCircuit() override {}
    void ApplyToProfile() override {}
    void ReEvaluateDive(int16_t) override {}
    QString DiveCaption(int16_t) override { return QString(); }
    QWidget *OwnerWindow() override { return nullptr; }
    void ShowErrorInfo(const RuntimeError &error) override { ::ShowErrorInfo(error); }
    void SetProgressText(const QString &) override {}
    void UnloadProgress() override {}

private:
    bool openCircuit_ = true;
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
