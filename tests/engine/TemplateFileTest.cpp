// Template files: the exact text of a block, round trips in any locale, refusal of
// malformed files without touching the record, and saves that never leave half a file.

#include "engine/AltitudeModule.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/TextLineReader.h"
#include "engine/TextLineWriter.h"
#include "engine/VBConversions.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScopedLocale.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Two numbers alike to the last bit (== takes -0 for 0).
bool SameBits(float x, float y)
{
    return std::bit_cast<uint32_t>(x) == std::bit_cast<uint32_t>(y);
}

std::string blockText(const TemplateRec &t)
{
    std::ostringstream file;
    TextLineWriter out(file);
    WriteTemplateBlock(t, out);
    return file.str();
}

TemplateRec readBlock(const std::string &text, TemplateRec start = {})
{
    std::istringstream file(text);
    TextLineReader in(file);
    ReadTemplateBlock(start, in);
    return start;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    EXPECT_EQ(pos, text.size()) << "text after the last CR LF";
    return lines;
}

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

RateRecord rate(float depth, float perMinute)
{
    return RateRecord{0, 0, perMinute, depth};
}

// A metric trimix dive with negative, fractional and long values and names with blanks.
TemplateRec metricSample()
{
    TemplateRec t;
    t.Setpoint = 1.3f; t.DecoSetpoint = 1.2345678f; // more digits than a file keeps
    t.OCDeco = true; t.OpenCircuit = false; t.O2Narcotic = true;
    t.MinPPO2 = 0.16f; t.MaximalEND = 30; t.MaxPPO2 = 1.4f; t.DecoPPO2 = 1.6f;
    t.TimeToHeight = 45; t.StartAltitude = -12.5f; t.StartPressure = 1.0147f;
    t.EndAltitude = 1850; t.EndPressure = 0.8176f;
    t.PPO2Low = true; t.MaxEnd = true;
    t.RMV = 19.5f; t.DecoRMV = 14; t.StepSize = 3; t.LastStop = 6; t.Metric = true;
    t.DepthAdjust = true; t.GFOn = true; t.GFHigh = 0.85f; t.GFLow = 0.35f;
    t.AscendRates = {rate(0, 3), rate(6, 9), rate(21.5f, 10)};
    t.DescendRates = {rate(0, 20), rate(40, 18)};
    t.Gases.push_back(GasRecord{"Trimix 21/35", 21, 44, 35, 0});
    t.Gases.push_back(GasRecord{"Deco 50", 50, 50, 0, 0});
    t.Gases.push_back(GasRecord{"Oxygen", 100, 0, 0, 0});
    t.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"Deco 50", 50, 50, 0, 21}};
    t.Templatename = "My Trimix.tpl";
    return t;
}

// The same dive in feet, with a tiny altitude and a negative whole number.
TemplateRec imperialSample()
{
    TemplateRec t = metricSample();
    t.Metric = false;
    t.TimeToHeight = -3; t.StartPressure = 1.0004f; t.EndAltitude = 1e-5f; t.EndPressure = 1;
    t.StepSize = 10; t.LastStop = 20; t.GFOn = false;
    t.AscendRates = {rate(0, 10), rate(20, 30), rate(100, 33)};
    t.DescendRates = {rate(0, 60)};
    t.Gases[2].Name = "EAN 50";
    t.GasChanges = {GasChangeRecord{"EAN 50", 50, 50, 0, 70}};
    t.Templatename = "Imperial.tpl";
    return t;
}

class TemplateFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        ASSERT_TRUE(tmp_.isValid());
        dir_ = tmp_.path().toStdString() + "/";
    }

    std::string put(const std::string &name, const std::string &bytes)
    {
        std::ofstream(dir_ + name, std::ios::binary) << bytes;
        return dir_ + name;
    }

    size_t filesInDir() const
    {
        return size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    // Loads the bytes (no file at all when absent) into `record`, expecting the refusal
    // box, and checks that the record is exactly what it was.
    void expectRefused(std::optional<std::string> bytes, TemplateRec record)
    {
        record.Directory = "/old/";
        record.Changed = true;
        const TemplateRec before = record;
        const std::string path = dir_ + "Bad.tpl";
        fs::remove(path);
        if (bytes)
            put("Bad.tpl", *bytes);

        FakeEngineHost host;
        host.answers.push_back(vbOK);
        EXPECT_FALSE(LoadTemplate(record, "Bad.tpl", dir_));
        ASSERT_EQ(host.boxes.size(), 1u);
        // Settings outside what a dive can be add a line saying what is wrong.
        const std::string &prompt = host.boxes[0].prompt;
        EXPECT_EQ(prompt.substr(0, prompt.find("ignored") + 7), path + "\r\nis not a valid template file, ignored");
        refusal_ = prompt.substr(std::min(prompt.size(), path.size() + 41));
        EXPECT_EQ(host.boxes[0].buttons, vbCritical | vbOKOnly);
        EXPECT_EQ(gTemplateFile, path);

        EXPECT_EQ(blockText(record), blockText(before));
        EXPECT_EQ(record.Directory, before.Directory);
        EXPECT_EQ(record.Templatename, before.Templatename);
        EXPECT_TRUE(record.Changed);
        for (size_t i = 0; i < before.GasChanges.size(); ++i)
            EXPECT_EQ(record.GasChanges[i].O2, before.GasChanges[i].O2);
    }

    // Writes, reads back and writes again, through memory and through files.
    void expectRoundTrip(const TemplateRec &t)
    {
        const std::string text = blockText(t);
        EXPECT_EQ(blockText(readBlock(text)), text);

        SaveTemplate(t, dir_ + "Trip.tpl");
        EXPECT_EQ(FileBytes(dir_ + "Trip.tpl"), text);
        TemplateRec loaded;
        ASSERT_TRUE(LoadTemplate(loaded, "Trip.tpl", dir_));
        EXPECT_EQ(blockText(loaded), text);
        EXPECT_EQ(loaded.StartAltitude, t.StartAltitude);
        EXPECT_EQ(loaded.EndAltitude, t.EndAltitude);
        ASSERT_EQ(loaded.GasChanges.size(), t.GasChanges.size());
        EXPECT_EQ(loaded.GasChanges[0].O2, t.GasChanges[0].O2); // from the gas list
    }

    QTemporaryDir tmp_;
    std::string dir_;
    std::string refusal_; // what the last refusal said after its first two lines
};

std::string block(const std::string &lines)
{
    return "Start Template Block\r\n" + lines + "End Template Block\r\n";
}

// The lines that make a block usable on their own.
const std::string kUsable = "StepSize= 3\r\nAscendRates= 0: 10,\r\nDescendRates= 0: 20,\r\n"
                            "StartAltitude=0\r\nStartPressure=1\r\nEndAltitude=0\r\nEndPressure=1\r\n"
                            "Metric=0\r\nMaxPPO2=1.6\r\n";

// ---- the text ----

TEST_F(TemplateFiles, WritesTheLinesInTheirFixedOrder)
{
    TemplateRec t = metricSample();
    t.Gases.resize(2);
    const std::vector<std::string> lines = linesOf(blockText(t));
    const char *const keys[] = {
        "Start Template Block", "# Constant PPO2 settings", "Setpoint", "DecoSetpoint",
        "OCDeco", "AutoDecoGas", "Open Circuit", "O2Narcotic", "MinPPO2", "Maximal END",
        "MaxPPO2", "DecoPPO2", "# Altitude settings", "AdeptedToHeight", "TimeToHeight",
        "StartAltitude", "StartPressure", "EndAltitude", "EndPressure", "# Warning section",
        "PPO2Low", "PPO2High", "MaxEnd", "CeilingOverride", "# Properties", "RMV", "DecoRMV",
        "StepSize", "LastStop", "Metric", "# Conservatism", "DepthAdjust", "GF",
        "# Ascend Descend Rates", "AscendRates", "DescendRates", "# Gas Mixes",
        "Blends Available", "# ChangeGasMix", "Change Gas Mixes", "Templatename",
        "End Template Block"};
    ASSERT_EQ(lines.size(), std::size(keys));
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].substr(0, lines[i].find('=')), keys[i]) << "line " << i + 1;
}

