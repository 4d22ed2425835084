// The main() of every test binary: offscreen windows, a private configuration folder
// for each test, and the QApplication created after GoogleTest has taken its own
// arguments.

#include "platform/TestHooks.h"
#include "shell/MainModule.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

// Every test starts as a fresh process would, with its own empty configuration folder and
// the globals as before a start: the tests pass run whole, one by one or shuffled.
class FreshStart : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        configDir_ = std::make_unique<QTemporaryDir>();
        if (!configDir_->isValid())
            ADD_FAILURE() << "no temporary configuration folder";
        setenv("DOLV_CONFIG_DIR", configDir_->path().toLocal8Bit().constData(), 1);
        ResetShell();
    }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        ResetShell();
        configDir_.reset();
    }

    std::unique_ptr<QTemporaryDir> configDir_;
};

// Every test starts with empty answer queues; answers a test queued but never used
// mean it did not see the windows it expected, and fail it. (Listeners hear of a test's
// end in reverse order, so this one, appended last, fails the test before the result
// printer reports it.)
class HookReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override { TestHooks::reset(); }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        if (!TestHooks::msgBoxAnswers.empty())
            ADD_FAILURE() << TestHooks::msgBoxAnswers.size() << " message-box answer(s) queued but never asked for";
        if (!TestHooks::fileAnswers.empty())
            ADD_FAILURE() << TestHooks::fileAnswers.size() << " file-dialog answer(s) queued but never asked for";
        if (!TestHooks::modalHandlers.empty())
            ADD_FAILURE() << TestHooks::modalHandlers.size() << " dialog handler(s) queued but never used";
        if (!TestHooks::printerAnswers.empty())
            ADD_FAILURE() << TestHooks::printerAnswers.size() << " printer-dialog answer(s) queued but never used";
        TestHooks::reset();
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName("DOLV");

    // No test ever waits for a person: an unanswered box or dialog fails the test.
    TestHooks::install([](const QString &what) { ADD_FAILURE() << what.toStdString(); });
    // Ends are heard in reverse order: the hooks are checked before the program is reset.
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
    ::testing::UnitTest::GetInstance()->listeners().Append(new HookReset);
    return RUN_ALL_TESTS();
}
