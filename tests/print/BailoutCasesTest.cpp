// Where the rows of a bail-out table fall, and the settings of each case.

#include "print/BailoutCases.h"

#include <gtest/gtest.h>

TEST(BailoutCases, RowsAtEveryIntervalAndAtTheEndOfTheDiversPart)
{
    struct Case {
        float end, interval;
        std::vector<float> times;
    };
    const Case cases[] = {
        {24, 7, {7, 14, 21, 24}}, // the last minutes of the bottom get their row
        {24, 6, {6, 12, 18, 24}}, // an exact multiple gets no second row at the end
        {24, 99, {24}},           // an interval longer than the dive: the end only
        {25.5f, 5, {5, 10, 15, 20, 25, 25.5f}},
        {0, 5, {}}, // no end of the diver's part flagged: no rows
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.end << " / " << c.interval);
        EXPECT_EQ(BailoutTimes(c.end, c.interval), c.times);
    }
    // The bar counts the waypoint steps of every row and always has a range.
    EXPECT_EQ(BailoutProgressMaximum(24, 7, 10), 40);
    EXPECT_EQ(BailoutProgressMaximum(0, 7, 10), 1);
}

TEST(BailoutCases, EachCaseLeavesOutOneSwitch)
{
    TemplateRec dive;
    dive.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21},
                       GasChangeRecord{"Trimix 35/25", 35, 40, 25, 36}};
    TemplateRec c;
    CopyTemplateWithoutGasChange(dive, c, 1);
    ASSERT_EQ(c.GasChanges.size(), 2u);
    EXPECT_EQ(c.GasChanges[1].Name, "Trimix 35/25");
    EXPECT_EQ(dive.GasChanges.size(), 3u) << "the dive's own list untouched";

    dive.GasChanges.resize(1);
    CopyTemplateWithoutGasChange(dive, c, 0);
    EXPECT_TRUE(c.GasChanges.empty()) << "without its only switch: no switches";
}