TEST_F(TemplateFiles, NumbersFlagsAndListsHaveTheirFileForm)
{
    // Set-point 1.3, ascent 10 m/min below 6 m and 3 m/min above, EAN50 from 21 m.
    TemplateRec t;
    t.Metric = true;
    t.Setpoint = 1.3f;
    t.AscendRates = {rate(0, 10), rate(6, 3)};
    t.Gases.push_back(GasRecord{"EAN50", 50, 50, 0, 0});
    t.GasChanges.push_back(GasChangeRecord{"EAN50", 50, 50, 0, 21});
    std::vector<std::string> lines = linesOf(blockText(t));
    EXPECT_EQ(lines[2], "Setpoint= 1.3");
    EXPECT_EQ(lines[34], "AscendRates= 0: 10, 6: 3,");
    EXPECT_EQ(lines[35], "DescendRates=");
    EXPECT_EQ(lines[37], "Blends Available=EAN50: 50/ 50/ 0/");
    EXPECT_EQ(lines[39], "Change Gas Mixes= 21:EAN50,");

    t = metricSample();
    t.CeilingOverride = true; // written, but never read back
    lines = linesOf(blockText(t));
    EXPECT_EQ(lines[3], "DecoSetpoint= 1.2345678");      // the 8 digits that read back
    EXPECT_EQ(lines[8], "MinPPO2= .16");                 // no 0 before the point
    EXPECT_EQ(lines[15], "StartAltitude=-12.5");         // the sign takes the blank's place
    EXPECT_EQ(lines[23], "CeilingOverride= 1");
    EXPECT_EQ(lines[32], "GF=1, .85, .35");
    EXPECT_EQ(lines[37], "Blends Available=Trimix 21/35: 21/ 44/ 35/");
    EXPECT_EQ(lines[41], "Change Gas Mixes= 6:Oxygen, 21:Deco 50,");
    EXPECT_EQ(lines[42], "Templatename=My Trimix.tpl");

    lines = linesOf(blockText(imperialSample()));
    EXPECT_EQ(lines[14], "TimeToHeight=-3");
    EXPECT_EQ(lines[17], "EndAltitude= 1E-05");
    EXPECT_EQ(lines[29], "Metric=0");
}

// ---- round trips ----

TEST_F(TemplateFiles, RoundTripIsByteExact)
{
    ScopedLocale c("C");
    expectRoundTrip(metricSample());
    expectRoundTrip(imperialSample());
}

TEST_F(TemplateFiles, RoundTripIsByteExactUnderAGermanLocale)
{
    const std::string written = blockText(metricSample());
    ScopedLocale german("de_DE.UTF-8");
    if (!german.decimalComma())
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    EXPECT_EQ(blockText(metricSample()), written);
    expectRoundTrip(metricSample());
    expectRoundTrip(imperialSample());
}

TEST_F(TemplateFiles, LfLineEndsReadLikeCrLf)
{
    const std::string crlf = blockText(metricSample());
    std::string lf = crlf;
    std::erase(lf, '\r');
    put("Unix.tpl", lf);
    TemplateRec t;
    ASSERT_TRUE(LoadTemplate(t, "Unix.tpl", dir_));
    EXPECT_EQ(blockText(t), crlf);
}

// ---- reading what others wrote ----

TEST_F(TemplateFiles, ShortFormsOfGfRmvAndRateRows)
{
    TemplateRec t = readBlock(block(kUsable + "GF=1\r\nDecoRMV= 0\r\nRMV= 20\r\n"
                                              "AscendRates= 0: 3, 6: 9, 30: 10\r\n"));
    EXPECT_TRUE(t.GFOn); // a missing factor repeats the last one present
    EXPECT_EQ(t.GFHigh, 1);
    EXPECT_EQ(t.GFLow, 1);
    EXPECT_EQ(t.DecoRMV, 20);               // 0 means "as on the bottom"
    ASSERT_EQ(t.AscendRates.size(), 2u);    // a row ends at its comma
    EXPECT_EQ(t.AscendRates[1].Rate, 9);

    t = readBlock(block(kUsable + "GF=2, .7\r\n"));
    EXPECT_FALSE(t.GFOn); // only 1 is true
    EXPECT_EQ(t.GFLow, 0.7f);
}

