#include "print/PrintJob.h"

#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"
#include "platform/TempPath.h"
#include "print/PrintPreview.h"
#include "print/SpoolInterpreter.h"

#include <QFile>
#include <QImage>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace {

// The system's answer cut at a NUL and trimmed; the current folder when it has none.
QString TempFolder()
{
    QString folder = CutAtNul(QString::fromStdString(GetTempPath())).trimmed();
    if (folder.isEmpty())
        folder = QStringLiteral(".");
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

[[noreturn]] void ThrowDeviceIO(const QString &path)
{
    throw RuntimeError(ErrDeviceIO, "", "Device I/O error: " + path.toStdString());
}

} // namespace

[[noreturn]] void ThrowFileAccess(const QString &path)
{
    throw RuntimeError(ErrFileAccess, "", "Path/File access error: " + path.toStdString());
}

PrintJob::PrintJob() = default;
PrintJob::~PrintJob() = default;

QString PrintJob::folder() const
{
    return folder_.isEmpty() ? TempFolder() : folder_;
}

QString PrintJob::spoolPath() const
{
    return folder() + QStringLiteral("_$$_TEMP.TMP");
}

QString PrintJob::jobPath() const
{
    return spoolPath() + QStringLiteral(".new");
}

QString PrintJob::path() const
{
    return writing() ? jobPath() : spoolPath();
}

void PrintJob::begin(bool oldPreviewKept)
{
    drop(); // a job never shown goes
    folder_ = TempFolder();
    pictureRandom_.seed(1);
    failed_ = false;
    stopped_ = false;
    pagesBegun_ = 0;
    argumentsToCome_ = 0;
    oldPreviewKept_ = oldPreviewKept;
    auto file = std::make_unique<QFile>(jobPath());
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failed_ = true;
        ThrowFileAccess(file->fileName());
    }
    file_ = std::move(file);
}

void PrintJob::append(const QString &line)
{
    lookAtWatch();
    if (ended())
        return;
    if (!file_) { // no job was begun
        fail();
        ThrowFileAccess(jobPath());
    }
    const QByteArray bytes = line.toUtf8() + "\r\n";
    if (file_->write(bytes) != bytes.size()) {
        fail();
        ThrowDeviceIO(jobPath());
    }
    followItems(line);
}

void PrintJob::flush()
{
    if (file_ && !file_->flush()) {
        fail();
        ThrowDeviceIO(jobPath());
    }
}

QString PrintJob::newPictureFile()
{
    QString name;
    do {
        const double r = std::uniform_real_distribution<double>(0, 1)(pictureRandom_);
        name = folder() + QStringLiteral("_$$_") + QString::fromStdString(FormatFixed(r * 899999 + 100000, 0)) +
               QStringLiteral(".tmp");
    } while (pictures_.contains(name) || shownPictures_.contains(name));
    pictures_.insert(name);
    return name;
}

void PrintJob::commit()
{
    if (!writing() || ended())
        return;
    flush();
    file_->close();
    // A rename, as a save replaces its file; not flushed to the disk: the spool is a
    // temporary file.
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(jobPath()).toStdString(), QFile::encodeName(spoolPath()).toStdString(),
                            failure);
    if (failure) {
        fail();
        ThrowFileAccess(spoolPath());
    }
    file_.reset();
    removePictures(shownPictures_); // no page shows them any more
    shownPictures_ = std::exchange(pictures_, {});
    oldPreviewKept_ = false;
}

void PrintJob::drop()
{
    if (file_) {
        file_.reset();
        QFile::remove(jobPath());
    }
    removePictures(pictures_);
}

void PrintJob::savePicture(const QImage &picture, const QString &name)
{
    // PNG whatever the name says: the replay reads the format from the file itself.
    if (!ended() && !picture.save(name, "PNG")) {
        fail();
        ThrowFileAccess(name);
    }
}

void PrintJob::fail()
{
    failed_ = true;
    drop();
}

void PrintJob::stop()
{
    stopped_ = true;
    drop(); // a stopped job leaves no half printout behind
}

void PrintJob::reset()
{
    drop();
    removePictures(shownPictures_);
    if (!folder_.isEmpty())
        QFile::remove(spoolPath());
    folder_.clear();
    failed_ = false;
    stopped_ = false;
    oldPreviewKept_ = false;
    pagesBegun_ = 0;
    argumentsToCome_ = 0;
    pictureRandom_.seed(1);
    setWatch(nullptr);
}

void PrintJob::removePictures(QSet<QString> &names)
{
    for (const QString &name : std::as_const(names))
        QFile::remove(name);
    names.clear();
}

void PrintJob::setWatch(std::function<bool(int pages)> watch)
{
    watch_ = std::move(watch);
    watchClock_.invalidate();
    linesSinceLook_ = 0;
}

// At most about ten times a second; the clock is read only every few hundred lines, so a
// job without a watch costs nothing.
void PrintJob::lookAtWatch()
{
    if (!watch_ || ++linesSinceLook_ < 256)
        return;
    linesSinceLook_ = 0;
    if (watchClock_.isValid() && watchClock_.elapsed() < 100)
        return;
    watchClock_.start();
    if (!watch_(pagesBegun_))
        stop();
}

// Pages counted as the lines are written, so a page's end need not read the job again.
void PrintJob::followItems(const QString &line)
{
    if (argumentsToCome_ > 0) {
        --argumentsToCome_;
        return;
    }
    argumentsToCome_ = std::max(SpoolArgumentCount(line), 0);
    if (line == QLatin1String("#startpage") && pagesBegun_ < INT16_MAX)
        ++pagesBegun_;
}

PrintJob &CurrentPrintJob()
{
    static PrintJob job;
    return job;
}
