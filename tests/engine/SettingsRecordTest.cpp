// Dive settings: the deep copy of a template and the gas look-up.

#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/TemplateModule.h"

#include <gtest/gtest.h>

namespace {

TemplateRec withGases(std::initializer_list<const char *> names)
{
    TemplateRec t;
    for (const char *n : names)
        t.Gases.push_back(GasRecord{n, 50, 50, 0, 0});
    return t;
}

TEST(Settings, NewTemplateHoldsAirOnly)
{
    TemplateRec t;
    ASSERT_EQ(t.Gases.size(), 1u);
    EXPECT_EQ(t.Gases[0].Name, "Air");
    EXPECT_EQ(t.Gases[0].O2, 21);
    EXPECT_EQ(t.Gases[0].N2, 79);
    EXPECT_EQ(t.Gases[0].He, 0);
}

TEST(Settings, CopyTemplateGivesAnIndependentCopyOfTheSameLength)
{
    TemplateRec src = withGases({"EAN32", "Tx 18/45", "O2"});
    src.Metric = true;
    src.StepSize = 3;
    src.GFLow = 0.3f;
    src.GFHigh = 0.7f;
    src.Templatename = "Trimix.tpl";
    src.GasChanges.push_back(GasChangeRecord{"EAN50", 50, 50, 0, 21});
    src.AscendRates.push_back(RateRecord{1, 2, 10, 0});
    src.DescendRates.push_back(RateRecord{0, 0, 20, 0});

    TemplateRec dst = withGases({"a", "b", "c", "d", "e", "f"});
    dst.AscendRates.resize(5);
    CopyTemplate(src, dst);

    ASSERT_EQ(dst.Gases.size(), 4u);
    EXPECT_EQ(dst.Gases[0].Name, "Air");
    EXPECT_EQ(dst.Gases[3].Name, "O2");
    ASSERT_EQ(dst.AscendRates.size(), 1u);
    EXPECT_EQ(dst.AscendRates[0].Rate, 10);
    ASSERT_EQ(dst.GasChanges.size(), 1u);
    EXPECT_EQ(dst.GasChanges[0].Name, "EAN50");
    EXPECT_EQ(dst.GasChanges[0].Depth, 21);
    EXPECT_EQ(dst.GasChanges[0].O2, 50);
    EXPECT_TRUE(dst.Metric);
    EXPECT_EQ(dst.GFLow, 0.3f);
    EXPECT_EQ(dst.Templatename, "Trimix.tpl");

    dst.Gases[1].Name = "changed";
    dst.Templatename = "other";
    EXPECT_EQ(src.Gases[1].Name, "EAN32");
    EXPECT_EQ(src.Templatename, "Trimix.tpl");
}

TEST(Settings, FindGasIndexIsExactAndFallsBackToAir)
{
    TemplateRec t = withGases({"EAN32", "Tx 18/45", "EAN32"});
    EXPECT_EQ(FindGasIndex("EAN32", t), 1);   // the first of two
    EXPECT_EQ(FindGasIndex("Tx 18/45", t), 2);
    EXPECT_EQ(FindGasIndex("ean32", t), 0);   // case counts
    EXPECT_EQ(FindGasIndex("air", t), 0);     // Air only by the fallback
    EXPECT_EQ(FindGasIndex("", t), 0);
}

TEST(Settings, ResetLeavesTheDefaultTemplateAlone)
{
    gSettings.resize(4);
    gSettings[2].SlotFree = true;
    ResetEngineGlobals();
    ASSERT_EQ(gSettings.size(), 1u);
    EXPECT_EQ(gSettings[0].TemplateName, "Default");
    EXPECT_EQ(gSettings[0].PrevProfile, -1);
}

} // namespace
