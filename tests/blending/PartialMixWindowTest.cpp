// The gas blender as the diver uses it: what it shows on opening, how the fields react
// to typing, the two answers, the Print button, what it keeps between uses and which
// units it works in.

#include "blending/frmPartialMix.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/RegEditModule.h"
#include "platform/TestHooks.h"
#include "print/PrintPreview.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/SpoolFile.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>

class PartialMixTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        gSettings[0].Template.Metric = true;
        for (const char *name : {"AirCylinder", "sCurFill", "sCurO2", "sCurHe", "sCurN2", "sDesFill", "sDesO2",
                                 "sDesN2", "sDesHe"})
            SetRegString(QStringLiteral("Mix"), QLatin1String(name), QString());
    }
    void TearDown() override
    {
        UnloadPrintPrev();
        ResetEngineGlobals();
    }

    // A dive with its own unit and gases after Air; it becomes the active dive.
    void activeDive(bool metric, std::vector<GasRecord> gases = {})
    {
        SettingsRecord record;
        record.Template.Metric = metric;
        record.Template.Gases.insert(record.Template.Gases.end(), gases.begin(), gases.end());
        gSettings.push_back(record);
        shell.activeProfile = int16_t(gSettings.size() - 1);
    }

    std::unique_ptr<frmPartialMix> open()
    {
        auto window = std::make_unique<frmPartialMix>(shell.activeProfile);
        window->show();
        return window;
    }

    // The diver replaces a field's text key by key.
    static void type(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    static QStringList airTop(const frmPartialMix &w)
    {
        return {w.AirTopO2->text(), w.AirTopHe->text(), w.AirTopAir->text()};
    }
    static QStringList realGas(const frmPartialMix &w)
    {
        return {w.IdealTopHe->text(), w.IdealTopO2->text(), w.IdealTopN2->text()};
    }
    static QStringList mix(QLineEdit *o2, QLineEdit *he, QLineEdit *n2)
    {
        return {o2->text(), he->text(), n2->text()};
    }

    static GasRecord gas(const char *name, float o2, float he) { return GasRecord{name, o2, 100 - o2 - he, he, 0}; }

    FakeShellServices shell;
};

TEST_F(PartialMixTest, FirstOpeningStartsFromAnEmptyAirCylinder)
{
    auto w = open(); // the default template: Air only
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_EQ(w->CurFill->text(), "1");
    EXPECT_EQ(mix(w->CurO2, w->CurHe, w->CurN2), QStringList({"21", "0", "79"}));
    EXPECT_EQ(w->DesFill->text(), "200");
    EXPECT_EQ(mix(w->DesO2, w->DesHe, w->DesN2), QStringList({"", "", ""})) << "no gas to preset";
    EXPECT_EQ(w->Combo1->count(), 0);
    EXPECT_EQ(w->Label22->text(), GetLangStringQ(6314));

    activeDive(false);
    auto imperial = open();
    EXPECT_EQ(imperial->CurFill->text(), "14.7");
    EXPECT_EQ(imperial->DesFill->text(), "2940");
    EXPECT_EQ(imperial->Label20->text(), GetLangStringQ(6315));
}

TEST_F(PartialMixTest, TheGasListPresetsTheDesiredMix)
{
    activeDive(true, {gas("EAN32", 32, 0), gas("Trimix 18/45", 18, 45)});
    auto w = open();
    ASSERT_EQ(w->Combo1->count(), 2) << "Air is not listed";
    EXPECT_EQ(w->Combo1->itemText(0), "EAN32");
    EXPECT_EQ(w->Combo1->itemText(1), "Trimix 18/45");
    EXPECT_EQ(mix(w->DesO2, w->DesHe, w->DesN2), QStringList({"32", "0", "68"}));

    // From 60/0 a gas with 45 % He set one field at a time would pass through 60/45.
    type(w->DesO2, "60");
    QTest::keyClick(w->Combo1, Qt::Key_Down); // no "over 100 %" box may come
    EXPECT_EQ(mix(w->DesO2, w->DesHe, w->DesN2), QStringList({"18", "45", "37"}));
    EXPECT_EQ(airTop(*w), QStringList({"16.3", "90.0", "92.7"}));

    // The same for the preset of the properties dialog: never 60/45 on the way.
    w->setmix(60, 0);
    EXPECT_EQ(mix(w->DesO2, w->DesHe, w->DesN2), QStringList({"60", "0", "40"}));
}

