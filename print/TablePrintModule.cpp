#include "print/TablePrintModule.h"

#include "platform/LocaliseForm.h"
#include "print/PrintPreview.h"
#include "print/SmallTables.h"

namespace {

constexpr float kArm = 0.25f; // length of a cutting mark's arm (cm)

// The cutting-mark grid: the corners of three cells of 7.4 cm across and two of 9.5 cm
// down, right of the information strip.
constexpr float kColumns[] = {6.0f, 13.4f, 20.8f, 28.2f};
constexpr float kRows[] = {1.0f, 10.5f, 20.0f};

// One mark: a vertical rule reaching up and/or down from (x, y), then a horizontal one
// reaching left and/or right. A rule is a box outline of no width or height.
void mark(float x, float y, bool up, bool down, bool leftArm, bool rightArm)
{
    PrintBoxOutline(x, up ? y - kArm : y, x, down ? y + kArm : y);
    PrintBoxOutline(leftArm ? x - kArm : x, y, rightArm ? x + kArm : x, y);
}

} // namespace

void DrawTableLines1(float x, float y) { mark(x, y, true, true, true, true); }    // cross
void DrawTableLines2(float x, float y) { mark(x, y, true, true, true, false); }   // tee to the left
void DrawTableLines3(float x, float y) { mark(x, y, true, true, false, true); }   // tee to the right
void DrawTableLines4(float x, float y) { mark(x, y, true, false, true, true); }   // tee upwards
void DrawTableLines5(float x, float y) { mark(x, y, false, true, true, true); }   // tee downwards
void DrawTableLines6(float x, float y) { mark(x, y, true, false, true, false); }  // bottom-right corner
void DrawTableLines7(float x, float y) { mark(x, y, true, false, false, true); }  // bottom-left corner
void DrawTableLines8(float x, float y) { mark(x, y, false, true, false, true); }  // top-left corner
void DrawTableLines9(float x, float y) { mark(x, y, false, true, true, false); }  // top-right corner

void StartTablePrint(const TableDive &dive)
{
    SetSmallTableDive(dive);
    BeginPrintJob();
    ClearSmallTableLayout();
    NewPrintPage();
}

void NewTablePage()
{
    EndPrintPageSimple(QString(), QString());
    NewPrintPage();
    DrawTableFrame();
}

void DrawTableFrame()
{
    // Top row left to right, then the middle and the bottom row.
    DrawTableLines8(kColumns[0], kRows[0]);
    DrawTableLines5(kColumns[1], kRows[0]);
    DrawTableLines5(kColumns[2], kRows[0]);
    DrawTableLines9(kColumns[3], kRows[0]);
    DrawTableLines3(kColumns[0], kRows[1]);
    DrawTableLines1(kColumns[1], kRows[1]);
    DrawTableLines1(kColumns[2], kRows[1]);
    DrawTableLines2(kColumns[3], kRows[1]);
    DrawTableLines7(kColumns[0], kRows[2]);
    DrawTableLines4(kColumns[1], kRows[2]);
    DrawTableLines4(kColumns[2], kRows[2]);
    DrawTableLines6(kColumns[3], kRows[2]);
}

void PrintDepthTable(const std::vector<ClassProfile> &profiles, bool bailoutHeader)
{
    PrintSmallTable(profiles, bailoutHeader);
}

void EndTablePrint()
{
    EndPrintPageSimple(QString(), QString());
    ShowPrintPreview(GetLangStringQ(6132));
}