TEST_F(TemplateFiles, ListsWithoutRowsKeepTheRecordsRowsButEmptySwitchesMeanNone)
{
    const TemplateRec t = readBlock(
        block("Blends Available=Mix: 50/ 50/ 0/\r\nBlends Available=Mix: 32/ 68/ 0/\r\n"
              "AscendRates=\r\nDescendRates=\r\nChange Gas Mixes=\r\n"),
        metricSample());
    EXPECT_EQ(t.AscendRates.size(), 3u);
    EXPECT_EQ(t.DescendRates.size(), 2u);
    EXPECT_TRUE(t.GasChanges.empty());
    ASSERT_EQ(t.Gases.size(), 3u); // a new gas list starts from Air
    EXPECT_EQ(t.Gases[0].Name, "Air");

    const TemplateRec s = readBlock(block(kUsable + "Blends Available=Mix: 50/ 50/ 0/\r\n"
                                                    "Blends Available=Mix: 32/ 68/ 0/\r\n"
                                                    "Change Gas Mixes= 21:Mix, 6:Oxygen,\r\n"));
    ASSERT_EQ(s.GasChanges.size(), 2u);
    EXPECT_EQ(s.GasChanges[1].O2, 32); // the last gas of that name
    EXPECT_EQ(s.GasChanges[1].Depth, 21);
    EXPECT_EQ(s.GasChanges[0].O2, 0);  // Oxygen is not listed
}

TEST_F(TemplateFiles, LoadingNamesTheRecordAfterTheFileAndClearsChanged)
{
    put("MyTrimix.tpl", block(kUsable + "CeilingOverride= 1\r\nUnknown key= 5\r\n"));
    TemplateRec t = metricSample(); // four gases
    t.Changed = true;
    ASSERT_TRUE(LoadTemplate(t, "MyTrimix.tpl", dir_));
    EXPECT_EQ(t.Templatename, "MyTrimix.tpl");
    EXPECT_EQ(t.Directory, dir_);
    EXPECT_FALSE(t.Changed);
    EXPECT_FALSE(t.CeilingOverride);
    EXPECT_EQ(t.Gases.size(), 1u);   // only Air: the file lists no gases
    EXPECT_EQ(t.Setpoint, 1.3f);     // keys the file lacks keep their values

    put("Named.tpl", block(kUsable + "Templatename=Trimix deep\r\n"));
    ASSERT_TRUE(LoadTemplate(t, "Named.tpl", dir_));
    EXPECT_EQ(t.Templatename, "Trimix deep");
}

// ---- refusals ----

TEST_F(TemplateFiles, MalformedFilesAreRefusedAndChangeNothing)
{
    const std::string good = blockText(metricSample());
    std::mt19937 random(20240611);
    std::string junk(4096, '\0');
    for (char &ch : junk)
        ch = static_cast<char>(random());

    const struct {
        const char *what;
        std::optional<std::string> bytes;
    } cases[] = {
        {"no file", std::nullopt},
        {"empty file", ""},
        {"truncated", good.substr(0, good.find("# Properties"))},
        {"missing end line", replaced(good, "End Template Block\r\n", "")},
        {"end line with a trailing blank", replaced(good, "End Template Block", "End Template Block ")},
        {"word for a flag", replaced(good, "Metric=1", "Metric=yes")},
        {"empty flag", replaced(good, "Metric=1", "Metric=")},
        {"flag with text after the number", replaced(good, "OCDeco=1", "OCDeco=1x")},
        {"word for the GF switch", replaced(good, "GF=1,", "GF=on,")},
        {"rate of 0", replaced(good, " 6: 9,", " 6: 0,")},
        {"negative rate", replaced(good, " 40: 18,", " 40:-18,")},
        {"rate row without a rate", replaced(good, " 40: 18,", " 40,")},
        {"stop spacing of 0", replaced(good, "StepSize= 3", "StepSize= 0")},
        {"number beyond a Single", replaced(good, "RMV= 19.5", "RMV= 1E+39")},
        {"time beyond 16 bits", replaced(good, "TimeToHeight= 45", "TimeToHeight= 40000")},
        {"binary junk", junk},
        {"junk after a good start", good.substr(0, 200) + junk},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectRefused(c.bytes, imperialSample());
    }
    // A fresh record has no rate rows to keep, so a block without rows leaves it unusable.
    expectRefused(block("StepSize= 3\r\nAscendRates= 0: 10,\r\n"), TemplateRec{});
    expectRefused(block("AscendRates= 0: 10,\r\nDescendRates= 0: 20,\r\n"), TemplateRec{});

    // A profile reader reading a block from its own file gets the error itself.
    TemplateRec t = metricSample();
    EXPECT_THROW(readBlock(block("Metric=\r\n"), t), RuntimeError);
    EXPECT_EQ(blockText(t), blockText(metricSample()));
}

