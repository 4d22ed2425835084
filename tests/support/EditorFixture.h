#pragma once
// DOLV started offscreen as the program starts, with its first dive window (dive 1) in
// the main window. Shared by every test binary; each test file derives its own fixture
// name from it. The dive has the default template: metric, open circuit, stops every
// 3 m, GF 30/80, descent 20 m/min, ascent 10 m/min below 30 m, 9 below 6 m and 3 above;
// gases Air, EAN32, EAN50, Oxygen and three trimixes. Its decompression switches to
// EAN50 at 21 m and to oxygen at 6 m.

#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "platform/PictureBox.h"
#include "platform/TestHooks.h"
#include "platform/Twips.h"
#include "shell/MainModule.h"
#include "shell/frmLiability.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

class EditorFixture : public ::testing::Test {
public:
    // The main window's commands that follow the dive's state.
    struct Commands {
        bool ascent, info, nextDive, clearDeco;
        bool operator==(const Commands &) const = default;
    };

protected:
    void SetUp() override
    {
        SetCommandLine(QString());
        TestHooks::modalHandlers.push_back([](QDialog *d) { static_cast<frmLiability *>(d)->cbAgree->click(); });
        ASSERT_TRUE(Main());
        gMainForm->resize(1100, 850);
        editor = gDiveWindows.at(1);
        ASSERT_TRUE(editor);
        editor->parentWidget()->resize(1000, 700);
        QApplication::processEvents();

        TemplateRec &t = dive();
        ASSERT_EQ(t.Gases[kEAN50].Name, "EAN50");
        ASSERT_EQ(t.Gases[kOxygen].Name, "Oxygen");
        ASSERT_EQ(t.Gases[kTrimix].Name, "Trimix 18/45");
        // The list is read shallow to deep: the richest gas allowed at a depth wins.
        t.GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
        // The limit warnings have their own tests; here they would only ask questions.
        t.PPO2Low = t.PPO2High = t.MaxEnd = false;
    }

    void TearDown() override { ResetShell(); }

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

    // The toolbar's buttons; their menu items go with them (the Ascent button alone
    // leaves its menu item as it was when pressed).
    static Commands commands()
    {
        const bool ascent = gMainForm->Buttons(6)->isEnabled();
        const bool info = gMainForm->Buttons(7)->isEnabled();
        const bool next = gMainForm->Button(QStringLiteral("Multilevel"))->isEnabled();
        EXPECT_EQ(gMainForm->mnuDiveInformation->isEnabled(), info);
        EXPECT_EQ(gMainForm->mnuSurface->isEnabled(), next);
        return {ascent, info, next, gMainForm->mnucleardecopoints->isEnabled()};
    }

    QPointer<frmWaypointEditor> editor;
};

inline std::ostream &operator<<(std::ostream &os, const EditorFixture::Commands &c)
{
    return os << "{ascent " << c.ascent << ", info " << c.info << ", next dive " << c.nextDive
              << ", clear deco " << c.clearDeco << "}";
}
