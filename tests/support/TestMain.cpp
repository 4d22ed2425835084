// The main() of every test binary: offscreen windows, a private configuration folder,
// and the QApplication created after GoogleTest has taken its own arguments.

#include "platform/TestHooks.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

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

    // Each test process gets its own configuration folder, so no test reads what
    // another wrote, nor the user's own settings.
    QTemporaryDir configDir;
    if (!std::getenv("DOLV_CONFIG_DIR") && configDir.isValid())
        setenv("DOLV_CONFIG_DIR", configDir.path().toLocal8Bit().constData(), 1);

    QApplication app(argc, argv);
    QApplication::setApplicationName("DOLV");

    // No test ever waits for a person: an unanswered box or dialog fails the test.
    TestHooks::install([](const QString &what) { ADD_FAILURE() << what.toStdString(); });
    ::testing::UnitTest::GetInstance()->listeners().Append(new HookReset);
    return RUN_ALL_TESTS();
}
