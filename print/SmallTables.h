#pragma once
// One decompression table drawn small into a cell of a table page: a column per bottom
// time and a line per stop depth, with the stop times, the gases and the total run
// times. A landscape table page holds a strip of dive information on its left (1 to
// 6 cm) and six cells of 7.4 x 9.5 cm to the right of it, outlined by cutting marks; a
// table takes one cell, or two or three when it is too wide or too tall for one.
//
// Everything printed comes from the profiles and from the dive the job was started for
// (SetSmallTableDive, done by StartTablePrint): never from the active window.

#include "engine/ClassProfile.h"
#include "print/TablePrintModule.h"

#include <QString>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// The table's texts: Grid[a][b], column a = 0 the gases, 1 the depths, 2 unused, 3 + i
// profile i + 1 (line 0 its bottom time, lines below its stop times); line b = 0 the
// headings, 1 the bottom, then one line per gas switch at the bottom and per stop or gas
// switch of the ascent.
using TableTextGrid = std::vector<std::vector<QString>>;

struct SmallTableGrid {
    TableTextGrid G;
    int16_t Lines = 0;         // m: lines 0 .. m - 1 are drawn
    int16_t FirstStopLine = 2; // the first line below the bottom (and a switch there)
};

// The index of the table's last line: the bottom line and a gas switch at the bottom of
// the last (longest) profile, then one line per depth any row's ascent stops or switches
// gas at (the last profile's lines, the depths of other rows it lacks added by depth).
int16_t CountTableStops(const std::vector<ClassProfile> &Profiles);
// The first line j = 0 .. Last whose depth text Grid[1][j] is Key; -1 when none is or
// Last < 0. The second form looks from line First on.
int16_t FindTableRow(const TableTextGrid &Grid, const QString &Key, int16_t Last);
int16_t FindTableRow(const TableTextGrid &Grid, const QString &Key, int16_t First, int16_t Last);
// Builds the texts of one table from Profiles[1..n] (Profiles[0] is not printed). The
// bottom of each column is the last waypoint of its diver's own part, its stops the
// waypoints after it; the bottom lines follow the last (longest) profile, the lines
// below it hold the stop depths of every row, deepest first, so each row prints all its
// stops (the rows of a bail-out table end at different depths).
SmallTableGrid BuildTableGrid(const std::vector<ClassProfile> &Profiles);

// A gas as the tables write it: O2 % / He %, e.g. 21/35.
QString GasMixText(float O2, float He);

// The title of a table: gradient factors (or "GF " and "off"), the bottom gas O2/He,
// then "  OC" for open circuit or "  RB" for a rebreather.
QString SmallTableTitle(const TemplateRec &Settings, const ClassProfile &Last);

// Which cells of the current page are taken: [row][column], rows 0 and 1, columns 0-2.
// Furnished: the page's cutting marks and information strip are drawn.
struct SmallTableLayout {
    std::array<std::array<bool, 3>, 2> Taken{};
    bool Furnished = false;
    void Clear()
    {
        Taken = {};
        Furnished = false;
    }
};
extern SmallTableLayout gSmallTableLayout;
void ClearSmallTableLayout();

// Where a table of width W and height H (cm) goes on the page.
struct TablePlace {
    bool NewPage = false; // the table starts a new page (its cells cleared first)
    int16_t Row = 0, Column = 0;
    float Left = 0, Top = 0;
};
// Places a table in the first free cell it fits from, marking the cells it covers:
// one, two or three cells wide by its width (SmallTableCells), two cells high (top row
// only) when taller than one cell. Cells it skips are marked too, so tables stay in
// order on a page. No
// room left: a new page, the table in its top-left cell. Tables wider than three cells
// are split before they get here (SmallTableColumnGroups); one that comes anyway starts
// a page of its own at the left edge of the cells.
TablePlace PlaceSmallTable(SmallTableLayout &Layout, float W, float H);
// How many cells across a table W cm wide takes: 1 to 3, 4 when it fits none.
int SmallTableCells(float W);
// The gas and depth columns left of the bottom times, and the narrowest bottom-time
// column (cm). A table is drawn and placed kFirstColumns + the sum of its column widths
// wide; each column is as wide as its widest text plus a little, at least kMinColumn.
constexpr float kFirstColumns = 1.6f;
constexpr float kMinColumn = 0.5f;
// The width of n columns of the narrowest, and the height placement counts for m lines
// (cm): the table with its run-time row and a little below.
float SmallTableWidth(int n);
float SmallTableHeight(int m);
// The most lines (the heading line counted) one part of a table has: two cells high.
// A taller table goes on in further parts, each under its own title band and headings.
constexpr int kMaxTableLines = 35;
// The most bottom-time columns the table generator makes: the narrowest columns of a
// table that wide still fit three cells (wider texts split the table, SmallTableColumnGroups).
constexpr int MaxTableColumns = 40;
static_assert(kFirstColumns + kMinColumn * MaxTableColumns <= 3 * 7.4f);
// The columns [from, to) of each table a table of these column widths is printed as:
// the fewest tables of about equal numbers of columns that each fit three cells.
std::vector<std::pair<int, int>> SmallTableColumnGroups(const std::vector<float> &Widths);

// The dive the tables of the job are printed for.
void SetSmallTableDive(const TableDive &Dive);
const TableDive &SmallTableDive();

// How a rate table of the information strip is laid out: its lines from kRateTop,
// kRateLine apart, at most kRateRowsPerColumn to a column so the last stays above the
// foot of the cells; two columns when one does not hold them, and when two do not
// either, the last line says how many bands go on (More) instead of a band.
constexpr float kRateTop = 8.5f;
constexpr float kRateLine = 0.4f;
constexpr int kRateRowsPerColumn = 28;
static_assert(kRateTop + kRateLine * kRateRowsPerColumn <= 1.0f + 2 * 9.5f);
struct RateStripLayout {
    int Columns = 1; // 1 or 2
    int Rows = 0;    // lines of the tallest column
    int Shown = 0;   // bands written
    int More = 0;    // bands left out, named on the last line
};
RateStripLayout LayRateStrip(size_t bands);

// Draws one table into the next free cell (a new page when the page is full), with the
// page's information strip.
void PrintSmallTable(const std::vector<ClassProfile> &Profiles, bool BailoutHeader);
// The information strip left of the cells: heading, logo, printed by and date, the
// settings block and the ascent and descent rate tables.
void PrintSmallTableHeader(bool BailoutHeader);
