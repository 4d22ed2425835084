// The flex grid: the heading row, the flat cell index, widths in twips, the current cell
// and the sort that reads numbers as numbers.

#include "platform/FlexGrid.h"

#include "engine/EngineGlobals.h"
#include "engine/RuntimeError.h"

#include <gtest/gtest.h>

#include <QHeaderView>

namespace {

QStringList column(const FlexGrid &g, int col)
{
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r)
        out << g.TextMatrix(r, col);
    return out;
}

} // namespace

TEST(FlexGrid, RowZeroIsTheHeadingAndCellsHaveOneFlatIndex)
{
    FlexGrid g;
    EXPECT_EQ(g.Rows(), 1) << "a new grid is its heading row";
    g.SetCols(3);
    g.SetRows(4);
    EXPECT_EQ(g.rowCount(), 3) << "three data rows in the table under the header";
    g.SetTextMatrix(0, 1, QStringLiteral("Rate"));
    EXPECT_EQ(g.horizontalHeaderItem(1)->text(), "Rate");
    g.SetTextMatrix(2, 2, QStringLiteral("x"));
    EXPECT_EQ(g.TextArray(8), "x");
    g.SetTextArray(4, QStringLiteral("y")); // row 1, column 1
    EXPECT_EQ(g.TextMatrix(1, 1), "y");
    EXPECT_EQ(g.TextMatrix(3, 0), "") << "new cells are empty";

    EXPECT_THROW(g.TextMatrix(4, 0), RuntimeError);
    EXPECT_THROW(g.TextArray(12), RuntimeError);
    EXPECT_THROW(g.RemoveItem(0), RuntimeError) << "the heading stays";

    g.SetRows(0);
    EXPECT_EQ(g.Rows(), 1) << "never fewer rows than the heading";
    EXPECT_EQ(g.TextMatrix(0, 1), "Rate");

    // Without a fixed row every row is data and no header shows.
    FlexGrid summary;
    summary.SetFixedRows(0);
    summary.SetCols(4);
    summary.SetRows(6);
    summary.SetTextArray(21, QStringLiteral("v"));
    EXPECT_EQ(summary.item(5, 1)->text(), "v");
    EXPECT_TRUE(summary.horizontalHeader()->isHidden());
}

TEST(FlexGrid, WidthsAreTwipsAndTheCurrentCellFollowsCodeAndDiver)
{
    FlexGrid g;
    g.SetRows(4);
    g.SetColWidth(0, 1200);
    EXPECT_EQ(g.columnWidth(0), 80);
    EXPECT_EQ(g.ColWidth(0), 1200);
    g.resize(200, 150);
    g.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(g.ClientWidth(), (200 - 2 * g.frameWidth()) * 15);

    g.SetRow(2);
    g.SetCol(1);
    EXPECT_EQ(g.currentRow(), 1);
    EXPECT_EQ(g.currentColumn(), 1);
    g.SetRowSel(3);
    EXPECT_EQ(g.RowSel(), 3);
    EXPECT_EQ(g.selectedRanges().size(), 1);
    g.setCurrentCell(0, 0); // as the diver's click does
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.RowSel(), 1);
    g.SetRows(2);
    g.SetRow(1);
    g.RemoveItem(1);
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.Row(), 0) << "the current row stays within the grid";
}

TEST(FlexGrid, SortComparesNumbersAsNumbersAndMovesWholeRows)
{
    FlexGrid g;
    g.SetRows(7);
    const QStringList depths = {"21", "1000000", "6", "Nitrox", "9", "air"};
    for (int r = 1; r < g.Rows(); ++r) {
        g.SetTextMatrix(r, 0, depths[r - 1]);
        g.SetTextMatrix(r, 1, QString::number(r));
    }
    g.CellItem(3, 1)->setForeground(Qt::red); // the "6" row
    g.SetTextMatrix(0, 0, QStringLiteral("Depth"));
    g.SetCol(0);
    g.Sort();
    EXPECT_EQ(column(g, 0), QStringList({"6", "9", "21", "1000000", "air", "Nitrox"}));
    EXPECT_EQ(column(g, 1), QStringList({"3", "5", "1", "2", "6", "4"}));
    EXPECT_EQ(g.CellItem(1, 1)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(g.TextMatrix(0, 0), "Depth") << "the heading is not sorted";

    // Numbers in the user's notation: under German separators "2,5" lies between 2 and 10.
    const std::string dec = gDecimalSeparator, thou = gThousandSeparator;
    gDecimalSeparator = ",";
    gThousandSeparator = ".";
    EXPECT_TRUE(FlexGrid::SortsBefore(QStringLiteral("2,5"), QStringLiteral("10")));
    EXPECT_FALSE(FlexGrid::SortsBefore(QStringLiteral("10"), QStringLiteral("2,5")));
    gDecimalSeparator = dec;
    gThousandSeparator = thou;

    // Equal keys keep their order; an empty cell is text, after the numbers.
    FlexGrid h;
    h.SetRows(5);
    const QStringList keys = {"3", "", "3", "-1"};
    for (int r = 1; r < h.Rows(); ++r) {
        h.SetTextMatrix(r, 0, QString::number(r));
        if (!keys[r - 1].isEmpty())
            h.SetTextMatrix(r, 1, keys[r - 1]);
    }
    h.SetCol(1);
    h.Sort();
    EXPECT_EQ(column(h, 0), QStringList({"4", "1", "3", "2"}));
}
