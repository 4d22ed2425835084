// The gas blender must be readable whole in English and in German (the longer texts): no
// caption, label, result or button is cut off and no two cover each other, with the
// longest results it can show.

#include "blending/frmPartialMix.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "platform/RegEditModule.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/TextFits.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

class BlendingLayoutTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        std::string name = GetParam();
        ASSERT_EQ(LoadLanguageDll(name), 1);
        for (const char *value : {"AirCylinder", "sDesO2", "sDesN2", "sDesHe"})
            SetRegString(QStringLiteral("Mix"), QLatin1String(value), QString());
    }
    void TearDown() override
    {
        std::string name = kDefaultLanguageFile;
        LoadLanguageDll(name);
        ResetEngineGlobals();
    }
    FakeShellServices shell;
};

TEST_P(BlendingLayoutTest, NoTextIsCutOffOrCovered)
{
    SettingsRecord dive;
    dive.Template.Metric = false;
    dive.Template.Gases.push_back(GasRecord{"Trimix 10/70 for the deep end", 10, 20, 70, 0});
    gSettings.push_back(dive);

    frmPartialMix w(1);
    EXPECT_EQ(ClippedTexts(&w), "") << "opened";
    // The widest numbers the results show: thousands of psi, with a sign.
    w.Check1->setChecked(false);
    w.CurFill->setText(QStringLiteral("3000"));
    w.CurO2->setText(QStringLiteral("21"));
    w.CurHe->setText(QStringLiteral("0"));
    w.DesFill->setText(QStringLiteral("4500"));
    w.DesO2->setText(QStringLiteral("12"));
    w.DesHe->setText(QStringLiteral("0"));
    EXPECT_EQ(ClippedTexts(&w), "") << "long results";
    EXPECT_FALSE(w.AirTopAir->text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Languages, BlendingLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &p) { return std::string(p.param).substr(5, 2); });