TEST_F(PartialMixTest, RefusesPercentagesThatCannotBe)
{
    auto w = open();
    type(w->CurO2, "abc");
    EXPECT_EQ(w->CurO2->text(), "abc");
    EXPECT_EQ(w->CurN2->text(), "79") << "not a number: nothing happens";
    type(w->CurO2, "120");
    EXPECT_EQ(w->CurO2->text(), "0");
    EXPECT_EQ(w->CurN2->text(), "100");

    type(w->CurO2, "60");
    TestHooks::msgBoxAnswers.push_back(vbOK);
    type(w->CurHe, "50");
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u) << "told once, when the text becomes 50";
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(6335));
    EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbCritical + vbOKOnly);
    EXPECT_EQ(w->CurN2->text(), "-10") << "kept and shown";
    for (const QString &text : realGas(*w) + airTop(*w))
        EXPECT_FALSE(text.contains("nan") || text.contains("inf")) << text.toStdString();

    type(w->DesFill, "-5");
    EXPECT_EQ(w->DesFill->text(), "0");
}

TEST_F(PartialMixTest, ShowsBothAnswersAndPrintsOnlyWhatTheAirTopReaches)
{
    auto w = open();
    type(w->DesO2, "32");
    type(w->DesHe, "0");
    EXPECT_EQ(airTop(*w), QStringList({"27.8", "0.0", "171.2"}));
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_EQ(w->Command1->text(), GetLangStringQ(6310));
    EXPECT_EQ(w->IdealTopHe->text(), "0") << "no He step";

    type(w->DesO2, "18");
    type(w->DesHe, "45");
    // Each real-gas label is what to add of that gas (He to about 80.5 bar, less the
    // 1 bar in the cylinder), so the three make up the fill.
    EXPECT_NEAR(w->IdealTopHe->text().toDouble(), 79.5, 0.15);
    double sum = 0;
    for (const QString &text : realGas(*w))
        sum += text.toDouble();
    EXPECT_NEAR(sum, 199, 0.15);

    type(w->DesHe, "0"); // EAN18: air alone brings too much O2
    EXPECT_EQ(airTop(*w), QStringList({"-7.6", "0.0", "206.6"}));
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_EQ(w->Command1->text(), GetLangStringQ(3033));

    // No O2 wanted: the real gas has no answer, and shows none rather than the last one.
    type(w->DesO2, "0");
    EXPECT_EQ(realGas(*w), QStringList({"", "", ""}));

    // 21/0 at 100 bar from 150 bar of EAN32: gas would have to be let out.
    w->Check1->setChecked(false);
    type(w->CurFill, "150");
    type(w->CurO2, "32");
    type(w->CurHe, "0");
    type(w->DesFill, "100");
    type(w->DesO2, "21");
    EXPECT_EQ(airTop(*w), QStringList({"", "", ""}));
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_FALSE(w->PartialReachable());
}

// A fill is read as meant; one no cylinder holds is refused once and leaves nothing to print.
TEST_F(PartialMixTest, FillsAreReadAsMeantAndRefusedBeyondACylinder)
{
    std::string english = kDefaultLanguageFile;
    ASSERT_EQ(LoadLanguageDll(english), 1);
    gDecimalSeparator = ",";
    gThousandSeparator = ".";
    auto w = open();
    type(w->DesO2, "32");
    type(w->DesHe, "0");
    type(w->DesFill, "200.5");
    EXPECT_EQ(airTop(*w), QStringList({"27,9", "0,0", "171,6"})) << "200.5 bar, not 2005";
    for (const QString typed : {"1E+39", "99999999999"}) {
        TestHooks::msgBoxAnswers.push_back(vbOK);
        type(w->DesFill, typed); // told once, as "1E" or "999" is typed
        EXPECT_TRUE(TestHooks::msgBoxes.back().prompt.startsWith("Cylinder wanted - Fill pressure: \"" + typed.left(2)));
        EXPECT_EQ(airTop(*w) + realGas(*w), QStringList({"", "", "", "", "", ""}));
        EXPECT_FALSE(w->Command1->isEnabled());
    }
    EXPECT_EQ(TestHooks::msgBoxes.size(), 2u);
    type(w->DesFill, "200");
    EXPECT_TRUE(w->Command1->isEnabled());
    FreeLanguageDll();
}

