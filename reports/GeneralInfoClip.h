#pragma once
// The dive information as plain text for the clipboard: what the dive-information window
// shows for one dive, laid out in lines of about 80 columns a diver pastes into a log or
// a message. Every line ends in CR LF.
//
// The text is made from the window's shown texts (GeneralInfoTexts), never from the dive
// data, so the copy always says what the diver saw. The builders append to the text they
// are given and return it; none of them depends on a window.

#include <QString>
#include <QStringList>

#include <vector>

// Appends a line of 81 "_", `title` centred (ClipCenter) and another line of 81 "_".
QString &ClipTitleBox(QString &text, const QString &title);
// Appends `line` centred in 80 columns: a = (80 - length) / 2 rounded half to even,
// a + 1 blanks before it and 81 - a after it (a line too long for that gets none before
// it), CR LF.
QString &ClipCenter(QString &text, const QString &line);
// Appends `line` and CR LF.
QString &ClipLine(QString &text, const QString &line);
// Appends three parts starting in columns 1, 20 and 52: a part too long for its column
// gets no blanks after it and pushes the rest to the right. CR LF.
QString &ClipKeyValue(QString &text, const QString &first, const QString &second, const QString &third);
// Appends one table row of 13 cells of widths 6, 5, 7, 4, 3, 5, 5, 5, 3, 7, 6, 6, 4, each
// cell followed by one blank and padded to its width (79 columns when every cell fits);
// a missing cell is empty, a longer one pushes the rest of the row right. No line end.
QString &ClipTableRow(QString &text, const QStringList &cells);

// What the window shows for one dive, as the copy takes it.
struct GeneralInfoTexts {
    QString caption;         // the shown dive's window caption
    QString surfaceInterval; // Label17
    QString model, units, apparatus;
    QString step, depthConservatism, fromAltitude;
    QString lastStop, gfConservatism, startPressure;
    bool gfShown = false; // the gradient factors' labels are shown
    QString gfLow, gfHigh;
    QString toAltitude, endPressure;
    QString o2Narcotic; // Label15
    // Data rows of the grids: the profile's 13 columns (every column but the waypoint's
    // kind), the stops' 5, the gas consumption's 2.
    std::vector<QStringList> profileRows, stopRows, gasRows;
};

// The whole copy: the title box and settings block, then the profile, stop and gas tables.
QString ClipboardReport(const GeneralInfoTexts &shown);
