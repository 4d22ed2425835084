#pragma once
// The replays of the spool file (print/PrintPreview.h): one page on the preview's page
// surface, a range of pages on the printer. Both read the file from its first line with
// the same reader and draw through the same SpoolPainter, so the screen and the paper
// show the same page: page twips are mapped onto the device by the painter's transform,
// font sizes are page units too (a point is 20 twips), texts stand on their top-left
// corner, "Arial" draws as Liberation Sans.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QFile;
class QPrinter;
class QTextStream;

// One item of the spool: its keyword and its argument lines.
struct SpoolItem {
    QString keyword;
    std::vector<QString> args;
};

// Reads the spool file item by item. A keyword takes its argument lines by position,
// so an argument that reads "#endpage" is text; a line that is no keyword is skipped.
class SpoolReader {
public:
    explicit SpoolReader(const QString &path);
    ~SpoolReader();
    bool isOpen() const;
    // The next item, none at the end of the file.
    std::optional<SpoolItem> next();

private:
    std::unique_ptr<QFile> file_;
    std::unique_ptr<QTextStream> stream_;
};

// The number of argument lines of a keyword, -1 for a line that is no keyword.
int SpoolArgumentCount(const QString &keyword);

// Draws spool items on a painter whose coordinates are page twips.
class SpoolPainter {
public:
    // `penWidth` in page twips; 0 draws one device pixel (the screen).
    SpoolPainter(QPainter &painter, double penWidth);
    // Applies one item of a page that is drawn ("#startpage"/"#endpage" are the caller's).
    void apply(const SpoolItem &item);

private:
    void drawText(const QString &text, int align);
    void drawRotated(const QString &text);
    void drawLine(const SpoolItem &item);
    void drawPicture(const SpoolItem &item);
    QPen pen(const QColor &colour) const;
    QFont font() const;

    QPainter &p_;
    double penWidth_;
    double x_ = 0, y_ = 0;
    QString fontName_ = QStringLiteral("Arial");
    double fontSize_ = 8.25;
    bool bold_ = false;
    int fillStyle_ = 1;
    QColor fore_ = Qt::black;
    QColor fill_ = Qt::black;
};

// A spool colour (red + 256 green + 65536 blue) as a QColor.
QColor SpoolColour(int32_t colour);
// The family a spool font name draws in: the Windows faces as their metric twins.
QString SpoolFontFamily(const QString &name);
// A spool font of `points` in page twips (pixel size in twips).
QFont SpoolFont(const QString &name, double points, bool bold);

// Draws the preview's current page (the page number of the preview window) on its page
// surface; (left, top) is the scroll position. Errors end the drawing silently.
void ShowPreviewPage(float left, float top);
// Draws page `page` of the spool into `image` (white first) at `scale` pixels per twip.
// Page 0 or beyond the last page leaves it white.
void RenderSpoolPage(QImage &image, int page, double pixelsPerTwip);

// The printer of the program: A4 landscape, whole page, high resolution. A print into a
// PDF that failed a write replaces it with a fresh one of the same settings (the broken
// writer would write nothing more), so take it anew after a print, never keep it.
QPrinter &Printer();
// Prints pages fromPage..toPage of the spool as one document. A printer without output
// (no printer on the machine) first asks for a PDF file; Cancel of that question prints
// nothing. A document that cannot start is reported. A PDF is written beside its file
// and moved into place only whole; one that cannot be written whole (a full disk) is
// reported once, leaves the file as it was and counts as no page printed. Returns the
// number of pages printed.
int PrintPages(int16_t fromPage, int16_t toPage);
// The print dialog's progress: its label shows the page, its bar page x 100 / toPage.
void UpdatePrintProgress(int16_t fromPage, int16_t toPage, int16_t page);
// Text at (x, y) twips rotated by `angle` degrees counter-clockwise about its top-left corner.
bool DrawRotatedText(QPainter &painter, float x, float y, double angle, const QString &text);
