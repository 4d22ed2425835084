#include "engine/TemplateModule.h"

#include "engine/AppPaths.h"
#include "engine/ClassTokenizer.h"
#include "engine/DiveBounds.h"
#include "engine/EngineHost.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TextFileSave.h"
#include "engine/TextLineReader.h"
#include "engine/TextLineWriter.h"
#include "engine/VBConversions.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <vector>

std::string gTemplateFile;

void CopyTemplate(const TemplateRec &src, TemplateRec &dst)
{
    // Value semantics give exactly the contract: strings and the four lists are copied,
    // a longer destination list is cut to the source's length, nothing is shared.
    if (&src != &dst)
        dst = src;
}

namespace {

const char *const kStartLine = "Start Template Block";
const char *const kEndLine = "End Template Block";

// ---- writing ----

std::string flagText(bool flag)
{
    return flag ? "1" : "0";
}

// "AscendRates= 0: 10, 6: 3,": every row as depth, ":", rate and ",".
std::string rateRows(const std::vector<RateRecord> &rows)
{
    std::string text;
    for (const RateRecord &row : rows)
        text += FileStr(row.Depth) + ":" + FileStr(row.Rate) + ",";
    return text;
}

// ---- reading ----

// Blanks (not tabs) at both ends removed, as the block's keys and values are trimmed.
std::string trimBlanks(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

[[noreturn]] void refuse(int32_t number, const char *description)
{
    throw RuntimeError(number, "ReadTemplateBlock", description);
}

// A number of the block: its leading number, "." as the decimal point, 0 when the value
// does not start with one.
float numberValue(const std::string &value)
{
    return CSng(Val(value));
}

// A flag is 1 for true and any other number for false; a value that is not a number
// at all (empty, "yes", "1x") makes the block unreadable.
bool flagValue(const std::string &value)
{
    const std::optional<double> number = WholeNumber(value);
    if (!number)
        refuse(ErrTypeMismatch, "Type mismatch");
    return *number == 1;
}

// The text before the first ":" and the text after it (empty when there is no ":").
std::pair<std::string, std::string> splitAtColon(const std::string &text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return {text, ""};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

// The index of the next row of a list; lists are indexed by 16-bit numbers.
size_t nextRow(size_t count)
{
    if (count > INT16_MAX)
        throwOverflow("ReadTemplateBlock");
    return count;
}

// Walks "a,b,c," calling `row` with each text before a ",". Text after the last ","
// is not a row. Returns the number of rows.
template <typename RowFn>
size_t forEachRow(std::string rest, RowFn row)
{
    const ClassTokenizer tokenizer;
    size_t k = 0;
    while (tokenizer.hastokens(rest, ",")) {
        row(nextRow(k), tokenizer.nextToken(rest, ","));
        ++k;
    }
    return k;
}

// "depth:rate," rows. The first row cuts the list down to one row and each further row
// adds one; a value without any row leaves the list as it was.
void readRates(std::vector<RateRecord> &rates, const std::string &value)
{
    forEachRow(value, [&rates](size_t k, const std::string &row) {
        const auto [depth, rate] = splitAtColon(row);
        rates.resize(k + 1);
        rates[k].Depth = numberValue(depth);
        rates[k].Rate = numberValue(rate);
    });
}

// "name:O2/N2/He/" appends one gas.
void readGas(std::vector<GasRecord> &gases, const std::string &value)
{
    const ClassTokenizer tokenizer;
    const auto [name, fractions] = splitAtColon(value);
    GasRecord gas;
    gas.Name = name;
    gas.O2 = numberValue(tokenizer.nthToken(fractions, 1, "/"));
    gas.N2 = numberValue(tokenizer.nthToken(fractions, 2, "/"));
    gas.He = numberValue(tokenizer.nthToken(fractions, 3, "/"));
    nextRow(gases.size());
    gases.push_back(gas);
}

// "depth:name," rows, walked like the rate rows. An empty value means no switches at
// all: that is how a dive without switches is written.
void readSwitches(std::vector<GasChangeRecord> &switches, const std::string &value)
{
    if (value.empty()) {
        switches.clear();
        return;
    }
    forEachRow(value, [&switches](size_t k, const std::string &row) {
        const auto [depth, name] = splitAtColon(row);
        switches.resize(k + 1);
        switches[k].Depth = numberValue(depth);
        switches[k].Name = name;
    });
}

// "GF=1, .8, .3": on, high, low. A missing part repeats the last one present, so
// "GF=1" gives 1 for both factors.
void readGradientFactors(TemplateRec &t, const std::string &value)
{
    const ClassTokenizer tokenizer;
    std::string rest = value;
    const std::string on = tokenizer.nextToken(rest, ",");
    const std::string high = tokenizer.nextToken(rest, ",");
    const std::string low = tokenizer.nextToken(rest, ",");
    t.GFOn = flagValue(on);
    t.GFHigh = numberValue(high);
    t.GFLow = numberValue(low);
}

struct NumberKey {
    const char *key;
    float TemplateRec::*field;
};

struct FlagKey {
    const char *key;
    bool TemplateRec::*field;
};

const NumberKey kNumberKeys[] = {
    {"Setpoint", &TemplateRec::Setpoint},
    {"DecoSetpoint", &TemplateRec::DecoSetpoint},
    {"MinPPO2", &TemplateRec::MinPPO2},
    {"MaxPPO2", &TemplateRec::MaxPPO2},
    {"Maximal END", &TemplateRec::MaximalEND},
    {"DecoPPO2", &TemplateRec::DecoPPO2},
    {"StartAltitude", &TemplateRec::StartAltitude},
    {"EndAltitude", &TemplateRec::EndAltitude},
    {"EndPressure", &TemplateRec::EndPressure},
    {"StartPressure", &TemplateRec::StartPressure},
    {"RMV", &TemplateRec::RMV},
    {"DecoRMV", &TemplateRec::DecoRMV},
    {"StepSize", &TemplateRec::StepSize},
    {"LastStop", &TemplateRec::LastStop},
};

const FlagKey kFlagKeys[] = {
    {"OCDeco", &TemplateRec::OCDeco},
    {"AutoDecoGas", &TemplateRec::AutoDecoGas},
    {"Open Circuit", &TemplateRec::OpenCircuit},
    {"O2Narcotic", &TemplateRec::O2Narcotic},
    {"AdeptedToHeight", &TemplateRec::AdeptedToHeight},
    {"PPO2Low", &TemplateRec::PPO2Low},
    {"PPO2High", &TemplateRec::PPO2High},
    {"MaxEnd", &TemplateRec::MaxEnd},
    {"Metric", &TemplateRec::Metric},
    {"DepthAdjust", &TemplateRec::DepthAdjust},
};

// Sets the field the key names. Unknown keys change nothing; "CeilingOverride" is
// written but never read back.
void applyKey(TemplateRec &t, const std::string &key, const std::string &value)
{
    for (const NumberKey &k : kNumberKeys)
        if (key == k.key) {
            t.*k.field = numberValue(value);
            return;
        }
    for (const FlagKey &k : kFlagKeys)
        if (key == k.key) {
            t.*k.field = flagValue(value);
            return;
        }
    if (key == "TimeToHeight")
        t.TimeToHeight = CInt(Val(value));
    else if (key == "GF")
        readGradientFactors(t, value);
    else if (key == "AscendRates")
        readRates(t.AscendRates, value);
    else if (key == "DescendRates")
        readRates(t.DescendRates, value);
    else if (key == "Blends Available")
        readGas(t.Gases, value);
    else if (key == "Change Gas Mixes")
        readSwitches(t.GasChanges, value);
    else if (key == "Templatename")
        t.Templatename = value;
}

// The engine divides by the stop spacing and by every rate, and steps its ascent by the
// spacing: a block outside the dive bounds (engine/DiveBounds.h) would hang or crash the
// first computation, so it is refused as unreadable, in the diver's words.
void checkUsable(const TemplateRec &t)
{
    const DiveBounds::SettingsFault fault = UnreadableSettings(t);
    if (fault.field != DiveBounds::SettingsField::None)
        throw RuntimeError(ErrBadSettings, "ReadTemplateBlock", fault.text);
}

// A number beyond what a Single holds names its setting instead of "Overflow".
void applyKeyOrSay(TemplateRec &t, const std::string &key, const std::string &value)
{
    try {
        applyKey(t, key, value);
    } catch (const RuntimeError &e) {
        if (e.number() != ErrOverflow)
            throw;
        throw RuntimeError(ErrOverflow, "ReadTemplateBlock",
                           DiveBounds::FillIn(GetLangString(7056), {key, value}));
    }
}

} // namespace

DiveBounds::SettingsFault UnreadableSettings(const TemplateRec &t)
{
    if (t.AscendRates.empty())
        return {DiveBounds::SettingsField::AscendRates, GetLangString(2421)};
    if (t.DescendRates.empty())
        return {DiveBounds::SettingsField::DescendRates, GetLangString(2429)};
    // A name the block cannot give back: a switch to "EAN,50" would be read as two
    // switches, neither to the gas. Air, gas 0, is never written.
    for (size_t i = 1; i < t.Gases.size(); ++i)
        if (!GasNameComesBack(t.Gases[i].Name))
            return {DiveBounds::SettingsField::Gases, DiveBounds::FillIn(GetLangString(7078), {t.Gases[i].Name}),
                    int(i)};
    if (const std::string problem = TemplateNameProblem(t.Templatename); !problem.empty())
        return {DiveBounds::SettingsField::TemplateName, problem};
    return DiveBounds::FirstSettingsFault(t);
}

std::string TemplateNameProblem(std::string_view name)
{
    if (name != kEndLine && name.find_first_of("\r\n") == std::string_view::npos)
        return {};
    return DiveBounds::FillIn(GetLangString(7086), {std::string(name)});
}

void WriteTemplateBlock(const TemplateRec &t, TextLineWriter &out)
{
    out.PrintLine(kStartLine);
    out.PrintLine("# Constant PPO2 settings");
    out.PrintLine("Setpoint=" + FileStr(t.Setpoint));
    out.PrintLine("DecoSetpoint=" + FileStr(t.DecoSetpoint));
    out.PrintLine("OCDeco=" + flagText(t.OCDeco));
    out.PrintLine("AutoDecoGas=" + flagText(t.AutoDecoGas));
    out.PrintLine("Open Circuit=" + flagText(t.OpenCircuit));
    out.PrintLine("O2Narcotic=" + flagText(t.O2Narcotic));
    out.PrintLine("MinPPO2=" + FileStr(t.MinPPO2));
    out.PrintLine("Maximal END=" + FileStr(t.MaximalEND));
    out.PrintLine("MaxPPO2=" + FileStr(t.MaxPPO2));
    out.PrintLine("DecoPPO2=" + FileStr(t.DecoPPO2));
    out.PrintLine("# Altitude settings");
    out.PrintLine("AdeptedToHeight=" + flagText(t.AdeptedToHeight));
    out.PrintLine("TimeToHeight=" + Str(int32_t(t.TimeToHeight)));
    out.PrintLine("StartAltitude=" + FileStr(t.StartAltitude));
    out.PrintLine("StartPressure=" + FileStr(t.StartPressure));
    out.PrintLine("EndAltitude=" + FileStr(t.EndAltitude));
    out.PrintLine("EndPressure=" + FileStr(t.EndPressure));
    out.PrintLine("# Warning section");
    out.PrintLine("PPO2Low=" + flagText(t.PPO2Low));
    out.PrintLine("PPO2High=" + flagText(t.PPO2High));
    out.PrintLine("MaxEnd=" + flagText(t.MaxEnd));
    out.PrintLine("CeilingOverride= " + flagText(t.CeilingOverride));
    out.PrintLine("# Properties");
    out.PrintLine("RMV=" + FileStr(t.RMV));
    out.PrintLine("DecoRMV=" + FileStr(t.DecoRMV));
    out.PrintLine("StepSize=" + FileStr(t.StepSize));
    out.PrintLine("LastStop=" + FileStr(t.LastStop));
    out.PrintLine("Metric=" + flagText(t.Metric));
    out.PrintLine("# Conservatism");
    out.PrintLine("DepthAdjust=" + flagText(t.DepthAdjust));
    out.PrintLine("GF=" + flagText(t.GFOn) + "," + FileStr(t.GFHigh) + "," + FileStr(t.GFLow));
    out.PrintLine("# Ascend Descend Rates");
    out.PrintLine("AscendRates=" + rateRows(t.AscendRates));
    out.PrintLine("DescendRates=" + rateRows(t.DescendRates));
    out.PrintLine("# Gas Mixes");
    // Air, gas 0, is part of every list and never written.
    for (size_t i = 1; i < t.Gases.size(); ++i) {
        const GasRecord &gas = t.Gases[i];
        out.PrintLine("Blends Available=" + gas.Name + ":" + FileStr(gas.O2) + "/" + FileStr(gas.N2) +
                      "/" + FileStr(gas.He) + "/");
    }
    out.PrintLine("# ChangeGasMix");
    std::string switches;
    for (const GasChangeRecord &change : t.GasChanges)
        switches += FileStr(change.Depth) + ":" + change.Name + ",";
    out.PrintLine("Change Gas Mixes=" + switches);
    out.PrintLine("Templatename=" + t.Templatename);
    out.PrintLine(kEndLine);
}

bool GasNameComesBack(std::string_view name)
{
    return name.find_first_of(":,\r\n") == std::string_view::npos && (name.empty() || name.front() != ' ');
}

bool IsStorableGasName(std::string_view name)
{
    return GasNameComesBack(name) && (name.empty() || name.back() != ' ');
}

void ReadTemplateBlock(TemplateRec &record, TextLineReader &in)
{
    // Read into a copy: the record changes only when the whole block was good.
    TemplateRec t = record;
    t.Gases.assign(1, AirGas());

    in.LineInput(); // "Start Template Block", whatever it holds
    const ClassTokenizer tokenizer;
    for (;;) {
        std::string line = in.LineInput();
        if (line.rfind('#', 0) == 0)
            continue;
        if (tokenizer.hastokens(line, "=")) {
            // The line is cut down to its value: a value of exactly the end line ends
            // the block as well.
            const std::string key = trimBlanks(tokenizer.nextToken(line, "="));
            applyKeyOrSay(t, key, trimBlanks(line));
        } else {
            const std::string whole = trimBlanks(line);
            applyKeyOrSay(t, whole, whole);
        }
        if (line == kEndLine)
            break;
    }

    MatchSwitchesToGases(t);
    if (t.DecoRMV == 0)
        t.DecoRMV = t.RMV;
    checkUsable(t);
    // Stored as the settings dialog stores them, so its OK of an unchanged dive changes
    // nothing.
    std::vector<GasChangeRecord> switches;
    for (const size_t i : SwitchOrder(t.GasChanges))
        switches.push_back(t.GasChanges[i]);
    t.GasChanges = std::move(switches);
    record = std::move(t);
}

std::string DefaultTemplatePath()
{
    return JoinPath(JoinPath(InstallDir(), "template"), "Default.tpl");
}

bool LoadTemplate(TemplateRec &record, const std::string &name, const std::string &directory)
{
    TemplateRec t = record;
    std::string path;
    if (name.empty()) {
        // Directory keeps its trailing "/" like every other folder of a record, so
        // Directory + Templatename is the file's path.
        t.Directory = JoinPath(InstallDir(), "template") + "/";
        t.Templatename = "Default.tpl";
        path = DefaultTemplatePath();
    } else {
        t.Directory = directory;
        t.Templatename = name;
        path = JoinPath(directory, name);
    }
    gTemplateFile = path;

    try {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            throw RuntimeError(ErrFileNotFound, "LoadTemplate", "File not found");
        TextLineReader in(file);
        ReadTemplateBlock(t, in);
    } catch (const RuntimeError &e) {
        // Settings outside what a dive can be, and numbers no dive has, say which.
        const bool said = e.number() == ErrBadSettings || e.number() == ErrOverflow;
        Host().MsgBox(path + "\r\nis not a valid template file, ignored" + (said ? "\r\n" + e.description() : ""),
                      vbCritical | vbOKOnly, "");
        return false;
    } catch (const std::exception &) {
        Host().MsgBox(path + "\r\nis not a valid template file, ignored", vbCritical | vbOKOnly, "");
        return false;
    }
    t.Changed = false;
    record = std::move(t);
    return true;
}

void SaveTemplate(const TemplateRec &record, const std::string &path)
{
    const std::string target = path.empty() ? DefaultTemplatePath() : path;
    gTemplateFile = target;
    SaveTextFile(target, "SaveTemplate", [&record](TextLineWriter &out) { WriteTemplateBlock(record, out); });
}
