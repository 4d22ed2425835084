// The gradient-factor dialog: which factors it takes, what it stores and when it asks.

#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "platform/TestHooks.h"
#include "settings/frmConservatism.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class ConservatismTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
        gSettings.resize(2);
        shell.openDives = {1};
        reset();
    }
    void TearDown() override
    {
        FreeLanguageDll();
        ResetEngineGlobals();
    }

    void reset()
    {
        TestHooks::reset();
        shell.reEvaluated.clear();
        gSettings[1].ProfileChanged = false;
        TemplateRec &t = gSettings[1].Template;
        t.GFOn = true;
        t.GFLow = 0.3f;
        t.GFHigh = 0.8f;
    }

    // Types the factors and presses OK, answering a message box with `answer` if one
    // comes; true when the dialog closed.
    static bool ok(frmConservatism &d, const char *low, const char *high, int32_t answer = 0)
    {
        d.show();
        d.Text1->setText(QString::fromLatin1(low));
        d.Text2->setText(QString::fromLatin1(high));
        if (answer)
            TestHooks::msgBoxAnswers.push_back(answer);
        d.cbOK->click();
        return !d.isVisible() && d.result() == QDialog::Accepted;
    }

    static const TemplateRec &dive() { return gSettings[1].Template; }

    ScopedEnv install{"DOLV_INSTALL_DIR", DOLV_SOURCE_DIR};
    FakeShellServices shell;
};

} // namespace

TEST_F(ConservatismTest, GoodFactorsAreStoredAndTheDiveComputedAgain)
{
    gSettings[1].Template.GFHigh = 0.855f;
    frmConservatism d(1);
    EXPECT_EQ(d.Text1->text(), "0.30");
    EXPECT_EQ(d.Text2->text(), "0.86"); // "0.00", halves away from zero
    d.Check1->click();
    EXPECT_FALSE(d.Text1->isEnabled() || d.Text2->isEnabled());
    d.Check1->click();
    EXPECT_TRUE(d.Text1->isEnabled() && d.Text2->isEnabled());

    d.Check2->click();
    ASSERT_TRUE(ok(d, "0.30", "0.85"));
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_FLOAT_EQ(dive().GFLow, 0.30f);
    EXPECT_FLOAT_EQ(dive().GFHigh, 0.85f);
    EXPECT_TRUE(dive().GFOn && dive().DepthAdjust && dive().Changed);
    EXPECT_EQ(shell.reEvaluated, std::vector<int16_t>{1});
    EXPECT_TRUE(gSettings[1].ProfileChanged) << "closing the series must ask to save";
}

TEST_F(ConservatismTest, FactorsOutsideTheLimitsAreRefusedNamingTheLimit)
{
    const struct {
        const char *low, *high;
        int16_t veryHigh;
        const char *limit; // "" when accepted
    } cases[] = {
        {"0.85", "0.85", 0, "1"}, {"0", "0.8", 0, "1"},
        {"0.004", "0.8", 0, "1"}, // rounded to 0.00 before the check
        {"0.3", "1.00", 0, ""},   {"0.3", "1.01", 0, "1"},
        {"0.5", "1.20", 1, ""},   {"0.5", "1.21", 1, "1.2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.low) + " / " + c.high + (c.veryHigh ? " /VeryHighGF" : ""));
        reset();
        gVeryHighGF = c.veryHigh;
        frmConservatism d(1);
        const bool accepted = !*c.limit;
        EXPECT_EQ(ok(d, c.low, c.high, accepted ? 0 : vbOK), accepted);
        EXPECT_EQ(shell.reEvaluated.size(), accepted ? 1u : 0u);
        if (accepted)
            continue;
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(3004) + c.limit + GetLangStringQ(3005));
        EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbCritical + vbOKOnly);
        EXPECT_FLOAT_EQ(dive().GFHigh, 0.8f);
        EXPECT_FALSE(gSettings[1].ProfileChanged);
    }

    // A box holding no number whole is named, never read by its leading digits; a
    // refused OK, then Cancel, leaves the dive whole, the switched boxes included.
    reset();
    const TemplateRec before = dive();
    const std::pair<const char *, bool> lows[] = {{"0.3abc", true}, {"3e-1", true}, {"abc", true}, {"0.9", false}};
    for (const auto &[typed, noNumber] : lows) {
        frmConservatism d(1);
        d.Check1->click();
        d.Check2->click();
        EXPECT_FALSE(ok(d, typed, "0.8", vbOK));
        EXPECT_TRUE(TestHooks::msgBoxes.back().prompt.startsWith(
            noNumber ? GetLangStringQ(7103).arg(GetLangStringQ(1711), typed, "0.85") : GetLangStringQ(3004)));
        d.cbCancel->click();
        EXPECT_TRUE(dive() == before);
    }
}

TEST_F(ConservatismTest, TheFactorsAreReadAndTheLimitNamedInTheUsersForm)
{
    gDecimalSeparator = ",";
    gThousandSeparator = ".";
    gVeryHighGF = 1;
    frmConservatism d(1);
    EXPECT_EQ(d.Text1->text(), "0,30");
    EXPECT_FALSE(ok(d, "0,5", "1,25", vbOK));
    EXPECT_TRUE(TestHooks::msgBoxes.at(0).prompt.contains("1,2,"));
    ASSERT_TRUE(ok(d, "0,45", "0,9"));
    EXPECT_FLOAT_EQ(dive().GFLow, 0.45f);
}

TEST_F(ConservatismTest, VeryHighFactorsWithALowFirstStopFactorAreConfirmed)
{
    gVeryHighGF = 1;
    frmConservatism d(1);
    EXPECT_FALSE(ok(d, "0.40", "1.10", vbCancel));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbOKCancel);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(3006) + '\r' + GetLangStringQ(3007) + '\r' +
                                                 GetLangStringQ(3008) + '\r' + GetLangStringQ(3009) + "1" +
                                                 GetLangStringQ(3010));
    // Cancel goes back to the high factor, selected for retyping; nothing is stored.
    EXPECT_EQ(d.focusWidget(), d.Text2);
    EXPECT_EQ(d.Text2->selectedText(), "1.10");
    EXPECT_FLOAT_EQ(dive().GFHigh, 0.8f);
    EXPECT_TRUE(ok(d, "0.40", "1.10", vbOK));
    EXPECT_FLOAT_EQ(dive().GFHigh, 1.1f);

    // No question for a first-stop factor above 0.4, nor with the factors switched off.
    TestHooks::reset();
    frmConservatism higherLow(1);
    EXPECT_TRUE(ok(higherLow, "0.41", "1.10"));
    frmConservatism off(1);
    off.Check1->click();
    EXPECT_TRUE(ok(off, "0.40", "1.10"));
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
}
