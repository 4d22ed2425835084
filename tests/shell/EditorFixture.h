#pragma once
// A profile editor on dive 1, shown offscreen, with the default template: metric, open
// circuit, stops every 3 m, GF 30/80, descent 20 m/min, ascent 10 m/min below 30 m,
// 9 below 6 m and 3 above; gases Air, EAN32, EAN50, Oxygen and three trimixes. The
// decompression switches to EAN50 at 21 m and to oxygen at 6 m.

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/TemplateModule.h"
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
        ASSERT_TRUE(LoadTemplate(t, "", ""));
        ASSERT_EQ(t.Gases[kEAN50].Name, "EAN50");
        ASSERT_EQ(t.Gases[kOxygen].Name, "Oxygen");
        ASSERT_EQ(t.Gases[kTrimix].Name, "Trimix 18/45");
        t.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
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

    // Gases of the default template by their place in its list.
    static constexpr int16_t kAir = 0, kEAN50 = 2, kOxygen = 3, kTrimix = 5;

    // Logs a user waypoint and replays, as the waypoint dialog's OK does.
    void leg(float depth, float minutes, int16_t mix = kTrimix)
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
