#pragma once
// The print job of generated decompression tables and bail-out tables: a new spool job,
// pages divided by cutting marks into six cells, one table (the computed profiles of one
// depth, or of one bail-out case) laid into the next free cell, and the preview at the
// end. The tables are drawn from the profiles themselves and from the dive the job was
// made for, which the caller names when the job starts: the layout reads no active
// window, so a run keeps printing for its own dive whatever window is active.
//
// Calling order:
//     StartTablePrint(dive);                 // once
//     PrintDepthTable(profiles, false);       // per table: profiles[1..n] are its columns
//     EndTablePrint();                        // once: the preview, captioned text 6132

#include "engine/ClassProfile.h"
#include "engine/SettingsRecord.h"

#include <QString>

#include <cstdint>
#include <vector>

// The dive a table job prints for: the settings the tables were computed with (units,
// gases, rate tables, template name for the information strip), its profile number and
// the caption of its window (bail-out tables head their strip with the text before " [").
struct TableDive {
    int16_t ProfileNumber = 0;
    TemplateRec Settings;
    QString Caption;
};

void StartTablePrint(const TableDive &dive);
void NewTablePage();
void DrawTableFrame();
// The cutting marks, one shape each, at (x, y) cm: 1 cross, 2 tee opening left, 3 tee
// opening right, 4 tee opening upwards, 5 tee opening downwards, 6 to 9 the corners
// bottom-right, bottom-left, top-left, top-right.
void DrawTableLines1(float x, float y);
void DrawTableLines2(float x, float y);
void DrawTableLines3(float x, float y);
void DrawTableLines4(float x, float y);
void DrawTableLines5(float x, float y);
void DrawTableLines6(float x, float y);
void DrawTableLines7(float x, float y);
void DrawTableLines8(float x, float y);
void DrawTableLines9(float x, float y);
// One table: profiles[0] is not printed, profiles[1..n] are its bottom-time columns in
// order. bailoutHeader selects the bail-out heading of the page's information strip.
void PrintDepthTable(const std::vector<ClassProfile> &profiles, bool bailoutHeader);
void EndTablePrint();
