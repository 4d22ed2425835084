#include "print/PrintPreview.h"

#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "print/PrintJob.h"
#include "print/PrintPrev.h"
#include "print/SpoolInterpreter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPointer>

#include <cmath>
#include <functional>

float gPreviewScale = 0.65f;
bool gPrintCancel = false;

namespace {

constexpr double kTwipsPerCm = 567;

QPointer<PrintPrev> gPreview;

QString PageLabel(const QString &page, int16_t count);

// The page count of the preview, unless it still shows the previous job.
void givePageCount(int16_t count)
{
    if (CurrentPrintJob().oldPreviewKept())
        return;
    if (PrintPrev *preview = PrintPrevWindow()) {
        preview->setPageMax(count);
        preview->Label2->setText(PageLabel(preview->getPageNr(), count));
    }
}

// A procedure that writes whole lines or pages: an error ends it with the common error
// box naming its place, and its caller goes on.
void Guarded(const char *place, const std::function<void()> &body)
{
    try {
        body();
    } catch (RuntimeError &e) {
        e.setSource(place);
        Shell().ShowErrorInfo(e);
    } catch (const std::exception &e) {
        Shell().ShowErrorInfo(RuntimeError(ErrDeviceIO, place, e.what()));
    }
}

// Page twips of a length in centimetres, as a Single.
QString Twips(float cm)
{
    return QString::fromStdString(JoinStr(static_cast<float>(cm * kTwipsPerCm)));
}

QString Number(float v)
{
    return QString::fromStdString(JoinStr(v));
}

// A text argument is one line: a line break inside it would end the item early and put
// every later line out of step, so it is written as a blank.
QString OneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The twelve lines of a text item; `x` already in twips.
void WriteTextItem(const QString &xTwips, float y, const QString &keyword, const QString &text,
                   const QString &fontName, int16_t fontSize, int16_t bold)
{
    AppendPrintLine(QStringLiteral("#fn"));
    AppendPrintLine(OneLine(fontName));
    AppendPrintLine(QStringLiteral("#fs"));
    AppendPrintLine(QString::number(fontSize));
    AppendPrintLine(QStringLiteral("#fb"));
    AppendPrintLine(QString::number(bold));
    AppendPrintLine(QStringLiteral("#y"));
    AppendPrintLine(Twips(y));
    AppendPrintLine(QStringLiteral("#x"));
    AppendPrintLine(xTwips);
    AppendPrintLine(keyword);
    AppendPrintLine(OneLine(text));
}

void WriteLineItem(float x1, float y1, float x2, float y2, const QString &fillColour, const QString &colour,
                   const QString &mode)
{
    AppendPrintLine(QStringLiteral("#fill"));
    AppendPrintLine(QStringLiteral("1"));
    AppendPrintLine(QStringLiteral("#color"));
    AppendPrintLine(fillColour);
    AppendPrintLine(QStringLiteral("#line"));
    AppendPrintLine(Twips(x1));
    AppendPrintLine(Twips(y1));
    AppendPrintLine(Twips(x2));
    AppendPrintLine(Twips(y2));
    AppendPrintLine(colour);
    AppendPrintLine(mode);
}

constexpr int32_t kGrey = 160 + 256 * 160 + 65536 * 160;
constexpr int32_t kRed = 255;

QString PageLabel(const QString &page, int16_t count)
{
    return QString::fromStdString(GetLangString(2211)) + page + QString::fromStdString(GetLangString(2212)) +
           QString::number(count);
}

// A page ended: what is buffered goes to the disk (a full disk is found at the page it
// stopped) and the page count to the preview.
void pageEnded()
{
    Guarded("PrintPreview.TemPrint", [] { CurrentPrintJob().flush(); });
    if (!CurrentPrintJob().ended())
        givePageCount(CurrentPrintJob().pagesBegun());
}

} // namespace

QString ShownSpoolPath()
{
    return CurrentPrintJob().spoolPath();
}

