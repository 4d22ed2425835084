#include "engine/DOLVmiscModule.h"

#include "engine/ClassBuhlmann.h"
#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TraceFile.h"
#include "engine/VBConversions.h"

int16_t FindGasIndex(const std::string &Name, const TemplateRec &Template)
{
    for (size_t i = 0; i < Template.Gases.size(); ++i)
        if (Template.Gases[i].Name == Name)
            return static_cast<int16_t>(i);
    return 0;
}

namespace {

const SettingsRecord &Record(int16_t profileNr, const char *source)
{
    if (profileNr < 0 || static_cast<size_t>(profileNr) >= gSettings.size())
        throwSubscript(source);
    return gSettings[static_cast<size_t>(profileNr)];
}

} // namespace

void RunDecompression(const ClassProfile &Source, ClassProfile &Result, const TemplateRec & /*Template*/,
                      bool LoadOnly, bool Bailout, bool Repetitive, int16_t /*Extra*/, int16_t ProfileNr)
{
    Host().SetStatusText(GetLangString(5006));
    ClassBuhlmann engine;
    const bool ModelC = Host().ModelCChecked();
    const int16_t tag = Host().EditorTag(ProfileNr);
    if (Repetitive) {
        const SettingsRecord &previous = Record(Host().EditorPrevProfile(ProfileNr), "RunDecompression");
        const float surfTime = Record(tag, "RunDecompression").SurfTime;
        engine.InitAfterSurfaceInterval(tag, ModelC, previous.N2Compartments, previous.HeCompartments,
                                        surfTime);
    } else {
        engine.Init(tag, ModelC);
    }
    if (LoadOnly) {
        engine.LoadCompartments(Source, Result);
    } else {
        Result.clear();
        try {
            engine.StartBuhlmann(Source, Result, true, Bailout);
        } catch (...) {
            // Half a plan must not be shown as a plan.
            Result.clear();
            throw;
        }
    }
    const std::string notice = TraceFileNotice();
    Host().SetStatusText(notice.empty() ? GetLangString(5005) : GetLangString(5005) + "  " + notice);
}

int16_t FindEndUserProfile(const ClassProfile &Profile)
{
    for (int16_t i = Profile.GetLength(); i > 0; --i)
        if (Profile.GetEndUserProfile(i))
            return i;
    return 0;
}

namespace {

void Warn(const std::string &text, const std::string &title)
{
    Host().MsgBox(text, vbOKOnly | vbExclamation, title);
}

std::string Fixed(float v, int decimals)
{
    return LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator);
}

} // namespace

void WarnAboveLimit(float Value, float Limit, bool Metric, bool &Warned)
{
    if (!(Value > Limit) || Warned)
        return;
    const std::string text = GetLangString(2400) + Fixed(Value, 0) +
                             (Metric ? GetLangString(2401) : GetLangString(2403)) + Fixed(Limit, 0) +
                             (Metric ? GetLangString(2402) : GetLangString(2404));
    Warn(text, GetLangString(6160));
    Warned = true;
}

void WarnAboveLimitRounded(float Value, float Limit, bool Metric, bool &Warned)
{
    Value = RoundTo(Value, 2);
    if (!(Value > Limit) || Warned)
        return;
    const std::string text = GetLangString(2406) + Fixed(Value, 2) +
                             (Metric ? GetLangString(2407) : GetLangString(2409)) + Fixed(Limit, 2) +
                             (Metric ? GetLangString(2408) : GetLangString(2412));
    Warn(text, GetLangString(6161));
    Warned = true;
}

void WarnBelowLimit(float Value, float Limit, bool Metric, bool &Warned)
{
    if (!(Value < Limit) || Warned)
        return;
    const std::string text = GetLangString(2406) + Fixed(Value, 2) +
                             (Metric ? GetLangString(2410) : GetLangString(2411)) + Fixed(Limit, 2) +
                             (Metric ? GetLangString(2408) : GetLangString(2412));
    Warn(text, GetLangString(6162));
    Warned = true;
}