TEST_F(TemplateFiles, SettingsNoDiveCanHaveAreRefusedSayingWhatIsWrong)
{
    // Each of these once loaded as a template and then froze or crashed the first
    // computation of the dive it was loaded into.
    ScopedEnv install("DOLV_INSTALL_DIR", DOLV_SOURCE_DIR);
    std::string english = kDefaultLanguageFile;
    ASSERT_EQ(LoadLanguageDll(english), 1);
    const std::string good = blockText(metricSample());
    const struct {
        const char *what;
        std::string bytes;
        const char *says;
    } cases[] = {
        {"stop spacing below the float resolution", replaced(good, "StepSize= 3", "StepSize= 1E-30"),
         "the step between decompression stops must lie between 0.1 m and 30 m."},
        {"stop spacing just below 0.1 m", replaced(good, "StepSize= 3", "StepSize= .09"), "between 0.1 m and 30 m."},
        {"a last stop of 900 m", replaced(good, "LastStop= 6", "LastStop= 900"),
         "the last stop must lie between the surface and 30 m."},
        {"a step of 500 m", replaced(good, "StepSize= 3", "StepSize= 500"), "between 0.1 m and 30 m."},
        {"ascent bands falling", replaced(good, " 6: 9,", " 26: 9,"), "in the table \"Ascent rates\" no band"},
        {"negative last stop", replaced(good, "LastStop= 6", "LastStop=-3"), "between the surface and 30 m."},
        {"a crawling ascent", replaced(good, " 6: 9,", " 6: 1E-30,"),
         "every ascent and descent rate must lie between 0.1 m/min and 100 m/min."},
        {"a descent faster than any diver", replaced(good, " 40: 18,", " 40: 1000,"), "between 0.1 m/min and 100 m/min."},
        {"surface pressure of 100 bar", replaced(good, "EndPressure= .8176", "EndPressure= 100"),
         "the surface pressure must lie between 0.2 bar and 1.2 bar."},
        {"no pressure at the start", replaced(good, "StartPressure= 1.0147", "StartPressure= 0"),
         "between 0.2 bar and 1.2 bar."},
        {"number beyond a Single", replaced(good, "RMV= 19.5", "RMV= 1E+39"),
         "The setting \"RMV\" holds a number too large for any dive: 1E+39"},
        {"a rate beyond a Single", replaced(good, " 6: 9,", " 6: 9E+99,"),
         "The setting \"AscendRates\" holds a number too large for any dive"},
        // Within a Single, yet the dive's gas use, ppO2 or OTU would be infinite or NaN.
        {"a gas of 1E+30 % oxygen", replaced(good, "Oxygen: 100/", "Oxygen: 1E+30/"),
         "each part of the gas \"Oxygen\" must lie between 0 and 100 %"},
        {"a mix of more than 100 %", replaced(good, "Deco 50: 50/ 50/", "Deco 50: 50/ 60/"), "\"Deco 50\""},
        {"an RMV of 3.4E+38", replaced(good, "RMV= 19.5", "RMV= 3.4E+38"),
         "RMV must lie between 0 l/min and 200 l/min."},
        {"a set-point of -2.5E+38", replaced(good, "Setpoint= 1.3", "Setpoint=-2.5E+38"),
         "Set-point must lie between 0 bar and 3 bar."},
        {"68 % nitrogen typed as 6.8", replaced(good, "Deco 50: 50/ 50/", "Deco 50: 50/ 5/"), "make 100 %."},
        {"a name no switch gives back", replaced(replaced(good, "Deco 50:", "EAN,50:"), ":Deco 50,", ":EAN,50,"),
         "The gas name \"EAN,50\" cannot be kept in dive and template files"},
        {"a minimum ppO2 above the maximum", replaced(good, "MinPPO2= .16", "MinPPO2= 1.5"),
         "Minimum ppO2 must be at least 0 bar and below 1.4 bar (Maximum ppO2)."},
        {"gradient factors of 50", replaced(good, "GF=1, .85, .35", "GF=1, 50, 50"),
         "GF high (at the surface) must be greater than 0 and at most 1.2."},
        {"GF low above GF high", replaced(good, "GF=1, .85, .35", "GF=1, .85, .9"),
         "GF low (at the first stop) must be greater than 0 and at most 0.85 (GF high (at the surface))."},
        {"coming from 800 km below the sea", replaced(good, "StartAltitude=-12.5", "StartAltitude=-800000"),
         "Altitude (Start of the dive) must lie between -1458 m and 13987 m."},
        {"a climb to 12000 m to dive at sea level", replaced(good, "StartAltitude=-12.5", "StartAltitude= 12000"),
         "(Start of the dive) is 12000 m, where the surface pressure is 0.2518713 bar, but the surface pressure given"},
        {"adapted, at 0.2 bar",
         replaced(replaced(good, "StartPressure= 1.0147", "StartPressure= .2"), "=0\r\nTime", "=1\r\nTime"),
         "is -12.5 m, where the surface pressure is 1.01472 bar, but the surface pressure given with it is 0.2 bar."},
        {"at 3000 m with 1 atm", replaced(good, "EndPressure= .8176", "EndAltitude= 3000\r\nEndPressure= 1.01325"),
         "(End of the dive) is 3000 m, where the surface pressure is 0.7154547 bar, but the surface pressure given"},
        {"oxygen at any depth", replaced(good, " 6:Oxygen,", " 1E+30:Oxygen,"),
         "the depth of the switch to Oxygen must lie between 0 m and 1000 m."},
        {"a name that ends the block", replaced(good, "=My Trimix.tpl", "=End Template Block"),
         "The template name \"End Template Block\" cannot be kept"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectRefused(c.bytes, imperialSample());
        EXPECT_NE(refusal_.find(c.says), std::string::npos) << refusal_;
    }

    // In feet the bounds are feet; at the bounds themselves the block is a dive.
    TemplateRec edge = imperialSample();
    edge.StepSize = 1;
    edge.LastStop = 100;
    edge.AscendRates = {rate(0, 0.3f), rate(20, 330)};
    edge.StartPressure = 1.2f; // at the lowest altitude
    edge.EndPressure = 0.3139f; // at the highest
    edge.StartAltitude = -5156, edge.EndAltitude = 32767;
    edge.GFOn = true, edge.GFHigh = edge.GFLow = 1.2f; // as written under the very-high switch
    EXPECT_NO_THROW(readBlock(blockText(edge)));
    edge.GFOn = false, edge.GFHigh = 50;
    EXPECT_EQ(readBlock(blockText(edge)).GFHigh, 50) << "factors that are off are kept";
    edge.StepSize = 0.9f;
    expectRefused(blockText(edge), metricSample());
    EXPECT_NE(refusal_.find("between 1 ft and 100 ft."), std::string::npos) << refusal_;
    FreeLanguageDll();
}

// Seven digits moved the surface pressure of half of all whole altitudes by a bit on
// reopening, enough to move a stop by a minute (1821 m, 36 m for 45 min). Every whole
// altitude of the bounds comes back whole, in metres and in feet; its pressure with three
// decimals opens too, and a pressure a little further off does not.
TEST_F(TemplateFiles, EveryWholeAltitudeComesBackBitForBit)
{
    for (const bool metric : {true, false}) {
        TemplateRec t = metric ? metricSample() : imperialSample();
        const int low = int(metric ? DiveBounds::kMinAltitudeMetric : DiveBounds::kMinAltitudeImperial),
                  high = int(metric ? DiveBounds::kMaxAltitudeMetric : DiveBounds::kMaxAltitudeImperial);
        for (int altitude = low; altitude <= high; altitude += 2) { // the start altitude and the next one up
            t.StartAltitude = float(altitude);
            t.EndAltitude = float(std::min(altitude + 1, high));
            t.StartPressure = AltitudeToPressure(t.StartAltitude, metric);
            t.EndPressure = AltitudeToPressure(t.EndAltitude, metric);
            const TemplateRec back = readBlock(blockText(t));
            ASSERT_TRUE(back == t && SameBits(back.StartPressure, t.StartPressure) &&
                        SameBits(back.EndPressure, t.EndPressure)) << altitude; // whole altitudes: == is bits
            t.StartPressure = CSng(Val(FormatFixed(t.StartPressure, 3)));
            t.EndPressure = CSng(Val(FormatFixed(t.EndPressure, 3)));
            ASSERT_EQ(DiveBounds::SettingsProblem(t), "") << altitude;
            t.StartPressure = AltitudeToPressure(t.StartAltitude, metric) + 0.0006f;
            ASSERT_NE(DiveBounds::SettingsProblem(t), "") << altitude;
        }
    }
}

// A list written deep first never reached the oxygen behind EAN50: it is stored by depth.
TEST_F(TemplateFiles, SwitchesAreStoredShallowFirst)
{
    TemplateRec deepFirst = metricSample();
    std::swap(deepFirst.GasChanges[0], deepFirst.GasChanges[1]);
    EXPECT_EQ(readBlock(blockText(deepFirst)), metricSample());
}

// ---- saving ----

TEST_F(TemplateFiles, AnEmptyPathSavesAndLoadsTheDefaultTemplate)
{
    ScopedEnv install("DOLV_INSTALL_DIR", tmp_.path().toStdString());
    fs::create_directory(dir_ + "template");
    SaveTemplate(metricSample(), "");
    EXPECT_EQ(gTemplateFile, dir_ + "template/Default.tpl");
    EXPECT_EQ(FileBytes(gTemplateFile), blockText(metricSample()));

    TemplateRec t;
    ASSERT_TRUE(LoadTemplate(t, "", ""));
    EXPECT_EQ(t.Directory + "Default.tpl", gTemplateFile);
    EXPECT_EQ(t.Templatename, "My Trimix.tpl"); // the file's own name line wins
}

TEST_F(TemplateFiles, SavingReplacesTheOldFileWholeOrNotAtAll)
{
    const std::string path = put("Mine.tpl", std::string(10000, 'x'));
    SaveTemplate(imperialSample(), path);
    EXPECT_EQ(FileBytes(path), blockText(imperialSample()));
    EXPECT_EQ(filesInDir(), 1u);

    // A name so long that no temporary name beside it fits the file system's limit:
    // the write fails before anything is renamed, whoever runs the test.
    const std::string longPath = put(std::string(250, 'n') + ".tpl", "old template");
    EXPECT_THROW(SaveTemplate(metricSample(), longPath), RuntimeError);
    EXPECT_EQ(FileBytes(longPath), "old template");

    EXPECT_THROW(SaveTemplate(metricSample(), dir_ + "no such folder/x.tpl"), RuntimeError);
    fs::create_directory(dir_ + "folder.tpl");
    put("folder.tpl/inside", "");
    EXPECT_THROW(SaveTemplate(metricSample(), dir_ + "folder.tpl"), RuntimeError);
    EXPECT_EQ(filesInDir(), 3u); // no temporary file left behind
}

// ---- the shipped default ----

TEST_F(TemplateFiles, TheShippedDefaultReadsAndWritesBackByteForByte)
{
    ScopedEnv install("DOLV_INSTALL_DIR", DOLV_SOURCE_DIR);
    FakeEngineHost host;
    TemplateRec t;
    ASSERT_TRUE(LoadTemplate(t, "", ""));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(blockText(t), FileBytes(DefaultTemplatePath()));

    // Data typos a diver would pay for: every gas adds up to 100 %, the rows go deeper.
    for (const GasRecord &gas : t.Gases)
        EXPECT_FLOAT_EQ(gas.O2 + gas.N2 + gas.He, 100) << gas.Name;
    for (const auto *rates : {&t.AscendRates, &t.DescendRates})
        for (size_t i = 1; i < rates->size(); ++i)
            EXPECT_GT((*rates)[i].Depth, (*rates)[i - 1].Depth);
    EXPECT_LE(t.GFLow, t.GFHigh);
    EXPECT_LT(t.MinPPO2, t.MaxPPO2);
    EXPECT_LE(t.MaxPPO2, t.DecoPPO2);
    EXPECT_EQ(t.EndPressure, AltitudeToPressure(t.EndAltitude, t.Metric)) << "as the settings dialog stores it";
    EXPECT_EQ(PressureToAltitude(t.EndPressure, t.Metric), t.EndAltitude);
}

} // namespace
