// The one routine that cuts legs at the rate bands, at the edges where its callers
// differ: an ascent that ends on a band depth, above the shallowest band, a descent that
// starts above the first band.

#include "engine/LegBands.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Bands at 0, 6 and 21 (ascent 3, 9, 10 per minute).
const std::vector<RateRecord> kRows = {{0, 0, 3, 0}, {0, 0, 9, 6}, {0, 0, 10, 21}};

std::vector<std::vector<float>> pieces(const LegCut &cut)
{
    std::vector<std::vector<float>> out;
    for (const LegPiece &p : cut.Pieces)
        out.push_back({p.Depth, p.Rate, p.AtBand ? 1.0f : 0.0f});
    return out;
}

using Pieces = std::vector<std::vector<float>>;

} // namespace

TEST(LegBands, AscentToABandDepth)
{
    // Ending in one piece at the rate of the band below (table dives, the rubber band).
    LegCut cut = CutLegAtBands(kRows, 30, 6, false);
    EXPECT_EQ(pieces(cut), (Pieces{{21, 10, 1}, {6, 9, 0}}));
    EXPECT_FALSE(cut.EndedOnShallowestBand);
    // Arriving on the band, then a piece of no length in the band above (the replay).
    cut = CutLegAtBands(kRows, 30, 6, true);
    EXPECT_EQ(pieces(cut), (Pieces{{21, 10, 1}, {6, 9, 1}, {6, 3, 0}}));
    EXPECT_FALSE(cut.EndedOnShallowestBand);
    // To the surface, the shallowest band: the replay's leg ends there.
    cut = CutLegAtBands(kRows, 10, 0, true);
    EXPECT_EQ(pieces(cut), (Pieces{{6, 9, 1}, {0, 3, 1}}));
    EXPECT_TRUE(cut.EndedOnShallowestBand);
    cut = CutLegAtBands(kRows, 10, 0, false);
    EXPECT_EQ(pieces(cut), (Pieces{{6, 9, 1}, {0, 3, 0}}));
    // Inside a band: one piece either way.
    EXPECT_EQ(pieces(CutLegAtBands(kRows, 40, 25, true)), (Pieces{{25, 10, 0}}));
}

TEST(LegBands, AscentIsHeldAtTheShallowestBand)
{
    const std::vector<RateRecord> rows = {{0, 0, 3, 3}, {0, 0, 9, 6}};
    LegCut cut = CutLegAtBands(rows, 10, 0, false);
    EXPECT_EQ(cut.EndDepth, 3);
    EXPECT_EQ(pieces(cut), (Pieces{{6, 9, 1}, {3, 3, 0}}));
    // Starting above the shallowest band there is nothing to travel.
    cut = CutLegAtBands(rows, 2, 0, true);
    EXPECT_TRUE(cut.Pieces.empty());
    EXPECT_TRUE(cut.EndedOnShallowestBand);
}

TEST(LegBands, Descent)
{
    // Descent rates 10 from the surface, 20 from 20 m: a leg ending on a band depth stays
    // in the band above it.
    const std::vector<RateRecord> rows = {{0, 0, 10, 0}, {0, 0, 20, 20}};
    EXPECT_EQ(pieces(CutLegAtBands(rows, 0, 30, false)), (Pieces{{20, 10, 1}, {30, 20, 0}}));
    EXPECT_EQ(pieces(CutLegAtBands(rows, 0, 20, true)), (Pieces{{20, 10, 0}}));
    // From above the first band the first band's rate carries the diver down.
    const std::vector<RateRecord> deep = {{0, 0, 10, 5}, {0, 0, 20, 20}};
    EXPECT_EQ(pieces(CutLegAtBands(deep, 0, 30, false)), (Pieces{{5, 10, 1}, {20, 10, 1}, {30, 20, 0}}));
    // A level leg is one piece; no rows, no pieces.
    EXPECT_EQ(pieces(CutLegAtBands(rows, 25, 25, false)), (Pieces{{25, 20, 0}}));
    EXPECT_TRUE(CutLegAtBands({}, 0, 30, false).Pieces.empty());
}
