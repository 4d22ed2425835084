#include "print/SpoolInterpreter.h"

#include "engine/TextFileSave.h"

#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/CommonDialog.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "platform/WaitCursor.h"
#include "print/PageSurface.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "print/PrintJob.h"
#include "print/PrintPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTextStream>

#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;

// The page keywords and how many argument lines follow each.
struct Keyword {
    const char *name;
    int args;
};
constexpr Keyword kKeywords[] = {
    {"#startpage", 0}, {"#endpage", 0}, {"#ForeColor", 1}, {"#fn", 1},     {"#fs", 1},
    {"#fb", 1},        {"#y", 1},       {"#x", 1},         {"#txt_l", 1},  {"#txt_r", 1},
    {"#txt_c", 1},     {"#txt_VERT", 1}, {"#fill", 1},     {"#color", 1},  {"#line", 6},
    {"#img", 5},
};

// A colour, fill style or fore colour line: "." only, whole number.
int32_t WholeValue(const QString &text)
{
    try {
        const double v = Val(text.toStdString());
        return std::isfinite(v) && std::fabs(v) < 2147483647.0 ? static_cast<int32_t>(std::trunc(v)) : 0;
    } catch (const RuntimeError &) {
        return 0;
    }
}

double Decimal(QString text)
{
    return ValDecimal(text);
}

// A line colour: ValDecimal, then to a whole Long.
int32_t DecimalColour(const QString &text)
{
    const double v = Decimal(text);
    return std::fabs(v) < 2147483647.0 ? static_cast<int32_t>(std::lround(v)) : 0;
}

} // namespace

// ---- Reading ----

int SpoolArgumentCount(const QString &keyword)
{
    for (const Keyword &k : kKeywords)
        if (keyword == QLatin1String(k.name))
            return k.args;
    return -1;
}

SpoolReader::SpoolReader(const QString &path) : file_(std::make_unique<QFile>(path))
{
    if (file_->open(QIODevice::ReadOnly)) {
        stream_ = std::make_unique<QTextStream>(file_.get());
        stream_->setEncoding(QStringConverter::Utf8);
    }
}

SpoolReader::~SpoolReader() = default;

bool SpoolReader::isOpen() const
{
    return stream_ != nullptr;
}

std::optional<SpoolItem> SpoolReader::next()
{
    if (!stream_)
        return std::nullopt;
    QString line;
    while (stream_->readLineInto(&line)) {
        const int args = SpoolArgumentCount(line);
        if (args < 0)
            continue; // not a keyword: skipped
        SpoolItem item{line, {}};
        // Arguments by position, whatever they read; a file cut short gives empty ones.
        for (int i = 0; i < args; ++i) {
            QString arg;
            stream_->readLineInto(&arg);
            item.args.push_back(arg);
        }
        return item;
    }
    return std::nullopt;
}

// ---- Drawing ----

QColor SpoolColour(int32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QString SpoolFontFamily(const QString &name)
{
    // The faces the page layouts were designed with, as their metric-compatible twins.
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("arial") || n.isEmpty())
        return QStringLiteral("Liberation Sans");
    if (n == QLatin1String("times new roman"))
        return QStringLiteral("Liberation Serif");
    if (n == QLatin1String("courier new"))
        return QStringLiteral("Liberation Mono");
    return name.trimmed();
}

