#include "shell/ProfileFile.h"

#include "engine/ClassTokenizer.h"
#include "engine/DiveBounds.h"
#include "engine/ProfileReplay.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/TextLineReader.h"
#include "engine/TextLineWriter.h"
#include "engine/VBConversions.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace {

const char *const kStartLine = "Start of Profile";
const char *const kEndLine = "End of Profile";

[[noreturn]] void refuse(int32_t number, const std::string &description)
{
    throw RuntimeError(number, "ReadProfileBlock", description);
}

bool isBlankLine(const std::string &line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

// A whole field as a number, "." as the decimal point in every locale. Unlike the
// template's numbers, which read their leading number, a field here is all number or
// the file is refused: a "," written under a decimal-comma locale would otherwise shift
// every field after it without a word.
double fieldNumber(const std::string &field)
{
    const std::optional<double> number = WholeNumber(field);
    if (!number)
        refuse(ErrTypeMismatch, "Type mismatch");
    return *number;
}

// A number of the file as a Single; one beyond the Single range is named in the
// diver's words rather than as "Overflow".
float fileSingle(double number)
{
    if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<float>::max())
        refuse(ErrOverflow, DiveBounds::FillIn(GetLangString(7057), {CStr(number)}));
    return CSng(number);
}

// A whole-number field (mix, action); one beyond 16 bits is refused with `why`.
int16_t fileInteger(double number, int32_t error, const std::string &why)
{
    if (!(number > INT16_MIN - 0.5 && number < INT16_MAX + 0.5))
        refuse(error, why);
    return CInt(number);
}

// "SurfTime = 90": whatever stands before the first "=" is not looked at.
float surfaceInterval(const std::string &line)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        refuse(ErrTypeMismatch, "Type mismatch");
    const float minutes = fileSingle(fieldNumber(line.substr(equals + 1)));
    if (const std::string problem = DiveBounds::SurfaceIntervalProblem(minutes); !problem.empty())
        refuse(ErrBadSettings, problem);
    return minutes;
}

// "depth,time,mix,action,": the first four fields; more are ignored. A waypoint's depth
// must lie within the dive bounds (engine/DiveBounds.h) of the dive's units, and the
// legs of a dive last a week at most (`minutes` sums them).
void readWaypointLine(ProfileFileDive &dive, std::string line, double &minutes)
{
    const ClassTokenizer tokenizer;
    const double depthField = fieldNumber(tokenizer.nextToken(line, ","));
    const double timeField = fieldNumber(tokenizer.nextToken(line, ","));
    const double mixField = fieldNumber(tokenizer.nextToken(line, ","));
    const double actionField = fieldNumber(tokenizer.nextToken(line, ","));
    const std::string unknownGas = "A waypoint's gas is not in the dive's gas list";
    const int16_t action = fileInteger(actionField, ErrInvalidCall, "Unknown entry in the profile");

    ClassUseractions &log = dive.Log;
    if (action == ActionUserWaypoint) {
        // The replay cuts legs by depth and time: negative ones would draw nonsense.
        if (depthField < 0 || timeField < 0)
            refuse(ErrInvalidCall, "A waypoint's depth and time cannot be negative");
        DiveBounds::CheckDepth(depthField, dive.Template.Metric, "ReadProfileBlock");
        minutes += timeField;
        DiveBounds::CheckDiveMinutes(minutes, "ReadProfileBlock");
        const int16_t mix = fileInteger(mixField, ErrSubscript, unknownGas);
        // The leg takes the name of the gas at its number. A number outside the list
        // (a gas deleted after the leg was drawn) is kept as it is: the dive opens with
        // that leg as drawn and cannot be computed, and no list gives it another gas.
        LogUserLeg(log, dive.Template, CSng(depthField), CSng(timeField), mix);
        if (mix < 0 || size_t(mix) >= dive.Template.Gases.size())
            log.setgaslost(log.GetLength());
    } else if (action == ActionDecoMarker) {
        const float depth = fileSingle(depthField);
        const float time = fileSingle(timeField);
        log.NewAction();
        log.setuser(log.GetLength(), depth, time, fileInteger(mixField, ErrSubscript, unknownGas));
        log.setdeco(log.GetLength());
    } else {
        refuse(ErrInvalidCall, "Unknown entry in the profile");
    }
}

