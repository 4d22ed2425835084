#include "print/PrintPreview.h"

#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "platform/TempPath.h"
#include "platform/WaitCursor.h"
#include "print/PrintPrev.h"
#include "print/SpoolInterpreter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPointer>
#include <QSet>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

PrintState gPrintState;
QString gPrintTempPath;
float gPreviewScale = 0.65f;
bool gPrintCancel = false;

namespace {

constexpr double kTwipsPerCm = 567;

// Picture names: re-seeded at every job, so a job names its pictures the same way each
// time; the names a job has used are not drawn again, so one picture never replaces
// another of the same printout.
std::mt19937 gPictureRandom(1);
QSet<QString> gPictureNames;
// The pictures of the job the preview shows: a job being written takes none of their
// names, so it cannot paint over a page that is still on the screen.
QSet<QString> gShownPictureNames;

QPointer<PrintPrev> gPreview;

// A job whose spool could not be written: the failure was said once, the job writes no
// further line and is not previewed (a printout missing lines looks complete).
bool gSpoolFailed = false;
// The file of the job being written: held open and buffered, since a job of millions
// of lines would otherwise spend its time in the system. Whoever reads it takes its path
// through GetSpoolPath, which writes out what is buffered first.
std::unique_ptr<QFile> gSpoolFile;
// A job is being written: into its own file beside the spool, which takes the spool's
// place only when the job is complete (ShowPrintPreview), so a job stopped or failed on
// the way leaves the preview before it and that preview's spool as they were.
bool gJobOpen = false;
// The preview was showing the previous job when this one began: it stays, untouched,
// until this job is complete.
bool gOldPreviewKept = false;

QString spoolPath()
{
    if (gPrintTempPath.isEmpty())
        gPrintTempPath = QString::fromStdString(GetTempPath()) + '/';
    return gPrintTempPath + QStringLiteral("_$$_TEMP.TMP");
}

// Asked for at every line: made again only when the folder changes.
QString jobPath()
{
    static QString folder, path;
    if (path.isEmpty() || folder != gPrintTempPath) {
        path = spoolPath() + QStringLiteral(".new");
        folder = gPrintTempPath;
    }
    return path;
}

// The job being written goes, file and all; the spool stays as it was.
void dropJob()
{
    gSpoolFile.reset();
    if (gJobOpen)
        QFile::remove(jobPath());
    gJobOpen = false;
}

// Writes out the buffered lines: a failure fails the job.
void flushSpool()
{
    if (gSpoolFile && !gSpoolFile->flush()) {
        const std::string path = gSpoolFile->fileName().toStdString();
        dropJob();
        gSpoolFailed = true;
        throw RuntimeError(ErrDeviceIO, "", "Device I/O error: " + path);
    }
}

// A job stopped through its watch: nothing more is written and nothing is previewed.
bool gSpoolStopped = false;

bool jobEnded()
{
    return gSpoolFailed || gSpoolStopped;
}

// The pages the current job has begun, counted as its lines are written the way the
// reader takes them (a keyword takes its argument lines by position), so a page's end
// need not read the whole spool again.
int16_t gPagesBegun = 0;
int gArgumentsToCome = 0;

void followItems(const QString &line)
{
    if (gArgumentsToCome > 0) {
        --gArgumentsToCome;
        return;
    }
    gArgumentsToCome = std::max(SpoolArgumentCount(line), 0);
    if (line == QLatin1String("#startpage") && gPagesBegun < INT16_MAX)
        ++gPagesBegun;
}

QString PageLabel(const QString &page, int16_t count);

// The page count of the preview, unless it still shows the previous job.
void givePageCount(int16_t count)
{
    if (gOldPreviewKept)
        return;
    if (PrintPrev *preview = PrintPrevWindow()) {
        preview->setPageMax(count);
        preview->Label2->setText(PageLabel(preview->getPageNr(), count));
    }
}

// A page ended: its count goes to the preview, as CountPrintPages would find it.
void pageEnded()
{
    flushSpool(); // a full disk is found at the page it stopped
    if (jobEnded())
        return;
    gPrintState.pageCount = gPagesBegun;
    gPrintState.countLine = QStringLiteral("#endpage");
    givePageCount(gPagesBegun);
}

std::function<bool(int)> gJobWatch;
QElapsedTimer gJobWatchClock;
unsigned gLinesSinceLook = 0;

// Asks the watch, at most about ten times a second, whether the job goes on; the clock
// is read only every few hundred lines, so a job without a watch costs nothing.
void lookAtWatch()
{
    if (!gJobWatch || ++gLinesSinceLook < 256)
        return;
    gLinesSinceLook = 0;
    if (gJobWatchClock.isValid() && gJobWatchClock.elapsed() < 100)
        return;
    gJobWatchClock.start();
    if (gJobWatch(gPagesBegun))
        return;
    gSpoolStopped = true;
    dropJob(); // a stopped job leaves no half printout behind
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

// The complete job takes the spool's place (a rename, as a save replaces its file), and
// the preview of the previous job goes.
void commitJob()
{
    Guarded("PrintPreview.TemPrint", [] {
        flushSpool();
        gSpoolFile.reset();
        std::error_code failure;
        std::filesystem::rename(QFile::encodeName(jobPath()).toStdString(),
                                QFile::encodeName(spoolPath()).toStdString(), failure);
        if (failure) {
            dropJob();
            gSpoolFailed = true;
            throw RuntimeError(ErrFileAccess, "", "Path/File access error: " + spoolPath().toStdString());
        }
        gJobOpen = false;
        gShownPictureNames = gPictureNames;
        if (gOldPreviewKept)
            UnloadPrintPrev();
        gOldPreviewKept = false;
        givePageCount(gPagesBegun);
    });
}

} // namespace

QString GetSpoolPath()
{
    if (!gJobOpen)
        return spoolPath();
    if (gSpoolFile)
        Guarded("PrintPreview.TemPrint", flushSpool);
    return gJobOpen ? jobPath() : spoolPath();
}

QString ShownSpoolPath()
{
    return spoolPath();
}

void BeginPrintJob()
{
    Guarded("PrintPreview.SistemaBarra", [] {
        QString folder = CutAtNul(QString::fromStdString(GetTempPath())).trimmed();
        if (folder.isEmpty())
            folder = QStringLiteral(".");
        if (!folder.endsWith('/'))
            folder += '/';
        gPrintTempPath = folder;
        gPictureRandom.seed(1);
        gPictureNames.clear();
        gSpoolFailed = false;
        gSpoolStopped = false;
        gPagesBegun = 0;
        gArgumentsToCome = 0;
        dropJob(); // a job never shown is dropped
        if (LoadedPrintPrev() && !LoadedPrintPrev()->isVisible())
            UnloadPrintPrev(); // hidden, it shows nothing worth keeping
        gOldPreviewKept = LoadedPrintPrev() != nullptr;
        QFile job(jobPath());
        if (!job.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            gSpoolFailed = true;
            throw RuntimeError(ErrFileAccess, "", "Path/File access error: " + job.fileName().toStdString());
        }
        job.close();
        gJobOpen = true;
    });
}

void AppendPrintLine(const QString &line)
{
    lookAtWatch();
    if (jobEnded())
        return;
    Guarded("PrintPreview.TemPrint", [&line] {
        const QString path = jobPath();
        if (!gSpoolFile || gSpoolFile->fileName() != path) {
            gSpoolFile = std::make_unique<QFile>(path);
            if (!gJobOpen || !gSpoolFile->open(QIODevice::WriteOnly | QIODevice::Append)) {
                dropJob();
                gSpoolFailed = true;
                throw RuntimeError(ErrFileAccess, "", "Path/File access error: " + path.toStdString());
            }
        }
        const QByteArray bytes = line.toUtf8() + "\r\n";
        if (gSpoolFile->write(bytes) != bytes.size()) {
            dropJob();
            gSpoolFailed = true;
            throw RuntimeError(ErrDeviceIO, "", "Device I/O error: " + path.toStdString());
        }
        followItems(line);
    });
}

bool PrintJobFailed()
{
    return gSpoolFailed;
}

PrintJobWatchScope::PrintJobWatchScope(std::function<bool(int pages)> watch)
{
    gJobWatch = std::move(watch);
    gJobWatchClock.invalidate();
    gLinesSinceLook = 0;
}

PrintJobWatchScope::~PrintJobWatchScope()
{
    gJobWatch = nullptr;
    if (gJobOpen) { // its writer gave up without showing it
        gSpoolStopped = true;
        dropJob();
    }
}

bool PrintJobStopped()
{
    return gSpoolStopped;
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
    gPrintState.centredHalfWidth = half;
    gPrintState.centredLeft = left;
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
    if (jobEnded())
        return;
    AppendPrintLine(QStringLiteral("#img"));
    QString name;
    do {
        const double r = std::uniform_real_distribution<double>(0, 1)(gPictureRandom);
        gPrintState.randomValue = r * 899999 + 100000;
        gPrintState.randomText = QString::fromStdString(FormatFixed(gPrintState.randomValue, 0));
        name = gPrintTempPath + QStringLiteral("_$$_") + gPrintState.randomText + QStringLiteral(".tmp");
    } while (gPictureNames.contains(name) || gShownPictureNames.contains(name));
    gPictureNames.insert(name);
    gPrintState.pictureFile = name;
    AppendPrintLine(name);
    // PNG whatever the name says: the replay reads the format from the file itself.
    if (!picture.save(name, "PNG") && !gSpoolFailed) {
        dropJob();
        gSpoolFailed = true;
        throw RuntimeError(ErrFileAccess, "", "Path/File access error: " + name.toStdString());
    }
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

void CountPrintPages()
{
    if (jobEnded())
        return;
    Guarded("PrintPreview.SistemaBarra", [] {
        WaitCursor hourglass;
        PrintPrev *preview = PrintPrevWindow();
        gPrintState.pageCount = 0;
        {
            QFile create(GetSpoolPath());
            if (!create.open(QIODevice::WriteOnly | QIODevice::Append))
                throw RuntimeError(ErrFileAccess, "", "Path/File access error: " + create.fileName().toStdString());
        }
        SpoolReader reader(GetSpoolPath());
        if (!reader.isOpen())
            throw RuntimeError(ErrFileAccess, "", "Path/File access error: " + GetSpoolPath().toStdString());
        while (const auto item = reader.next()) {
            gPrintState.countLine = item->keyword;
            if (item->keyword == QLatin1String("#startpage")) {
                ++gPrintState.pageCount;
            } else if (item->keyword == QLatin1String("#endpage") && preview) {
                givePageCount(gPrintState.pageCount);
            }
        }
    });
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
    if (gJobOpen && !jobEnded())
        commitJob();
    if (jobEnded())
        return;
    PrintPrev *preview = PrintPrevWindow();
    preview->setWindowTitle(caption);
    preview->show();
    preview->MostraPagina();
    preview->raise();
    preview->activateWindow();
}
