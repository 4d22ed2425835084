#pragma once
// The print job: the printout being written and the last complete one, which the preview
// and the printer replay. There is one (CurrentPrintJob); the writers of
// print/PrintPreview.h are thin calls on it, and say its errors with their place names.
//
// A job is begun, then written line by line into a file of its own beside the spool
// ("_$$_TEMP.TMP.new", held open and buffered), and then either committed (it takes the
// spool's place, a rename) or dropped. A dropped job leaves nothing behind: its file and
// its pictures go, and the spool and pictures of the job shown before stay as they were.
// A committed job's pictures replace those of the job shown before, which go.
//
// Errors are thrown as RuntimeError after the job has been marked failed and dropped;
// a failed or stopped job writes nothing more until it is begun again.

#include <QElapsedTimer>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>

class QFile;
class QImage;

class PrintJob {
public:
    PrintJob();
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Begins a job in the program's temporary folder: a job never committed is dropped,
    // picture names are re-seeded (no name the shown job uses is taken), the job's empty
    // file is made and held open. `oldPreviewKept`: a preview shows the job before, and
    // keeps showing it until this one is committed.
    void begin(bool oldPreviewKept);
    // Appends one line, CR LF ended; nothing once the job has ended. Asks the watch now
    // and then, which may stop the job.
    void append(const QString &line);
    // Writes out what is buffered, so the job's file is complete on the disk.
    void flush();
    // The file of the job's next picture: "_$$_" six digits ".tmp", not used before in
    // the job nor by the job shown. Goes with the job when it is dropped.
    QString newPictureFile();
    // The complete job takes the spool's place and becomes the job shown.
    void commit();
    // Saves a picture of the job as PNG under a name from newPictureFile; nothing once
    // the job has ended. A picture that cannot be saved fails the job (error 75).
    void savePicture(const QImage &picture, const QString &name);
    // As at the program's start: the job being written and the one shown go, files and
    // all, and every mark is cleared.
    void reset();
    // Told the pages begun about ten times a second while lines are written; answering
    // false stops the job (dropped, PrintJob::stopped). Null: no watch.
    void setWatch(std::function<bool(int pages)> watch);
    // Stops the job through its watch: nothing more is written, nothing is shown.
    void stop();

    // A job is being written (begun, neither committed nor dropped).
    bool writing() const { return file_ != nullptr; }
    bool failed() const { return failed_; }
    bool stopped() const { return stopped_; }
    bool ended() const { return failed_ || stopped_; }
    // "#startpage" lines of the job so far, counted as the reader takes them (a keyword
    // takes its argument lines by position).
    int16_t pagesBegun() const { return pagesBegun_; }
    bool oldPreviewKept() const { return oldPreviewKept_; }
    // The job's temporary folder, ending in "/".
    QString folder() const;
    // The spool: the job shown, which the preview and the printer replay.
    QString spoolPath() const;
    // The job's own file while it is written, else the spool. What is buffered may not
    // be in it yet (flush).
    QString path() const;

private:
    // The job being written goes with its file and its pictures; the one shown stays.
    void drop();
    // Marks the job failed (its caller says why) and drops it.
    void fail();
    void followItems(const QString &line);
    void lookAtWatch();
    QString jobPath() const;
    void removePictures(QSet<QString> &names);

    QString folder_;
    std::unique_ptr<QFile> file_;
    bool failed_ = false;
    bool stopped_ = false;
    bool oldPreviewKept_ = false;
    int16_t pagesBegun_ = 0;
    int argumentsToCome_ = 0;
    std::mt19937 pictureRandom_{1};
    QSet<QString> pictures_;      // the pictures of the job being written
    QSet<QString> shownPictures_; // the pictures of the job shown
    std::function<bool(int)> watch_;
    QElapsedTimer watchClock_;
    unsigned linesSinceLook_ = 0;
};

// The program's one print job.
PrintJob &CurrentPrintJob();

// Error 75 for a print file that cannot be read or written.
[[noreturn]] void ThrowFileAccess(const QString &path);