// The mix number a leg is written with: where its gas stands in the list written with
// it. A gas the list no longer holds is written as a number outside it (its own when that
// is, else -1), never as the number of the gas that took its place.
int16_t fileMixNumber(const ClassUseractions &log, int16_t nr, const std::vector<GasRecord> &gases)
{
    const int16_t mix = log.getmixnumber(nr);
    if (log.getaction(nr) != ActionUserWaypoint)
        return mix;
    const int16_t now = LoggedGasIndex(log, nr, gases);
    if (now >= 0)
        return now;
    return (mix < 0 || size_t(mix) >= gases.size()) ? mix : int16_t(-1);
}

// A marker line as an editor may leave it: blanks, tabs or a CR after the text.
std::string withoutTrailingBlanks(const std::string &line)
{
    const size_t end = line.find_last_not_of(" \t\r");
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

} // namespace

void WriteProfileBlock(float surfTime, const ClassUseractions &log, const std::vector<GasRecord> &gases,
                       TextLineWriter &out)
{
    out.PrintLine(kStartLine);
    out.PrintLine("SurfTime = " + FileJoinStr(surfTime));
    for (int16_t i = 1; i <= log.GetLength(); ++i)
        out.PrintLine(FileJoinStr(log.getDepth(i)) + "," + FileJoinStr(log.gettime(i)) + "," +
                      CStr(int32_t(fileMixNumber(log, i, gases))) + "," + CStr(int32_t(log.getaction(i))) + ",");
    out.PrintLine(kEndLine);
}

void WriteProfileDive(const TemplateRec &settings, float surfTime, const ClassUseractions &log,
                      TextLineWriter &out)
{
    WriteTemplateBlock(settings, out);
    WriteProfileBlock(surfTime, log, settings.Gases, out);
}

void ReadProfileBlock(ProfileFileDive &dive, TextLineReader &in)
{
    // The block's first line is not looked at, as long as it is not a line of the block
    // itself: then "Start of Profile" is missing and every line would be read as the one
    // before it.
    const std::string first = withoutTrailingBlanks(in.LineInput());
    if (first != kStartLine &&
        (first.find_first_of(",=") != std::string::npos || first == kEndLine))
        refuse(ErrInvalidCall, "A dive's profile does not start where its settings end");
    dive.SurfTime = surfaceInterval(in.LineInput());
    double minutes = 0;
    for (;;) {
        const std::string line = in.LineInput();
        if (line.find(',') != std::string::npos)
            readWaypointLine(dive, line, minutes);
        else if (withoutTrailingBlanks(line) == kEndLine) {
            // The logged minutes were bounded line by line; the travel between the legs
            // counts too, or legs logged at 0 minutes could last for months.
            DiveBounds::CheckDiveMinutes(LoggedDiveMinutes(dive.Log, dive.Template), "ReadProfileBlock");
            return;
        }
        // Any other line without a "," is no waypoint and is passed over.
    }
}

std::vector<ProfileFileDive> ReadProfileFile(std::istream &in)
{
    // The lines without the blank ones at the end, so that a file some editor gave a
    // few empty lines more does not seem to start another dive.
    std::vector<std::string> lines;
    size_t size = 0;
    TextLineReader fileLines(in);
    while (!fileLines.AtEnd()) {
        lines.push_back(fileLines.LineInput());
        size += lines.back().size() + 2;
        if (size > MaxProfileFileSize)
            refuse(ErrInvalidCall, "The file is too large for a dive series");
    }
    while (!lines.empty() && isBlankLine(lines.back()))
        lines.pop_back();
    if (lines.empty())
        refuse(ErrInputPastEnd, "The file holds no dive");

    std::stringstream text;
    for (const std::string &line : lines)
        text << line << '\n';
    TextLineReader reader(text);

    std::vector<ProfileFileDive> dives;
    while (!reader.AtEnd()) {
        ProfileFileDive dive;
        ReadTemplateBlock(dive.Template, reader);
        ReadProfileBlock(dive, reader);
        dives.push_back(std::move(dive));
    }
    return dives;
}
