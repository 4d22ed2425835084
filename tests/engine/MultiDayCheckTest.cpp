// The multi-day check: which surface intervals count, and the numbers the diver is shown.

#include "engine/ClassProfile.h"
#include "engine/ClassRGBMMultiDay.h"
#include "tests/support/FakeEngineHost.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

ClassProfile profileOf(const std::vector<std::pair<float, float>> &depthAndTime)
{
    ClassProfile p;
    for (const auto &[depth, time] : depthAndTime) {
        p.NewWayPoint();
        p.setDepth(p.GetLength(), depth);
        p.SetSegmentTime(p.GetLength(), time);
    }
    return p;
}

std::string message(const char *cum, const char *prev, const char *maxDepth, const char *curDepth)
{
    return std::string("Cum. Surf. Time = ") + cum + "\r\nPrevious Surf. Time = " + prev +
           "\r\nMAXDEPTH = " + maxDepth + "\r\nCURDEPTH = " + curDepth + "\r\n";
}

TEST(MultiDayCheck, ShowsTheSurfaceTimesAndDepths)
{
    const struct {
        const char *name;
        std::vector<std::pair<float, float>> points;
        std::string expected;
    } cases[] = {
        // The ascent that ends at the surface counts as a surface interval too, so the
        // deepest depth "before" is the 0 between the two surface waypoints.
        {"two surface waypoints", {{30, 2}, {30, 20}, {0, 3}, {0, 60}, {20, 2}, {20, 20}},
         message("63", "60", "0", "20")},
        {"dive, interval, dive", {{25.5f, 20}, {0, 120}, {12, 30}}, message("120", "120", "26", "12")},
        {"two intervals add up", {{30, 20}, {0, 60}, {20, 30}, {0, 100.5f}, {10, 20}},
         message("161", "101", "20", "10")},
        {"short surface waypoints do not count", {{30, 20}, {0, 60}, {20, 30}, {0, 0.4f}, {0, 0.5f}, {10, 20}},
         message("60", "60", "30", "20")},
        {"no surface interval", {{30, 20}, {30, 10}, {5, 3}}, ""},
        {"two days or more", {{30, 20}, {0, 2880}, {12, 30}}, ""},
        {"ending at the surface", {{30, 20}, {0, 60}}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeEngineHost host;
        ClassRGBMMultiDay().checkNeed(profileOf(c.points));
        if (c.expected.empty()) {
            EXPECT_TRUE(host.boxes.empty());
            continue;
        }
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].prompt, c.expected);
        EXPECT_EQ(host.boxes[0].buttons, vbOKOnly);
        EXPECT_EQ(host.boxes[0].title, "RGBMinfo");
    }
}

} // namespace
