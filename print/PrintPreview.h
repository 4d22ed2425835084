#pragma once
// Every printout of DOLV (the dive report, decompression and bail-out tables, the
// blending sheet) is first written as a page description into one spool file, which the
// preview window replays on the screen and the print dialog replays on the printer.
//
// How a printout is made (one job at a time; a new job replaces the previous one):
//
//     BeginPrintJob();                           // a new, empty job beside the spool
//     PrintPageHeader(left, title, right);       // or NewPrintPage() for a page without band
//     PrintTextLeft(1.3f, 4.0f, text, "Arial", 10, 0);   // items, in cm from the top left
//     PrintFilledBox(...); PrintBoxOutline(...); SetPrintForeColor(...); PrintPicture(...);
//     EndPrintPageFooter(t1, t2, t3, right);     // or EndPrintPageSimple(line1, line2)
//     ...                                        // more pages
//     ShowPrintPreview(caption);                 // the job takes the spool's place and
//                                                // the preview shows it, modeless
//
// A job is written into a file of its own beside the spool; only a complete job
// replaces the spool (a rename) and the previous preview. A job stopped or failed on
// the way, or begun again before it was shown, is dropped with its file: the preview
// that was open before it stays, showing its pages from the spool as it was. The job is
// one object, CurrentPrintJob() (print/PrintJob.h); these procedures are calls on it.
//
// Positions and sizes are centimetres on an A4 landscape page (29.7 x 21 cm), x to the
// right and y downwards from the page's top-left corner; a text position is the text's
// top-left corner (the top-right one for a right-aligned text). Font sizes are points.
// Colours are 24-bit RGB values red + 256 x green + 65536 x blue (255 red, 0 black).
//
// The spool file, ShownSpoolPath(), is UTF-8 text with CR LF line ends, one line per
// keyword or argument: "#startpage", "#endpage", "#ForeColor" colour, "#fn" name, "#fs"
// size, "#fb" bold, "#y" twips, "#x" twips, "#txt_l"/"#txt_r"/"#txt_c"/"#txt_VERT" text,
// "#fill" style, "#color" colour, "#line" x1 y1 x2 y2 colour mode, "#img" path x y w h.
// Positions are written in twips (cm x 567), numbers always with "." as decimal point.
// The job's file is held open and buffered while the job writes it; every page end
// writes it out. Pictures are PNG files beside it, named "_$$_" six digits ".tmp"; a job
// dropped takes its pictures with it, a job shown those of the job shown before.
//
// The procedures that write whole lines or pages catch their own errors and show the
// common error box with their place name; the job goes on. The others leave an error
// (a picture that cannot be saved) to their caller.

#include "engine/RuntimeError.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class PrintPrev;

// The preview's zoom: displayed page height over the page height in twips.
extern float gPreviewScale;
// Set by the print dialog's Cancel; the print stops at its next page boundary.
extern bool gPrintCancel;

// The spool "_$$_TEMP.TMP" in the job's temporary folder: the last complete job, which
// the preview and the printer replay.
QString ShownSpoolPath();

// Starts a job: finds the temporary folder, re-seeds the picture names (a name the shown
// job uses is not taken), drops a job never shown with its file and pictures, and opens
// the new job's empty file. A preview shown stays, untouched, until the job is complete;
// a hidden one is closed.
void BeginPrintJob();
// Appends one line (CR LF ended) to the spool file. The first line that cannot be
// written is reported; the job then writes nothing more, counts no pages and shows no
// preview, until the next BeginPrintJob.
void AppendPrintLine(const QString &line);