TEST_F(PartialMixTest, KeepsItsDivesUnitWhateverDiveIsActiveLater)
{
    activeDive(false, {gas("EAN32", 32, 0)});
    auto imperial = open();
    type(imperial->DesFill, "3000");
    EXPECT_NEAR(imperial->PrintData().DesFill, 204.0816, 1e-3) << "held in bar";
    // Results in psi: the three amounts make up the 3000 - 14.7 psi to fill.
    EXPECT_EQ(imperial->AirTopO2->text(), "417.7");
    EXPECT_NEAR(imperial->AirTopO2->text().toDouble() + imperial->AirTopHe->text().toDouble()
                    + imperial->AirTopAir->text().toDouble(),
                2985.3, 0.15);

    activeDive(true, {gas("EAN32", 32, 0)});
    auto metric = open();
    shell.activeProfile = 1; // the imperial dive is active again
    type(metric->CurFill, "1");
    EXPECT_EQ(airTop(*metric), QStringList({"27.8", "0.0", "171.2"})) << "1 is still bar";

    // Each window's Print hands the sheet its own blend in its own unit.
    EXPECT_FALSE(imperial->PrintData().Metric);
    EXPECT_FLOAT_EQ(imperial->PrintData().CurFill, 14.7f) << "as typed, in psi";
    const MixPrintData &p = metric->PrintData();
    EXPECT_TRUE(p.Metric);
    EXPECT_EQ((std::vector<float>{p.CurFill, p.CurO2, p.CurHe, p.CurN2, p.DesFill, p.DesO2, p.DesHe, p.DesN2}),
              (std::vector<float>{1, 21, 0, 79, 200, 32, 0, 68}));
    EXPECT_EQ(FormatFixed(p.AirTopAir / 100, 1), "171.2") << "percent x bar";
    EXPECT_FLOAT_EQ(p.IdealTopN2, metric->IdealTopN2->text().toFloat()) << "as shown";

    // Print puts that window's blend on the sheet: the imperial one, printed after the
    // metric one computed last, still in psi.
    const auto printed = [](frmPartialMix &w) {
        w.Command1->click();
        const TestSpool spool = ReadTestSpool();
        return spool.pages.size() == 1 ? spool.pages[0].texts() : std::vector<std::string>();
    };
    const auto has = [](const std::vector<std::string> &texts, const QString &text) {
        return std::find(texts.begin(), texts.end(), text.toStdString()) != texts.end();
    };
    const std::vector<std::string> psi = printed(*imperial);
    EXPECT_TRUE(has(psi, "14.7 " + GetLangStringQ(6315))) << "the current fill as typed";
    EXPECT_TRUE(has(psi, "3000.0 " + GetLangStringQ(6315)));
    EXPECT_TRUE(has(psi, "417.7 " + GetLangStringQ(6315))) << "the O2 the window shows";
    const std::vector<std::string> bar = printed(*metric);
    EXPECT_TRUE(has(bar, "200.0 " + GetLangStringQ(6314)));
    EXPECT_TRUE(has(bar, "171.2 " + GetLangStringQ(6314)));
}

