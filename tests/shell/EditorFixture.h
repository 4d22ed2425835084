#pragma once
// A profile editor on dive 1, shown offscreen: a metric open-circuit trimix dive with
// descent 20 m/min, ascent 9 m/min below 6 m and 3 m/min above, and gases Air,
// Tx 18/45, EAN50 and oxygen.

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "platform/PictureBox.h"
#include "platform/TestHooks.h"
#include "platform/Twips.h"
#include "shell/frmWaypointEditor.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <memory>

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string lang = kDefaultLanguageFile;
        LoadLanguageDll(lang);
        ResetEngineGlobals();
        gSettings.resize(2);
        TemplateRec &t = dive();
        t.Metric = true;
        t.OpenCircuit = true;
        t.StartPressure = t.EndPressure = 1.013f;
        t.StepSize = 3;
        t.LastStop = 3;
        t.DescendRates = {{0, 0, 20, 0}};
        t.AscendRates = {{0, 0, 3, 0}, {0, 0, 9, 6}};
        t.Gases = {AirGas(), GasRecord{"Tx 18/45", 18, 37, 45, 0}, GasRecord{"EAN50", 50, 50, 0, 0},
                   GasRecord{"Oxygen", 100, 0, 0, 0}};
        host.activeTag = 1;
        editor = std::make_unique<frmWaypointEditor>();
        editor->setTag(QStringLiteral("1"));
        editor->resize(900, 650);
        editor->show();
        editor->SetTemplate();
        QApplication::processEvents();
    }

    void TearDown() override
    {
        editor.reset();
        FreeLanguageDll();
    }

    static TemplateRec &dive() { return gSettings[1].Template; }

    // Logs a user waypoint and replays, as the waypoint dialog's OK does.
    void leg(float depth, float minutes, int16_t mix = 1)
    {
        editor->SaveUserEnteredWaypoints(minutes, depth, mix, false);
        editor->ReEvaluateUserEnteredWaypoints();
    }

    // The pixel of pbGrid at a run time and depth.
    QPoint pixelOf(float minutes, float depth) const
    {
        const PlotPoint p = editor->WorldToPixel(minutes, -depth);
        return QPoint(TwipsToPixels(p.x), TwipsToPixels(p.y));
    }

    PictureBox *grid() const { return editor->pbGrid; }

    FakeEngineHost host;
    ScopedEnv install{"DOLV_INSTALL_DIR", DOLV_SOURCE_DIR};
    std::unique_ptr<frmWaypointEditor> editor;
};
