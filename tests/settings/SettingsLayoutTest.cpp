// What the diver reads in the gradient-factor and custom-gas dialogs is whole, in
// English and in German (the longer texts): no caption, label or button text is cut off
// and no two of them cover each other.

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "settings/frmConservatism.h"
#include "settings/frmGasBlend.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/ScopedEnv.h"

#include "tests/support/TextFits.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {


class SettingsLayoutTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        std::string name = GetParam();
        ASSERT_EQ(LoadLanguageDll(name), 1);
        // The program's own font (set at start-up), which the layouts are made for.
        font_ = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        gSettings.resize(2);
        gSettings[1].Template.GFLow = 0.3f;
        gSettings[1].Template.GFHigh = 0.85f;
        shell.activeProfile = 1;
        shell.openDives = {1};
    }
    void TearDown() override
    {
        QApplication::setFont(font_);
        FreeLanguageDll();
        ResetEngineGlobals();
    }

    ScopedEnv install{"DOLV_INSTALL_DIR", DOLV_SOURCE_DIR};
    FakeShellServices shell;
    QFont font_;
};

} // namespace

TEST_P(SettingsLayoutTest, NoTextIsCutOffOrCovered)
{
    frmConservatism conservatism(1);
    EXPECT_EQ(conservatism.Check1->text(), GetLangStringQ(1709)) << "the window speaks the language";
    EXPECT_EQ(ClippedTexts(&conservatism), "");
    frmGasBlend gas;
    gas.SetTemplate(1);
    EXPECT_EQ(ClippedTexts(&gas), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &p) { return std::string(p.param).substr(5, 2); });