void BeginPrintJob()
{
    Guarded("PrintPreview.SistemaBarra", [] {
        if (LoadedPrintPrev() && !LoadedPrintPrev()->isVisible())
            UnloadPrintPrev(); // hidden, it shows nothing worth keeping
        CurrentPrintJob().begin(LoadedPrintPrev() != nullptr);
    });
}

void AppendPrintLine(const QString &line)
{
    if (CurrentPrintJob().ended())
        return;
    Guarded("PrintPreview.TemPrint", [&line] { CurrentPrintJob().append(line); });
}

PrintJobWatchScope::PrintJobWatchScope(std::function<bool(int pages)> watch)
{
    CurrentPrintJob().setWatch(std::move(watch));
}

PrintJobWatchScope::~PrintJobWatchScope()
{
    CurrentPrintJob().setWatch(nullptr);
    if (CurrentPrintJob().writing()) // its writer gave up without showing it
        CurrentPrintJob().stop();
}

bool PrintJobStopped()
{
    return CurrentPrintJob().stopped();
}

void ResetPrintJob()
{
    UnloadPrintPrev();
    CurrentPrintJob().reset();
    gPreviewScale = 0.65f;
    gPrintCancel = false;
}

void NewPrintPage()
{
    Guarded("PrintPreview.print Header", [] { AppendPrintLine(QStringLiteral("#startpage")); });
}

void PrintPageHeader(const QString &leftText, const QString &title, const QString &rightText)
{
    Guarded("PrintPreview.print Header", [&] {
        const QString arial = QStringLiteral("Arial");
        AppendPrintLine(QStringLiteral("#startpage"));
        PrintFilledBox(1, 1, 28.5f, 2.9f, kGrey);
        PrintBoxOutline(1, 1, 28.5f, 2.9f);
        PrintTextLeft(1.3f, 2.2f, leftText, arial, 15, 1);
        PrintTextCentered(11, 1.2f, title, arial, 30, 1);
        PrintTextRight(28, 2.2f, rightText, arial, 15, 1);
    });
}

void EndPrintPageSimple(const QString &line1, const QString &line2)
{
    Guarded("PrintPreview.printFooter", [&] {
        const QString arial = QStringLiteral("Arial");
        SetPrintForeColor(kRed);
        PrintTextLeft(1.3f, 19.5f, line1, arial, 9, 0);
        PrintTextLeft(1.3f, 19.8f, line2, arial, 9, 0);
        SetPrintForeColor(0);
        AppendPrintLine(QStringLiteral("#endpage"));
        pageEnded();
    });
}

void EndPrintPageFooter(const QString &text1, const QString &text2, const QString &text3, const QString &rightText)
{
    Guarded("PrintPreview.printFooter", [&] {
        const QString arial = QStringLiteral("Arial");
        PrintFilledBox(1, 17.3f, 28.5f, 19.2f, kGrey);
        PrintBoxOutline(1, 17.3f, 28.5f, 19.2f);
        PrintTextLeft(1.3f, 18.5f, text1, arial, 15, 1);
        PrintTextLeft(6, 17.4f, text2, arial, 10, 1);
        PrintTextLeft(6, 17.9f, text3, arial, 10, 1);
        PrintTextRight(27, 18.5f, rightText, arial, 15, 1);
        AppendPrintLine(QStringLiteral("#endpage"));
        pageEnded();
    });
}

void SetPrintForeColor(int32_t colour)
{
    AppendPrintLine(QStringLiteral("#ForeColor"));
    AppendPrintLine(QString::number(colour));
}

void PrintTextLeft(float x, float y, const QString &text, const QString &fontName, int16_t fontSize, int16_t bold)
{
    WriteTextItem(Twips(x), y, QStringLiteral("#txt_l"), text, fontName, fontSize, bold);
}

void PrintTextRight(float x, float y, const QString &text, const QString &fontName, int16_t fontSize, int16_t bold)
{
    WriteTextItem(Twips(x), y, QStringLiteral("#txt_r"), text, fontName, fontSize, bold);
}

