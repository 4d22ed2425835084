// The text form of a dive series: the exact lines of a profile block, what old files may
// hold, and files that are refused whole rather than half read. (Round trips through the
// windows in two locales are in DiveSeriesTest.)

#include "engine/ProfileReplay.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/TextLineReader.h"
#include "engine/TextLineWriter.h"
#include "shell/ProfileFile.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// The shipped default template: metric, open circuit, six gases besides Air.
TemplateRec defaultSettings()
{
    std::ifstream file(DefaultTemplatePath(), std::ios::binary);
    TextLineReader in(file);
    TemplateRec t;
    ReadTemplateBlock(t, in);
    return t;
}

ClassUseractions logOf(std::initializer_list<UserAction> entries)
{
    ClassUseractions log;
    for (const UserAction &a : entries) {
        log.NewAction();
        log.setuser(log.GetLength(), a.depth, a.time, a.mixnumber);
        if (a.action == ActionDecoMarker)
            log.setdeco(log.GetLength());
    }
    return log;
}

UserAction leg(float depth, float time, int16_t mix = 0) { return {time, depth, mix, ActionUserWaypoint}; }
UserAction deco() { return {-1, -1, 0, ActionDecoMarker}; }

std::string profileBlock(float surfTime, const ClassUseractions &log)
{
    std::ostringstream file;
    TextLineWriter out(file);
    WriteProfileBlock(surfTime, log, defaultSettings().Gases, out);
    return file.str();
}

// Three dives of a repetitive series: air, a trimix dive with fractional depth and
// times, and a short third dive; the second carries a different ascent table.
std::string seriesText()
{
    TemplateRec second = defaultSettings();
    second.GFLow = 0.35f;
    second.AscendRates[0].Rate = 4.5f;
    std::ostringstream file;
    TextLineWriter out(file);
    WriteProfileDive(defaultSettings(), 0, logOf({leg(30, 2.5f), leg(30, 20), deco()}), out);
    WriteProfileDive(second, 90, logOf({leg(42.5f, 3), leg(42.5f, 0.5f, 4), leg(21, 6.25f, 4), deco()}), out);
    WriteProfileDive(defaultSettings(), 125.5f, logOf({leg(12, 40)}), out);
    return file.str();
}

std::vector<ProfileFileDive> readSeries(const std::string &text)
{
    std::istringstream file(text);
    return ReadProfileFile(file);
}

std::string writeSeries(const std::vector<ProfileFileDive> &dives)
{
    std::ostringstream file;
    TextLineWriter out(file);
    for (const ProfileFileDive &d : dives)
        WriteProfileDive(d.Template, d.SurfTime, d.Log, out);
    return file.str();
}

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST(ProfileFile, BlockHasTheDocumentedLines)
{
    EXPECT_EQ(profileBlock(90, logOf({leg(30, 2.5f), leg(30, 20)})),
              "Start of Profile\r\nSurfTime = 90\r\n30,2.5,0,0,\r\n30,20,0,0,\r\nEnd of Profile\r\n");
    // A deco marker as the log holds it; fractions below 1 keep their 0; no entries at all.
    EXPECT_EQ(profileBlock(0.5f, logOf({leg(4.5f, 0.25f, 3), deco()})),
              "Start of Profile\r\nSurfTime = 0.5\r\n4.5,0.25,3,0,\r\n-1,-1,0,1,\r\nEnd of Profile\r\n");
    EXPECT_EQ(profileBlock(0, ClassUseractions{}), "Start of Profile\r\nSurfTime = 0\r\nEnd of Profile\r\n");
    // A depth drawn with the mouse keeps the digits beyond 7 that give it back.
    EXPECT_EQ(profileBlock(0, logOf({leg(12.345679f, 1.0f / 3)})),
              "Start of Profile\r\nSurfTime = 0\r\n12.345679,0.33333334,0,0,\r\nEnd of Profile\r\n");
}

TEST(ProfileFile, ReaderToleratesWhatOldFilesHold)
{
    const std::string text = seriesText();
    // Extra fields after the fourth, blanks around numbers, lines without a "," inside
    // the block and blank lines after the last dive.
    std::string loose = replaced(text, "30,20,0,0,", " 30 , 20 ,0,0,7,x");
    loose = replaced(loose, "SurfTime = 90", "SurfTime=  90 ");
    loose = replaced(loose, "12,40,0,0,", "a remark\r\n12,40,0,0,");
    loose += "\r\n  \r\n\n";
    const std::vector<ProfileFileDive> dives = readSeries(loose);
    ASSERT_EQ(dives.size(), 3u);
    EXPECT_FLOAT_EQ(dives[0].Log.gettime(2), 20);
    EXPECT_FLOAT_EQ(dives[1].SurfTime, 90);
    EXPECT_EQ(dives[2].Log.GetLength(), 1);
    EXPECT_EQ(writeSeries(dives), text);
    // LF line ends read as well.
    std::string lf = text;
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.erase(at, 1);
    EXPECT_EQ(writeSeries(readSeries(lf)), text);
}

