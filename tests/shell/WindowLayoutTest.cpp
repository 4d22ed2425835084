// What the diver reads must be whole: in every window, in English and in German (the
// longer texts), no caption, label or button text is cut off and no two of them cover
// each other.

#include "tests/support/EditorFixture.h"
#include "tests/support/TextFits.h"

#include "platform/RegEditModule.h"
#include "shell/HelpWindow.h"
#include "shell/frmAbout.h"
#include "shell/frmContributers.h"
#include "shell/frmLanguages.h"
#include "shell/frmMultiLevel.h"
#include "shell/frmWait.h"
#include "shell/frmWaypointForm.h"



class WindowLayoutTest : public EditorFixture, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override
    {
        stored_ = GetRegString(QStringLiteral("Language"), QString());
        SetRegString(QStringLiteral("Language"), QString(), QString::fromLatin1(GetParam()));
        TestHooks::modalHandlers.push_back([this](QDialog *d) {
            disclaimer_ = ClippedTexts(d);
            static_cast<frmLiability *>(d)->cbAgree->click();
        });
        EditorFixture::SetUp();
        TestHooks::modalHandlers.clear(); // the fixture's own answer to the disclaimer
    }
    void TearDown() override
    {
        EditorFixture::TearDown();
        SetRegString(QStringLiteral("Language"), QString(), stored_);
    }

    QString stored_;
    std::string disclaimer_;
};

TEST_P(WindowLayoutTest, NoTextIsCutOffOrCovered)
{
    EXPECT_EQ(disclaimer_, "");
    EXPECT_EQ(ClippedTexts(gMainForm), "");
    EXPECT_EQ(ClippedTexts(editor), "") << "an empty dive";
    leg(60, 25);
    editor->StartDeco();
    EXPECT_EQ(ClippedTexts(editor), "") << "a computed dive";

    ClassProfile scratch;
    scratch.setDepth(0, 40);
    scratch.SetSegmentTime(0, 10);
    scratch.SetMixNumber(0, kTrimix);
    {
        frmWaypointForm form(ActiveProfileNumber(), gMainForm);
        form.data(scratch, -1);
        EXPECT_EQ(ClippedTexts(&form), "") << "editing";
    }
    {
        frmWaypointForm form(ActiveProfileNumber(), gMainForm);
        form.data(scratch, 0);
        EXPECT_EQ(ClippedTexts(&form), "") << "viewing";
    }
    frmMultiLevel nextDive(gMainForm);
    EXPECT_EQ(ClippedTexts(&nextDive), "");
    frmLanguages languages(gMainForm);
    EXPECT_EQ(ClippedTexts(&languages), "");
    frmAbout about(gMainForm);
    EXPECT_EQ(ClippedTexts(&about), "");
    frmContributers contributors(gMainForm);
    EXPECT_EQ(ClippedTexts(&contributors), "");
    EXPECT_EQ(ClippedTexts(frmWait::Instance()), "");
    frmWait::Unload();
    HelpWindow help(gMainForm);
    EXPECT_EQ(ClippedTexts(&help), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &p) { return std::string(p.param).substr(5, 2); });