void PrintTextCentered(float x, float y, const QString &text, const QString &fontName, int16_t fontSize,
                       int16_t bold)
{
    // Measured in the text's own font in page twips, so where it stands does not depend
    // on the preview's zoom or on the screen.
    const float width = SpoolTextWidth(OneLine(text), fontName, fontSize, bold != 0);
    const float half = static_cast<float>(std::floor(width / 2));
    const float left = static_cast<float>(x * kTwipsPerCm - half);
    if (left < 0) {
        MsgBox(QString::fromStdString(GetLangString(2223)), vbOKOnly + vbCritical, QStringLiteral("PrintInCen"));
        return;
    }
    WriteTextItem(Number(left), y, QStringLiteral("#txt_c"), text, fontName, fontSize, bold);
}

void PrintFilledBox(float x1, float y1, float x2, float y2, int32_t colour)
{
    WriteLineItem(x1, y1, x2, y2, QStringLiteral("0"), QString::number(colour), QStringLiteral("BF"));
}

void PrintBoxOutline(float x1, float y1, float x2, float y2)
{
    WriteLineItem(x1, y1, x2, y2, QStringLiteral("FF"), QString(), QStringLiteral("B"));
}

void PrintPicture(const QImage &picture, float x, float y, float width, float height)
{
    PrintJob &job = CurrentPrintJob();
    AppendPrintLine(QStringLiteral("#img"));
    if (job.ended())
        return;
    const QString name = job.newPictureFile();
    AppendPrintLine(name);
    job.savePicture(picture, name);
    AppendPrintLine(Twips(x));
    AppendPrintLine(Twips(y));
    AppendPrintLine(Twips(width));
    AppendPrintLine(Twips(height));
}

float SpoolTextWidth(const QString &text, const QString &fontName, float fontSize, bool bold)
{
    return static_cast<float>(QFontMetricsF(SpoolFont(fontName, fontSize, bold)).horizontalAdvance(text));
}

int16_t SizeWithin(const QString &text, int16_t size, int16_t smallest, float width, bool bold)
{
    while (size > smallest && SpoolTextWidth(text, QStringLiteral("Arial"), size, bold) / 567 > width)
        --size;
    return size;
}

int16_t FitCount(const QString &text)
{
    // The preview surface's own font, Arial 8.25 pt regular.
    const float width = SpoolTextWidth(text, QStringLiteral("Arial"), 8.25f, false);
    if (width <= 0)
        throw RuntimeError(ErrDivisionByZero, "PrintPreview.FitCount", "Division by zero");
    return CInt(5670.0 / width);
}

bool FileExists(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile();
}

float ValDecimal(QString &text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    try {
        return static_cast<float>(Val(text.toStdString()));
    } catch (const RuntimeError &) {
        return 0; // a number beyond any page
    }
}

QString CutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

PrintPrev *PrintPrevWindow()
{
    if (!gPreview)
        gPreview = new PrintPrev;
    return gPreview;
}

PrintPrev *LoadedPrintPrev()
{
    return gPreview;
}

void UnloadPrintPrev()
{
    if (!gPreview)
        return;
    PrintPrev *preview = gPreview;
    gPreview = nullptr;
    preview->close();
    delete preview;
}

void ShowPrintPreview(const QString &caption)
{
    PrintJob &job = CurrentPrintJob();
    if (job.writing() && !job.ended()) {
        Guarded("PrintPreview.TemPrint", [&job] {
            const bool oldPreview = job.oldPreviewKept();
            job.commit();
            if (oldPreview)
                UnloadPrintPrev(); // it showed the job before
            givePageCount(job.pagesBegun());
        });
    }
    if (job.ended())
        return;
    PrintPrev *preview = PrintPrevWindow();
    preview->setWindowTitle(caption);
    preview->show();
    preview->MostraPagina();
    preview->raise();
    preview->activateWindow();
}