TEST(ProfileFile, MalformedFilesAreRefusedWhole)
{
    const std::string text = seriesText();
    const size_t lastBlock = text.rfind("Start of Profile");
    const struct {
        const char *what;
        std::string file;
    } cases[] = {
        {"empty", ""},
        {"only blank lines", "\r\n \r\n"},
        {"cut inside the settings", text.substr(0, text.find("GF=1"))},
        {"cut inside the last profile", text.substr(0, text.rfind("End of Profile"))},
        {"cut right after the last settings", text.substr(0, lastBlock)},
        {"field not a number", replaced(text, "30,20,0,0,", "30,2O,0,0,")},
        {"too few fields", replaced(text, "30,20,0,0,", "30,20,")},
        {"negative depth", replaced(text, "12,40,0,0,", "-12,40,0,0,")},
        {"unknown action", replaced(text, "12,40,0,0,", "12,40,0,2,")},
        {"interval not a number", replaced(text, "SurfTime = 90", "SurfTime = soon")},
        {"interval without =", replaced(text, "SurfTime = 90", "SurfTime 90")},
        {"negative interval", replaced(text, "SurfTime = 90", "SurfTime = -90")},
        {"mix beyond 16 bits", replaced(text, "12,40,0,0,", "12,40,40000,0,")},
        {"profile without its start line", replaced(text, "Start of Profile\r\nSurfTime = 90", "SurfTime = 90")},
        {"profile without its start line and interval", replaced(text, "Start of Profile\r\nSurfTime = 0\r\n", "")},
        {"first line is the end line", replaced(text, "Start of Profile\r\nSurfTime = 125.5\r\n12,40,0,0,\r\n", "")},
        {"settings that cannot be used", replaced(text, "StepSize= 3", "StepSize= 0")},
        {"garbage after the series", text + "Start of Profile\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(readSeries(c.file), RuntimeError);
    }
}

namespace {

// The text a refused series gives, in English.
std::string refusalOf(const std::string &text)
{
    try {
        readSeries(text);
    } catch (const RuntimeError &e) {
        return e.description();
    }
    return "accepted";
}

} // namespace

TEST(ProfileFile, DivesNoPlannerCanFollowAreRefusedSayingWhatIsWrong)
{
    // Each of these once opened and froze the planner, or was refused as "Overflow".
    ScopedEnv install("DOLV_INSTALL_DIR", DOLV_SOURCE_DIR);
    std::string english = kDefaultLanguageFile;
    ASSERT_EQ(LoadLanguageDll(english), 1);
    const std::string text = seriesText();
    const std::string feet = "Metric=0\r\nStartPressure= 1\r\nEndPressure= 1"; // sea level in atm
    const std::string imperialRebreather =
        replaced(replaced(replaced(replaced(text, "Metric=1", feet), "Open Circuit=1", "Open Circuit=0"),
                          "Setpoint= 1.3", "Setpoint= 0"),
                 "StepSize= 3", "StepSize= 10");
    std::string yoyo; // 1700 legs between 1000 m and the surface, each logged at 0 minutes
    for (int i = 0; i < 850; ++i)
        yoyo += "1000,0,0,0,\r\n0,0,0,0,\r\n";
    const struct {
        const char *what;
        std::string file;
        std::string says;
    } cases[] = {
        {"stop spacing of 1E-30", replaced(text, "StepSize= 3", "StepSize= 1E-30"),
         "the step between decompression stops must lie between 0.1 m and 30 m."},
        {"rebreather at 34 million feet", replaced(imperialRebreather, "30,20,0,0,", "3.4E+07,20,0,0,"),
         "A waypoint at 3.4E+07 ft cannot be planned: depths lie between the surface and 3300 ft."},
        {"surface pressure of 100 bar", replaced(replaced(text, "EndPressure= 1.013", "EndPressure= 100"),
                                                 "30,20,0,0,", "1E+08,20,0,0,"),
         "the surface pressure must lie between 0.2 bar and 1.2 bar."},
        {"depth beyond a Single", replaced(text, "30,20,0,0,", "1E+39,20,0,0,"),
         "A waypoint at 1E+39 m cannot be planned"},
        {"just below the deepest depth", replaced(text, "30,20,0,0,", "1000.1,20,0,0,"),
         "A waypoint at 1000.1 m cannot be planned"},
        {"legs longer than a week", replaced(text, "30,20,0,0,", "30,10079,0,0,"),
         "The legs of this dive last 10081.5 minutes; a dive can be planned for at most 10080 minutes"},
        {"legs logged at 0 minutes whose travel lasts months", replaced(text, "30,20,0,0,", yoyo),
         "a dive can be planned for at most 10080 minutes"},
        {"deco marker beyond a Single", replaced(text, "-1,-1,0,1,", "-1,-1E+39,0,1,"),
         "The file holds a number too large for any dive: -1E+39"},
        {"interval beyond a Single", replaced(text, "SurfTime = 90", "SurfTime = 1E+40"),
         "The file holds a number too large for any dive: 1E+40"},
        {"an interval of almost four years", replaced(text, "SurfTime = 90", "SurfTime = 2000000"),
         "Surface interval must lie between 0 min and 1499 min."},
        {"gas of 1E+30 % oxygen", replaced(text, "Oxygen: 100/", "Oxygen: 1E+30/"), "the gas \"Oxygen\""},
        {"RMV of 3.4E+38", replaced(text, "RMV= 20", "RMV= 3.4E+38"), "RMV must lie between 0 l/min and 200 l/min."},
        {"set-point of -2.5E+38", replaced(text, "Setpoint= 1.3", "Setpoint=-2.5E+38"),
         "Set-point must lie between 0 bar and 3 bar."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NE(refusalOf(c.file).find(c.says), std::string::npos) << refusalOf(c.file);
    }
    // At the bounds the dive is a dive.
    EXPECT_NO_THROW(readSeries(replaced(text, "30,20,0,0,", "1000,20,0,0,")));
    EXPECT_NO_THROW(readSeries(replaced(text, "SurfTime = 90", "SurfTime = 1499")));
    EXPECT_NO_THROW(readSeries(replaced(imperialRebreather, "30,20,0,0,", "3300,20,0,0,")));
    FreeLanguageDll();
}

TEST(ProfileFile, MarkerLinesMayCarryTrailingBlanks)
{
    const std::string text = seriesText();
    // A stray CR (CR CR LF), blanks and a tab after the block's first and last lines, or
    // another first line of no profile content: read as the written file.
    std::string loose = replaced(text, "Start of Profile\r\nSurfTime = 90", "Start of Profile \r\r\nSurfTime = 90");
    loose = replaced(loose, "30,20,0,0,\r\n-1,-1,0,1,\r\nEnd of Profile\r\n",
                     "30,20,0,0,\r\n-1,-1,0,1,\r\nEnd of Profile\t \r\n");
    loose = replaced(loose, "Start of Profile\r\nSurfTime = 125.5", "Profile of the third dive\r\nSurfTime = 125.5");
    const std::vector<ProfileFileDive> dives = readSeries(loose);
    ASSERT_EQ(dives.size(), 3u);
    EXPECT_EQ(dives[0].Log.GetLength(), 3);
    EXPECT_EQ(writeSeries(dives), text);
}

TEST(ProfileFile, ALegOnANumberBeyondTheListNeverGetsAGas)
{
    // (A gas deleted, saved and opened again is tested through the windows.) A number
    // beyond the list, as an older file may hold, is kept; a longer list later does not
    // give the leg the gas that comes to stand there.
    const std::string text = replaced(seriesText(), "12,40,0,0,", "12,40,7,0,");
    std::vector<ProfileFileDive> dives = readSeries(text);
    ASSERT_EQ(dives.size(), 3u);
    EXPECT_EQ(dives[2].Log.getmixnumber(1), 7);
    EXPECT_EQ(writeSeries(dives), text);
    std::vector<GasRecord> &gases = dives[2].Template.Gases;
    ASSERT_EQ(gases.size(), 7u);
    gases.push_back({"Tx 10/70", 10, 20, 70, 0});
    EXPECT_EQ(LoggedGasIndex(dives[2].Log, 1, gases), -1);
    EXPECT_EQ(writeSeries(dives).find("12,40,7,0,"), std::string::npos);
    EXPECT_NE(writeSeries(dives).find("12,40,-1,0,"), std::string::npos);
}