// A long job is followed while it is written: `watch` is told the pages begun so far
// about ten times a second (the writer's caller may show them and let events run) and
// answers false to stop the job. A stopped job writes nothing more, its file is removed,
// it counts no pages and shows no preview (PrintJobStopped), until the next
// BeginPrintJob; the spool and the preview before it stay as they were. The watch holds
// for the scope's life; a job its writer left unshown when the scope ends is stopped so.
class PrintJobWatchScope {
public:
    explicit PrintJobWatchScope(std::function<bool(int pages)> watch);
    ~PrintJobWatchScope();
    PrintJobWatchScope(const PrintJobWatchScope &) = delete;
    PrintJobWatchScope &operator=(const PrintJobWatchScope &) = delete;
};
// Whether the current job was stopped through its watch.
bool PrintJobStopped();
// As at the program's start: the preview closes, the job being written and the one
// shown go with their files, the zoom and the print's Cancel are as at a start.
void ResetPrintJob();

// "#startpage" alone: a page without the header band (the table printouts).
void NewPrintPage();
// "#startpage" and the grey header band: left text, centred title and right text.
void PrintPageHeader(const QString &leftText, const QString &title, const QString &rightText);
// Two small red lines at the page foot, then the page ends.
void EndPrintPageSimple(const QString &line1, const QString &line2);
// The grey footer band with four texts, then the page ends.
void EndPrintPageFooter(const QString &text1, const QString &text2, const QString &text3,
                        const QString &rightText);

// Colour of the following texts, outlines and lines, across items and pages (black at
// the start of a job).
void SetPrintForeColor(int32_t colour);
// Texts at (x, y) cm. A line break inside the text is written as a blank. `bold` 0 is
// regular, anything else bold.
void PrintTextLeft(float x, float y, const QString &text, const QString &fontName, int16_t fontSize, int16_t bold);
void PrintTextRight(float x, float y, const QString &text, const QString &fontName, int16_t fontSize, int16_t bold);
// Centred on x: measured in its own font in page units; a text that would start left of
// the page edge is left out with message 2223.
void PrintTextCentered(float x, float y, const QString &text, const QString &fontName, int16_t fontSize,
                       int16_t bold);
// A box (x1, y1)-(x2, y2) filled in `colour`; the outline of one in the fore colour (a
// rule is a box of zero width or height).
void PrintFilledBox(float x1, float y1, float x2, float y2, int32_t colour);
void PrintBoxOutline(float x1, float y1, float x2, float y2);
// Saves the picture as a new picture file and places it at (x, y), stretched to
// width x height cm. A picture that cannot be saved throws (error 75) after the
// "#img" line and the file name are written, and fails the job.
void PrintPicture(const QImage &picture, float x, float y, float width, float height);

// How many times the text fits into 10 cm, in the preview's own font (Arial 8.25 pt);
// an empty text is error 11.
int16_t FitCount(const QString &text);
// True when the file's length can be read.
bool FileExists(const QString &path);
// The number at the start of the text with "," read as "." (the text is changed so);
// no number gives 0.
float ValDecimal(QString &text);
// The text before its first NUL, or the whole text.
QString CutAtNul(const QString &text);

// The width of a text in page twips in the given font (name, points, bold), the same on
// every screen and at every zoom.
float SpoolTextWidth(const QString &text, const QString &fontName, float fontSize, bool bold);
// The size, from `size` down to `smallest` points, at which a text in Arial fits `width`
// cm.
int16_t SizeWithin(const QString &text, int16_t size, int16_t smallest, float width, bool bold);

// The preview window, loaded hidden when it is not loaded; null only before a
// QApplication exists.
PrintPrev *PrintPrevWindow();
// The preview window when it is loaded, else null.
PrintPrev *LoadedPrintPrev();
// Closes and deletes the preview window, when one is loaded.
void UnloadPrintPrev();
// Ends a job: the complete job takes the spool's place, the previous preview closes and
// the new one shows modeless with the caption, at page 1. A failed or stopped job
// (PrintJob::failed, PrintJobStopped), or one whose file cannot take the spool's place
// (reported), shows none and leaves the previous preview and spool as they were.
void ShowPrintPreview(const QString &caption);