QFont SpoolFont(const QString &name, double points, bool bold)
{
    QFont font(SpoolFontFamily(name));
    // Pixel size in page twips: the painter's transform takes it to the device, so a
    // text has the same size on the page at every zoom and on every printer.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kTwipsPerPoint))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

SpoolPainter::SpoolPainter(QPainter &painter, double penWidth) : p_(painter), penWidth_(penWidth) {}

QPen SpoolPainter::pen(const QColor &colour) const
{
    QPen pen(colour);
    pen.setWidthF(penWidth_);
    pen.setCosmetic(penWidth_ <= 0);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QFont SpoolPainter::font() const
{
    return SpoolFont(fontName_, fontSize_, bold_);
}

void SpoolPainter::apply(const SpoolItem &item)
{
    const QString &k = item.keyword;
    const auto arg = [&item](size_t i) { return i < item.args.size() ? item.args[i] : QString(); };
    if (k == QLatin1String("#x"))
        x_ = Decimal(arg(0));
    else if (k == QLatin1String("#y"))
        y_ = Decimal(arg(0));
    else if (k == QLatin1String("#fn"))
        fontName_ = arg(0);
    else if (k == QLatin1String("#fs"))
        fontSize_ = Decimal(arg(0));
    else if (k == QLatin1String("#fb"))
        bold_ = arg(0) != QLatin1String("0");
    else if (k == QLatin1String("#fill"))
        fillStyle_ = WholeValue(arg(0));
    else if (k == QLatin1String("#ForeColor"))
        fore_ = SpoolColour(WholeValue(arg(0)));
    else if (k == QLatin1String("#color"))
        fill_ = SpoolColour(WholeValue(arg(0)));
    else if (k == QLatin1String("#txt_l") || k == QLatin1String("#txt_c"))
        drawText(arg(0), Qt::AlignLeft);
    else if (k == QLatin1String("#txt_r"))
        drawText(arg(0), Qt::AlignRight);
    else if (k == QLatin1String("#txt_VERT"))
        drawRotated(arg(0));
    else if (k == QLatin1String("#line"))
        drawLine(item);
    else if (k == QLatin1String("#img"))
        drawPicture(item);
}

void SpoolPainter::drawText(const QString &text, int align)
{
    const QFont f = font();
    const QFontMetricsF metrics(f);
    if (align == Qt::AlignRight)
        x_ -= metrics.horizontalAdvance(text);
    p_.save();
    p_.setFont(f);
    p_.setPen(fore_);
    // The position is the text's top-left corner.
    p_.drawText(QPointF(x_, y_ + metrics.ascent()), text);
    p_.restore();
    // As after printing a line: the next line's start.
    x_ = 0;
    y_ += metrics.height();
}

void SpoolPainter::drawLine(const SpoolItem &item)
{
    const auto arg = [&item](size_t i) { return i < item.args.size() ? item.args[i] : QString(); };
    const double x1 = Decimal(arg(0)), y1 = Decimal(arg(1)), x2 = Decimal(arg(2)), y2 = Decimal(arg(3));
    const QString colourText = arg(4);
    const QString mode = arg(5);
    const QRectF box = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    p_.save();
    if (!colourText.isEmpty()) {
        const QColor colour = SpoolColour(DecimalColour(colourText));
        if (box.width() > 0 && box.height() > 0) {
            p_.fillRect(box, colour);
        } else {
            // A filled box of no width or height is still a rule.
            p_.setPen(pen(colour));
            p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
        }
    } else if (!mode.isEmpty()) {
        p_.setPen(pen(fore_));
        p_.setBrush(fillStyle_ == 0 ? QBrush(fill_) : QBrush(Qt::NoBrush));
        p_.drawRect(box);
    } else {
        p_.setPen(pen(fore_));
        p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    p_.restore();
}

void SpoolPainter::drawPicture(const SpoolItem &item)
{
    const auto arg = [&item](size_t i) { return i < item.args.size() ? item.args[i] : QString(); };
    // A missing or unreadable picture paints nothing, never an earlier one.
    QImage picture;
    if (FileExists(arg(0)))
        picture.load(arg(0));
    if (picture.isNull())
        return;
    const QRectF target(Decimal(arg(1)), Decimal(arg(2)), Decimal(arg(3)), Decimal(arg(4)));
    p_.save();
    p_.setRenderHint(QPainter::SmoothPixmapTransform);
    p_.drawImage(target, picture);
    p_.restore();
}

void SpoolPainter::drawRotated(const QString &text)
{
    p_.save();
    p_.setFont(font());
    p_.setPen(fore_);
    DrawRotatedText(p_, static_cast<float>(x_), static_cast<float>(y_), 45, text);
    p_.restore();
}

bool DrawRotatedText(QPainter &painter, float x, float y, double angle, const QString &text)
{
    const QFontMetricsF metrics(painter.font());
    painter.save();
    painter.translate(x, y);
    painter.rotate(-angle); // counter-clockwise on a page whose y runs downwards
    painter.drawText(QPointF(0, metrics.ascent()), text);
    painter.restore();
    return true;
}

// ---- The preview ----

void RenderSpoolPage(QImage &image, int page, double pixelsPerTwip)
{
    image.fill(Qt::white);
    if (page < 1)
        return;
    SpoolReader reader(ShownSpoolPath());
    if (!reader.isOpen())
        return;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    SpoolPainter draw(painter, 0);
    int current = 0;
    while (const auto item = reader.next()) {
        if (item->keyword == QLatin1String("#startpage")) {
            ++current;
        } else if (item->keyword == QLatin1String("#endpage")) {
            if (current == page)
                break;
        } else if (current == page) {
            draw.apply(*item);
        }
    }
}

void ShowPreviewPage(float left, float top)
{
    PrintPrev *preview = LoadedPrintPrev();
    if (!preview)
        return;
    try {
        WaitCursor hourglass;
        preview->Prv->move(static_cast<int>(std::lround(-left)), static_cast<int>(std::lround(-top)));
        RenderSpoolPage(preview->Prv->Image(), preview->getPageNr().toInt(), gPreviewScale / 15.0);
        preview->Prv->update();
    } catch (...) {
        // A page that cannot be drawn stays as far as it was drawn; nothing is reported.
    }
}

// ---- The printer ----

namespace {

QPrinter *gPrinter = nullptr;

QPrinter *NewPrinter()
{
    auto *p = new QPrinter(QPrinter::HighResolution);
    p->setPageSize(QPageSize(QPageSize::A4));
    p->setPageOrientation(QPageLayout::Landscape);
    p->setFullPage(true);
    p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    p->setDocName(QStringLiteral("DOLV"));
    return p;
}

// A fresh printer with the settings of the one in use, in its place.
void RenewPrinter()
{
    QPrinter *old = gPrinter;
    QPrinter *p = NewPrinter();
    if (old->outputFormat() == QPrinter::NativeFormat)
        p->setPrinterName(old->printerName());
    p->setOutputFormat(old->outputFormat());
    p->setOutputFileName(old->outputFileName());
    p->setPageLayout(old->pageLayout());
    p->setColorMode(old->colorMode());
    p->setCopyCount(old->copyCount());
    gPrinter = p;
    delete old;
}

} // namespace

QPrinter &Printer()
{
    // Kept for the program's life and never destroyed: a printer must not outlive the
    // application object it talks through.
    if (!gPrinter)
        gPrinter = NewPrinter();
    return *gPrinter;
}

namespace {

// Whether a print would reach anything: a file, or a printer the system knows.
bool PrinterHasOutput(const QPrinter &printer)
{
    if (!printer.outputFileName().isEmpty())
        return true;
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty() &&
           !QPrinterInfo::printerInfo(printer.printerName()).isNull();
}

// Without a printer the print goes into a PDF file the diver chooses.
bool AskForPdfFile(QPrinter &printer)
{
    // Pages are printed from the print dialog, which owns the question.
    CommonDialog dialog(PrintDialogWindow());
    dialog.DialogTitle = QString::fromStdString(GetLangString(7200));
    dialog.Filter = QString::fromStdString(GetLangString(7201));
    dialog.InitDir = QDir::homePath();
    dialog.FileName = QStringLiteral("DOLV.pdf");
    if (!dialog.ShowSave())
        return false;
    printer.setOutputFileName(dialog.FileName);
    return true;
}

// Whether a PDF was written to its end: the PDF writer reports no failed write, so the
// file's tail tells whether the disk took every byte.
bool PdfIsWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 64)
        return false;
    file.seek(file.size() - 64);
    return file.read(64).contains("%%EOF");
}

void SayPrintFailed(QPrinter &printer, const QString &file, int text, const QString &cause = QString())
{
    QString say = QString::fromStdString(GetLangString(text)) + QStringLiteral("\r\n") +
                  (file.isEmpty() ? printer.printerName() : file);
    if (!cause.isEmpty())
        say += QStringLiteral("\r\n") + cause;
    MsgBox(say, vbOKOnly + vbCritical);
}

void SetCancelBold(bool bold)
{
    if (PrintPrint *dialog = PrintDialogWindow()) {
        QFont f = dialog->Command2->font();
        f.setBold(bold);
        dialog->Command2->setFont(f);
    }
}

// One print: where it goes and how far it came.
struct PrintRun {
    explicit PrintRun(QPrinter &p) : printer(p), format(p.outputFormat()) {}
    QPrinter &printer;
    bool fileAsked = false;  // the diver chose the file for this print
    bool failed = false;     // said already
    bool cancelled = false;  // Cancel pressed during the print
    int printed = 0;
    QString target;          // the file printed into, none for a printer
    // A file is replaced as a save replaces one: written beside it and moved into place
    // only whole (FileReplacement, engine/TextFileSave.h).
    std::optional<FileReplacement> file;
    QPrinter::OutputFormat format;
    QPainter painter;
    std::optional<SpoolPainter> draw;
};

// Points the printer at what the print goes into: a printer, the file it has, or a PDF
// file asked for; a file's part beside it. False when nothing is to be printed (the
// question cancelled, a file that cannot be replaced: said).
bool ChooseOutput(PrintRun &run)
{
    QPrinter &printer = run.printer;
    if (!PrinterHasOutput(printer)) {
        if (!AskForPdfFile(printer))
            return false;
        run.fileAsked = true;
    }
    run.target = printer.outputFileName();
    run.format = printer.outputFormat();
    if (!run.target.isEmpty()) {
        try {
            run.file.emplace(QFile::encodeName(run.target).toStdString(), "PrintPreview.PrintPages");
        } catch (const RuntimeError &e) {
            // Refused as the saves refuse it: a write-protected file, or no file can be made.
            SayPrintFailed(printer, run.target, e.number() == ErrPermissionDenied ? 7061 : 7202);
            if (run.fileAsked)
                printer.setOutputFileName(QString());
            return false;
        }
        // The part's name must not change what is written (a name without ".pdf"
        // would turn a PDF into a print to file).
        printer.setOutputFileName(QFile::decodeName(run.file->Temporary().c_str()));
        printer.setOutputFormat(run.format);
    }
    // The pages are laid out for A4 landscape from the paper's corner.
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true);
    return true;
}

// A page in range starts: the document begins with the first one, so no blank sheet
// ends it. False when the document cannot start (said).
bool BeginSheet(PrintRun &run)
{
    if (run.printed == 0) {
        if (!run.painter.begin(&run.printer)) {
            SayPrintFailed(run.printer, run.target, 7202);
            run.failed = true;
            return false;
        }
        const double scale = run.printer.resolution() / kTwipsPerInch;
        run.painter.setRenderHint(QPainter::Antialiasing);
        run.painter.scale(scale, scale);
        run.draw.emplace(run.painter, 15); // about the width of a screen pixel
    } else {
        run.printer.newPage();
    }
    ++run.printed;
    return true;
}

// Replays pages fromPage..toPage of the spool onto the printer, until Cancel.
void DrawPages(PrintRun &run, int16_t fromPage, int16_t toPage)
{
    SpoolReader reader(ShownSpoolPath());
    if (!reader.isOpen())
        ThrowFileAccess(ShownSpoolPath());
    bool printing = false;
    int16_t counter = 0;
    // A page of many items lets events run every tenth of a second, so Cancel is seen
    // inside it too.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    unsigned items = 0;
    while (const auto item = reader.next()) {
        if ((++items & 255) == 0 && sinceEvents.elapsed() >= 100) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        // A file keeps nothing of a cancelled print, so Cancel ends it at once; a
        // printer ends at a page boundary, with whole sheets.
        const bool boundary =
            item->keyword == QLatin1String("#startpage") || item->keyword == QLatin1String("#endpage");
        if (gPrintCancel && (run.file || boundary)) {
            run.cancelled = run.printed > 0;
            return;
        }
        if (item->keyword == QLatin1String("#startpage")) {
            ++counter;
            if (counter > toPage)
                return;
            printing = counter >= fromPage;
            if (!printing)
                continue;
            if (!BeginSheet(run))
                return;
            UpdatePrintProgress(fromPage, toPage, counter);
            QCoreApplication::processEvents(); // where the Cancel button is seen
            sinceEvents.restart();
        } else if (item->keyword == QLatin1String("#endpage")) {
            if (counter >= toPage)
                return;
        } else if (printing && run.draw) {
            run.draw->apply(*item);
        }
    }
}

// Ends the document; a file takes the part's place only whole and not cancelled (else
// the old file stays and the part goes). The printer is put back as it was asked for.
// The pages printed, none when the print came to nothing.
int EndPrint(PrintRun &run)
{
    QPrinter &printer = run.printer;
    const bool ended = !run.painter.isActive() || run.painter.end();
    bool broken = false; // a PDF writer that failed a write writes nothing ever after
    if (run.file) {
        printer.setOutputFileName(run.target);
        printer.setOutputFormat(run.format);
        const bool pdf = run.format == QPrinter::PdfFormat;
        const QString partial = QFile::decodeName(run.file->Temporary().c_str());
        bool whole = ended && !run.failed && !run.cancelled && run.printed > 0 && (!pdf || PdfIsWhole(partial));
        QString cause;
        if (whole) {
            try {
                run.file->Commit();
            } catch (const RuntimeError &e) {
                whole = false;
                cause = QString::fromStdString(e.description());
            }
        }
        broken = pdf && !whole && run.printed > 0;
        if (!whole) {
            if (!run.failed && !run.cancelled && run.printed > 0)
                SayPrintFailed(printer, run.target, 7222, cause);
            run.printed = 0;
        }
        run.file.reset();
    } else if (!ended && !run.failed) {
        SayPrintFailed(printer, run.target, 7222);
        run.printed = 0;
    }
    SetCancelBold(false);
    if (run.fileAsked)
        printer.setOutputFileName(QString()); // the next print asks again
    if (broken)
        RenewPrinter();
    return run.printed;
}

} // namespace

int PrintPages(int16_t fromPage, int16_t toPage)
{
    PrintRun run(Printer());
    try {
        WaitCursor hourglass;
        if (!ChooseOutput(run))
            return 0;
        SetCancelBold(true);
        QCoreApplication::processEvents();
        DrawPages(run, fromPage, toPage);
    } catch (RuntimeError &e) {
        e.setSource("PrintPreview.SistemaBarra");
        Shell().ShowErrorInfo(e);
        run.failed = true;
    } catch (const std::exception &) {
        SayPrintFailed(run.printer, run.target, run.file ? 7222 : 7202);
        run.failed = true;
    }
    return EndPrint(run);
}

void UpdatePrintProgress(int16_t /*fromPage*/, int16_t toPage, int16_t page)
{
    PrintPrint *dialog = PrintDialogWindow();
    if (!dialog || toPage == 0)
        return;
    dialog->Label4->setText(QString::number(page));
    dialog->ProgressBar1->setValue(std::clamp(static_cast<int>(page * 100.0f / toPage), 0, 100));
}
