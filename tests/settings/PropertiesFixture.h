#pragma once
// The settings dialog without a main window: the fake shell services say which dive is
// active, dive 1 holds the settings of the shipped default template (metric, open
// circuit, ascent 3 m/min from the surface, 9 from 6 m and 10 from 30 m, descent
// 20 m/min, gases Air, EAN32, EAN50, Oxygen and three trimixes, deco ppO2 1.6, maximum
// ppO2 1.4) and the English language table is loaded.

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/TemplateModule.h"
#include "platform/FlexGrid.h"
#include "platform/TestHooks.h"
#include "settings/frmProperties.h"
#include "tests/support/FakeShellServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

class PropertiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The program's own font (Main sets it), so the pages are laid out as the diver sees them.
        font_ = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        std::string language = language_;
        ASSERT_EQ(LoadLanguageDll(language), 1);
        ResetEngineGlobals();
        ASSERT_TRUE(LoadTemplate(gSettings[0].Template, "", ""));
        gSettings[0].TemplateName = "Default";
        gSettings.resize(2);
        gSettings[1] = gSettings[0];
        shell.activeProfile = 1;
        shell.openDives = {1};
    }
    void TearDown() override
    {
        dialog.reset();
        FreeLanguageDll();
        ResetEngineGlobals();
        QApplication::setFont(font_);
    }

    static TemplateRec &dive() { return gSettings[1].Template; }

    // Opens the dialog on the active dive, as the main window's command does.
    frmProperties &open()
    {
        dialog = std::make_unique<frmProperties>(shell.activeProfile);
        dialog->show();
        QApplication::processEvents();
        return *dialog;
    }

    // The diver's click on a unit.
    void clickUnit(bool metric) { dialog->Option1[metric ? 1 : 0]->click(); }

    static QStringList column(const FlexGrid *grid, int col)
    {
        QStringList out;
        for (int r = 1; r < grid->Rows(); ++r)
            out << grid->TextMatrix(r, col);
        return out;
    }

    FakeShellServices shell;
    std::unique_ptr<frmProperties> dialog;
    std::string language_ = kDefaultLanguageFile;
    QFont font_;
};
