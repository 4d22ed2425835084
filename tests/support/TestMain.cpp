// The main() of every test binary: offscreen windows, a private configuration folder,
// and the QApplication created after GoogleTest has taken its own arguments.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

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
    return RUN_ALL_TESTS();
}
