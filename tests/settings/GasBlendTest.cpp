// The custom-gas dialog: the rest-to-100 arithmetic of its percentages, which names it
// takes, and a custom gas that comes back whole from a dive series file.

#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/TextLineWriter.h"
#include "platform/LocaliseForm.h"
#include "platform/TestHooks.h"
#include "platform/UpDown.h"
#include "settings/frmGasBlend.h"
#include "shell/ProfileFile.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <sstream>

namespace {

class GasBlendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
        gSettings.resize(2);
        shell.openDives = {1};
        d = std::make_unique<frmGasBlend>();
        d->SetTemplate(1);
        d->show();
    }
    void TearDown() override
    {
        d.reset();
        FreeLanguageDll();
        ResetEngineGlobals();
    }

    // Types into a percentage box and presses Enter there; O2/N2/He as then shown.
    std::string enter(QLineEdit *box, const char *text)
    {
        box->setText(QString::fromUtf8(text));
        QTest::keyClick(box, Qt::Key_Return);
        return shown();
    }
    std::string shown() const { return (d->tbO2->text() + '/' + d->tbN2->text() + '/' + d->tbHe->text()).toStdString(); }

    // Names the gas and presses OK; true when the dialog closed.
    bool ok(const char *name, int32_t answer = 0)
    {
        d->tbBlendName->setText(QString::fromUtf8(name));
        if (answer)
            TestHooks::msgBoxAnswers.push_back(answer);
        d->cbOK->click();
        return !d->isVisible();
    }

    static const std::vector<GasRecord> &gases() { return gSettings[1].Template.Gases; }

    ScopedEnv install{"DOLV_INSTALL_DIR", DOLV_SOURCE_DIR};
    FakeShellServices shell;
    std::unique_ptr<frmGasBlend> d; // opened once the language is loaded
};

} // namespace

TEST_F(GasBlendTest, NitrogenIsAlwaysTheRestToAHundred)
{
    EXPECT_EQ(shown(), "100/0/0");
    EXPECT_EQ(enter(d->tbO2, "32"), "32/68/0");
    EXPECT_TRUE(d->isVisible()) << "Enter in a percentage box does not end the dialog";
    EXPECT_EQ(enter(d->tbHe, "40"), "32/28/40");
    EXPECT_EQ(enter(d->tbHe, "80"), "32/0/68") << "helium gives way to the oxygen";
    EXPECT_EQ(enter(d->tbHe, "-5"), "32/68/0");
    EXPECT_EQ(enter(d->tbHe, "20"), "32/48/20");
    // Oxygen outside 1 to 100, or no number at all, leaves every box as it was.
    for (const char *typed : {"0", "101", "", "abc"})
        EXPECT_EQ(enter(d->tbO2, typed), "32/48/20") << '"' << typed << '"';
    EXPECT_EQ(enter(d->tbHe, "x"), "32/48/20");
    EXPECT_EQ(enter(d->tbO2, "90"), "90/0/10");
    EXPECT_EQ(enter(d->tbO2, "20.6"), "21/69/10") << "whole percentages, rounded";

    // Leaving a box takes it as Enter does.
    d->tbO2->setText("50");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(d->tbO2, &leave);
    EXPECT_EQ(shown(), "50/40/10");
}

TEST_F(GasBlendTest, TheSpinButtonsStepByOneWithinTheLimits)
{
    d->UDO2->upButton()->click();
    d->UDHe->downButton()->click();
    EXPECT_EQ(shown(), "100/0/0") << "O2 not above 100, He not below 0";
    enter(d->tbO2, "1");
    d->UDO2->downButton()->click();
    EXPECT_EQ(shown(), "1/99/0") << "O2 not below 1";
    // A number typed but not taken yet is the one stepped.
    d->tbHe->setText("40");
    d->UDHe->upButton()->click();
    EXPECT_EQ(shown(), "1/58/41");
}

TEST_F(GasBlendTest, OKAddsANewNameAndRefusesNamesTheFilesCannotGiveBack)
{
    EXPECT_FALSE(ok("", vbOK));
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(1230) + "\r\n" + GetLangStringQ(1231));
    EXPECT_EQ(TestHooks::msgBoxes[0].title, GetLangStringQ(1229));
    for (const char *name : {"Tx 18:45", "Mix, deep", " Deep", "Deep "}) {
        EXPECT_FALSE(ok(name, vbOK)) << name;
        EXPECT_EQ(TestHooks::msgBoxes.back().prompt, GetLangStringQ(7100));
    }
    EXPECT_EQ(TestHooks::msgBoxes.size(), 5u);
    EXPECT_EQ(gases().size(), 1u);
    EXPECT_FALSE(gSettings[1].ProfileChanged);

    enter(d->tbO2, "15");
    enter(d->tbHe, "55");
    ASSERT_TRUE(ok("Deep 15/55"));
    ASSERT_EQ(gases().size(), 2u);
    const GasRecord &g = gases()[1];
    EXPECT_EQ(g.Name, "Deep 15/55");
    EXPECT_EQ(std::vector<float>({g.O2, g.N2, g.He}), std::vector<float>({15, 30, 55}));
    EXPECT_EQ(d->AddedGas(), 1);
    EXPECT_TRUE(gSettings[1].Template.Changed);
    EXPECT_TRUE(gSettings[1].ProfileChanged) << "closing the series must ask to save";

    // Names compare exactly: Air is always there, "air" is another gas.
    for (const char *name : {"Air", "air"}) {
        d = std::make_unique<frmGasBlend>();
        d->SetTemplate(1);
        d->show();
        EXPECT_TRUE(ok(name));
    }
    ASSERT_EQ(gases().size(), 3u);
    EXPECT_EQ(gases()[2].Name, "air");
}

// Series files write a gas as "name:O2/N2/He/" and a deco switch as "depth:name,". The
// names the dialog takes come back as they went; the ones it refuses would not (a
// trailing blank would, but "Deep" and "Deep " would look like one gas in every list).
TEST(GasNames, NamesTheDialogTakesComeBackFromASeriesFile)
{
    for (const char *name : {"Tx 18/45", "EAN50 (stage)", "Tx 18:45", "Mix, deep", " Deep", "a\r\nb"}) {
        SCOPED_TRACE(name);
        TemplateRec t;
        t.StepSize = 3;
        t.StartPressure = t.EndPressure = 1; // sea level in atm
        t.MaxPPO2 = 1.6f;
        t.AscendRates = {RateRecord{0, 0, 9, 0}};
        t.DescendRates = {RateRecord{0, 0, 20, 0}};
        t.Gases.push_back(GasRecord{name, 18, 37, 45, 0});
        t.Gases.push_back(GasRecord{"EAN50", 50, 50, 0, 0});
        t.GasChanges = {GasChangeRecord{name, 18, 37, 45, 10}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
        ClassUseractions log;
        log.NewAction();
        log.setuser(1, 40, 30, 1); // 40 m for 30 min on the gas

        std::ostringstream file;
        TextLineWriter out(file);
        WriteProfileDive(t, 0, log, out);
        std::istringstream in(file.str());
        bool cameBack = false;
        try {
            const TemplateRec r = ReadProfileFile(in).at(0).Template;
            cameBack = r.Gases.size() == 3 && r.Gases[1].Name == name && r.Gases[1].He == 45 &&
                       r.GasChanges.size() == 2 && r.GasChanges[0].Name == name && r.GasChanges[0].He == 45 &&
                       r.GasChanges[1].Name == "EAN50";
        } catch (const RuntimeError &) {
        }
        EXPECT_EQ(cameBack, IsStorableGasName(name)) << file.str();
    }
}
