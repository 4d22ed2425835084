// The per-user stores: registry values and window placements, each test in its own
// configuration folder.

#include "platform/MsgBox.h"
#include "platform/RegEditModule.h"
#include "platform/SettingsWriteReport.h"
#include "platform/TestHooks.h"
#include "platform/WindowSettings.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class StoreTest : public testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv env{"DOLV_CONFIG_DIR", dir.path().toStdString() + "/cfg"};

    void writeRaw(const char *file, const QByteArray &text)
    {
        SetRegString("Probe", "x", "y"); // makes the folder
        QFile f(dir.path() + "/cfg/" + file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

TEST_F(StoreTest, RegistryValuesRoundTrip)
{
    EXPECT_EQ(GetRegString("Sound", ""), "");        // never written
    SetRegString("Sound", "", "Off");
    EXPECT_EQ(GetRegString("Sound", ""), "Off");
    SetRegString("Sound", "", "");
    EXPECT_EQ(GetRegString("Sound", ""), "");
    SetRegString("Language", "", "DOLV_de.lng");
    SetRegString("TableExpert", "StepM", "3");
    SetRegString("Mix", "sCurFill", "1,5");          // a German number stays one text
    EXPECT_EQ(GetRegString("Language", ""), "DOLV_de.lng");
    EXPECT_EQ(GetRegString("TableExpert", "StepM"), "3");
    EXPECT_EQ(GetRegString("TableExpert", "StepF"), "");
    EXPECT_EQ(GetRegString("Mix", "sCurFill"), "1,5");
    EXPECT_EQ(GetRegString("Mix", "sCurfill"), "");   // names are exact
    // A new configuration folder is a new user: nothing is there.
    ScopedEnv other("DOLV_CONFIG_DIR", dir.path().toStdString() + "/other");
    EXPECT_EQ(GetRegString("Language", ""), "");
}

TEST_F(StoreTest, RegistryLengthLimit)
{
    const QString longest(255, 'a');
    SetRegString("Mix", "AirCylinder", longest);
    EXPECT_EQ(GetRegString("Mix", "AirCylinder"), longest);
    SetRegString("Mix", "AirCylinder", longest + 'b');
    EXPECT_EQ(GetRegString("Mix", "AirCylinder"), "");
}

TEST_F(StoreTest, RegistryValuesOfAnotherKindReadEmpty)
{
    writeRaw("registry.ini", "[Mix]\nsCurO2=21, 32\nsCurN2=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nsCurHe=0\n");
    EXPECT_EQ(GetRegString("Mix", "sCurO2"), "");   // a list, not one text
    EXPECT_EQ(GetRegString("Mix", "sCurN2"), "");   // a number value
    EXPECT_EQ(GetRegString("Mix", "sCurHe"), "0");
}

TEST_F(StoreTest, AWriteThatFailsIsReportedOncePerRun)
{
    // A configuration folder that cannot be made: a file stands where it would go.
    QFile blocker(dir.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    {
        ScopedEnv bad("DOLV_CONFIG_DIR", dir.path().toStdString() + "/file/cfg");
        TestHooks::msgBoxAnswers.push_back(vbOK);
        SetRegString("Sound", "", "Off");
        EXPECT_EQ(GetRegString("Sound", ""), "");
        SaveSetting("Settings", "MainLeft", "1");
        EXPECT_EQ(GetSetting("Settings", "MainLeft", "1000"), "1000");
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u); // the second failure brings no second box
        EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.endsWith(dir.path() + "/file/cfg/registry.ini"));
        EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbCritical + vbOKOnly);
    }

    // A folder that is there, but the file cannot be replaced (a folder has its name):
    // the store's own status after writing tells, whoever runs the test.
    ResetSettingsWriteReport(); // as at the next start
    TestHooks::msgBoxes.clear();
    SaveSetting("Settings", "MainTop", "1");
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/cfg/registry.ini"));
    TestHooks::msgBoxAnswers.push_back(vbOK);
    SetRegString("Sound", "", "Off");
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.endsWith("registry.ini"));
}

TEST_F(StoreTest, WindowPlacementRoundTripsWithDefaults)
{
    EXPECT_EQ(GetSetting("Settings", "MainLeft", "1000"), "1000");
    SaveSetting("Settings", "MainLeft", "2400");
    SaveSetting("Preview", "Zoom", "75");
    EXPECT_EQ(GetSetting("Settings", "MainLeft", "1000"), "2400");
    EXPECT_EQ(GetSetting("Preview", "Zoom"), "75");
    EXPECT_EQ(GetSetting("Preview", "MainLeft", "x"), "x");
    EXPECT_EQ(GetRegString("Settings", "MainLeft"), ""); // a store of its own
}

// Two monitors side by side, the primary on the left: a window left on the right-hand one
// comes back there; one whose monitor is gone comes wholly onto a screen that is there.
TEST(PlaceOnScreens, KeepsASecondScreenAndBringsBackAWindowWhoseScreenIsGone)
{
    const QRect primary(0, 0, 1280, 1000), right(1280, 0, 1920, 1040);
    const QRect onRight(1650, 100, 900, 600); // 24750 twips from the left
    EXPECT_EQ(PlaceOnScreens(onRight, {primary, right}), onRight);
    EXPECT_EQ(PlaceOnScreens(onRight, {primary}), QRect(380, 100, 900, 600));
    // Overlapping the right-hand monitor most, too large for it, title bar above it.
    EXPECT_EQ(PlaceOnScreens(QRect(1500, -50, 2500, 600), {primary, right}), QRect(1280, 0, 1920, 600));
    // Off every screen: onto the primary.
    EXPECT_EQ(PlaceOnScreens(QRect(9000, 9000, 400, 300), {primary, right}), QRect(880, 700, 400, 300));
}

} // namespace
