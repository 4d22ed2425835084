#include "platform/TestHooks.h"

#include "platform/SettingsWriteReport.h"

std::function<void(const QString &)> TestHooks::failure_;
std::deque<int32_t> TestHooks::msgBoxAnswers;
std::vector<TestHooks::Box> TestHooks::msgBoxes;
std::deque<QString> TestHooks::fileAnswers;
std::vector<TestHooks::FileDialog> TestHooks::fileDialogs;
std::deque<std::function<void(QDialog *)>> TestHooks::modalHandlers;
QStringList TestHooks::modalWindows;
std::deque<std::function<bool(QPrinter &)>> TestHooks::printerAnswers;
QStringList TestHooks::printerDialogs;
QStringList TestHooks::soundsPlayed;
QStringList TestHooks::urlsOpened;
QStringList TestHooks::programsStarted;

void TestHooks::install(std::function<void(const QString &)> failure)
{
    failure_ = std::move(failure);
}

bool TestHooks::active()
{
    return static_cast<bool>(failure_);
}

void TestHooks::fail(const QString &what)
{
    if (failure_)
        failure_(what);
}

void TestHooks::reset()
{
    msgBoxAnswers.clear();
    msgBoxes.clear();
    fileAnswers.clear();
    fileDialogs.clear();
    modalHandlers.clear();
    modalWindows.clear();
    printerAnswers.clear();
    printerDialogs.clear();
    soundsPlayed.clear();
    urlsOpened.clear();
    programsStarted.clear();
    ResetSettingsWriteReport();
}