TEST_F(PartialMixTest, KeepsTheDiversCylindersBetweenUses)
{
    {
        auto w = open();
        w->Check1->setChecked(false); // the diver's own cylinder: nothing kept yet
        type(w->CurFill, "50");
        type(w->CurO2, "10");
        type(w->CurHe, "85");
        w->Check1->setChecked(true);
        EXPECT_EQ(w->CurFill->text(), "1");
        type(w->DesO2, "21");
        type(w->DesHe, "35");
        type(w->DesFill, "230");
        w->Command2->click(); // OK with the box ticked keeps the diver's own cylinder
        EXPECT_EQ(GetRegString("Mix", "AirCylinder"), "1");
        EXPECT_EQ(GetRegString("Mix", "sCurFill"), "50");
        EXPECT_EQ(GetRegString("Mix", "sCurO2"), "10");
        // Restored whole: 85 % He is never checked against the 21 % O2 of the air.
        w->Check1->setChecked(false);
        EXPECT_EQ(w->CurFill->text(), "50");
        EXPECT_EQ(mix(w->CurO2, w->CurHe, w->CurN2), QStringList({"10", "85", "5"}));
    }
    // Opened again with the box cleared: the last blend is now in the cylinder, at 1 bar;
    // the desired mix comes back, the desired fill does not.
    auto again = open();
    EXPECT_FALSE(again->Check1->isChecked());
    EXPECT_EQ(again->CurFill->text(), "1");
    EXPECT_EQ(mix(again->CurO2, again->CurHe, again->CurN2), QStringList({"21", "35", "44"}));
    EXPECT_EQ(mix(again->DesO2, again->DesHe, again->DesN2), QStringList({"21", "35", "44"}));
    EXPECT_EQ(again->DesFill->text(), "200");
}

TEST_F(PartialMixTest, AFillPastedIntoAnEmptiedBoxIsToldOnce)
{
    std::string english = kDefaultLanguageFile;
    ASSERT_EQ(LoadLanguageDll(english), 1);
    auto w = open();
    w->Check1->setChecked(false); // nothing kept of the diver's own cylinder: the fill is empty
    size_t told = 0;
    for (const auto &[box, pasted] :
         {std::pair{w->CurFill, QString("600")}, {w->DesFill, "600"}, {w->CurFill, "2x0"}, {w->DesFill, "2x0"}}) {
        box->clear();
        TestHooks::msgBoxAnswers.push_back(vbOK);
        box->setText(pasted);
        box->setText(pasted + "0"); // still no fill: not told again
        ASSERT_EQ(TestHooks::msgBoxes.size(), ++told) << pasted.toStdString();
        EXPECT_TRUE(TestHooks::msgBoxes.back().prompt.contains("\"" + pasted + "\""));
    }
    for (const QString pasted : {"3y0", "abc"}) { // over the last one told, and letters alone
        TestHooks::msgBoxAnswers.push_back(vbOK);
        w->CurFill->setText(pasted);
        ASSERT_EQ(TestHooks::msgBoxes.size(), ++told) << pasted.toStdString();
    }
}

// Inputs the window cannot compute (no number, beyond a Single, an unreachable blend)
// show no answer and cannot be printed; an emptied cylinder has both answers.
TEST_F(PartialMixTest, ShowsAnAnswerOnlyForTheInputsOnScreen)
{
    activeDive(true, {gas("EAN32", 32, 0)});
    auto w = open();
    const QStringList none = {"", "", "", "", "", ""};
    TestHooks::msgBoxAnswers.push_back(vbOK); // the 40 nines are no fill a cylinder holds
    for (const QString &fill : {QStringLiteral("abc"), QString(40, '9')}) {
        type(w->CurFill, fill);
        EXPECT_EQ(airTop(*w) + realGas(*w), none);
        EXPECT_FALSE(w->Command1->isEnabled());
    }
    type(w->CurFill, "0");
    EXPECT_EQ(realGas(*w)[0], "0") << "no He step";
    EXPECT_NEAR(realGas(*w)[1].toDouble() + realGas(*w)[2].toDouble(), 200, 0.15);
    w->Check1->setChecked(false); // nothing kept of the diver's own cylinder yet
    EXPECT_EQ(airTop(*w) + realGas(*w), none);
    w->Check1->setChecked(true);
    type(w->CurHe, "45"); // 21/45 in the cylinder, EAN32 wanted
    EXPECT_EQ(airTop(*w) + realGas(*w), none);

    // Rounded from the amount, not from a Single: 1864.966 / 100 x 14.7 = 274.149994.
    activeDive(false);
    auto psi = open();
    for (const auto &[field, text] : {std::pair{psi->CurFill, "39.7"}, {psi->CurHe, "50"}, {psi->DesFill, "735"},
                                      {psi->DesO2, "21"}, {psi->DesHe, "40"}})
        type(field, text);
    EXPECT_EQ(psi->AirTopHe->text(), "274.1");
}
