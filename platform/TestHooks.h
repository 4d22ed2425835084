#pragma once
// While tests run, nothing may wait for a person. When the test main switches these
// hooks on, a message box, file dialog, printer dialog or modal window takes its answer from a queue
// filled by the test; one without a queued answer reports a failure through the hook
// and returns its default at once. Sounds, web pages and started programs are recorded
// instead of played, opened or started.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QPrinter;

class TestHooks {
public:
    struct Box {
        QString prompt;
        int32_t buttons = 0;
        QString title;
    };
    struct FileDialog {
        bool save = false;
        QString title;
        QString filter;
        QString initDir;
        QString fileName;
    };

    // Switched on by the test main; `failure` reports a window that nobody answered.
    static void install(std::function<void(const QString &)> failure);
    static bool active();
    static void fail(const QString &what);
    // Clears every queue and record (before each test).
    static void reset();

    // Answers for the next message boxes (vbOK, vbYes, ...), in order, and the boxes shown.
    static std::deque<int32_t> msgBoxAnswers;
    static std::vector<Box> msgBoxes;

    // Answers for the next file dialogs: the chosen path, "" for Cancel; the dialogs shown.
    static std::deque<QString> fileAnswers;
    static std::vector<FileDialog> fileDialogs;

    // Handlers for the next modal windows: each runs with its window shown and answers it
    // (clicks a button, closes it). objectNames of the modal windows shown.
    static std::deque<std::function<void(QDialog *)>> modalHandlers;
    // Answers for the next printer dialogs: each may change the printer (point it at a
    // PDF file) and returns true for OK, false for Cancel. Titles of the dialogs shown.
    static std::deque<std::function<bool(QPrinter &)>> printerAnswers;
    static QStringList printerDialogs;
    static QStringList modalWindows;

    static QStringList soundsPlayed;
    static QStringList urlsOpened;
    static QStringList programsStarted;

private:
    static std::function<void(const QString &)> failure_;
};
