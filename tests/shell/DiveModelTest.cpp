// Dives apart from their windows: a saved series replayed and planned in the dive model
// gives the windows' waypoints, and the plan call leaves every record and window alone.

#include "tests/support/EditorFixture.h"

#include "engine/DOLVmiscModule.h"
#include "engine/DiveModel.h"
#include "engine/TemplateModule.h"
#include "engine/TextLineWriter.h"
#include "platform/ShellServices.h"
#include "shell/MainModule.h"
#include "shell/DiveWindows.h"
#include "shell/ProfileFile.h"

#include <QLabel>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace {

class DiveModelTest : public EditorFixture {
protected:
    static ClassUseractions log(std::initializer_list<std::tuple<float, float, int16_t>> legs, bool deco)
    {
        ClassUseractions l;
        for (const auto &[depth, minutes, mix] : legs) {
            l.NewAction();
            l.setuser(l.GetLength(), depth, minutes, mix);
        }
        if (deco) {
            l.NewAction();
            l.setdeco(l.GetLength());
        }
        return l;
    }

    // A series file of three dives on the fixture's settings: trimix to 45 m computed,
    // after 90 minutes EAN32 to 30 m computed, after two hours air at 21 and 15 m with
    // its ascent not yet computed.
    std::string writeSeries()
    {
        const std::string path = dir.filePath("three.prf").toStdString();
        std::ofstream file(path, std::ios::binary);
        TextLineWriter out(file);
        WriteProfileDive(dive(), 0, log({{45, 25, kTrimix}}, true), out);
        WriteProfileDive(dive(), 90, log({{30, 30, kEAN32}}, true), out);
        WriteProfileDive(dive(), 120, log({{21, 20, kAir}, {15, 15, kAir}}, false), out);
        return path;
    }

    static std::vector<ProfileFileDive> readSeries(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return ReadProfileFile(in);
    }

    static void expectSameWaypoints(const ClassProfile &windowless, const ClassProfile &window)
    {
        ASSERT_EQ(windowless.GetLength(), window.GetLength());
        for (int16_t i = 0; i <= window.GetLength(); ++i) {
            SCOPED_TRACE(i);
            const WayPoint &a = windowless.point(i);
            const WayPoint &b = window.point(i);
            EXPECT_EQ(a.Depth, b.Depth);
            EXPECT_EQ(a.RunTime, b.RunTime);
            EXPECT_EQ(a.SegmentTime, b.SegmentTime);
            EXPECT_EQ(a.StopDepth, b.StopDepth);
            EXPECT_EQ(a.StopTime, b.StopTime);
            EXPECT_EQ(a.Status, b.Status);
            EXPECT_EQ(a.GasMixName, b.GasMixName);
            EXPECT_EQ(a.TotalCNS, b.TotalCNS);
            EXPECT_EQ(a.TotalOTU, b.TotalOTU);
            EXPECT_EQ(a.N2Compartments, b.N2Compartments);
            EXPECT_EQ(a.HeCompartments, b.HeCompartments);
        }
    }

    // Everything a record holds, as text.
    static std::string recordText(const SettingsRecord &r)
    {
        std::ostringstream s;
        TextLineWriter out(s);
        WriteTemplateBlock(r.Template, out);
        s << r.SlotFree << r.ProfileChanged << r.TemplateName << '|' << r.ProfileName << '|' << r.ProfileDir << '|'
          << r.PrevProfile << '|' << r.OTU << '|' << r.CNS << '|' << r.SurfTime << '|' << r.Template.Changed;
        for (int i = 1; i <= kCompartments; ++i)
            s << '|' << r.HeCompartments[i] << '|' << r.N2Compartments[i];
        return s.str();
    }

    static constexpr int16_t kEAN32 = 1;
    QTemporaryDir dir;
};

TEST_F(DiveModelTest, ASavedSeriesReplaysAndPlansWithoutAWindowAsTheWindowsDo)
{
    const std::string path = writeSeries();
    editor->CloseByCode();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());

    // No window: the dives of the file in the model, each replayed before the next
    // starts from it, then the last one's ascent planned.
    const PlanOptions options = AlgorithmOptions();
    std::vector<std::shared_ptr<Dive>> model;
    int16_t previous = -1;
    for (const ProfileFileDive &d : readSeries(path)) {
        model.push_back(AppendSeriesDive(previous, d.Template, d.SurfTime, d.Log, "three.prf", ""));
        ReplayDive(*model.back(), DecompressionRun(options));
        previous = model.back()->Number();
    }
    ASSERT_EQ(model.size(), 3u);
    ComputeAscent(*model[2], DecompressionRun(options));
    EXPECT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(model[0]->State, EditorComputed);
    EXPECT_EQ(model[2]->SurfProfileNumber, 3);
    EXPECT_EQ(LastDiveOfSeries(model[0]->Number()), model[2]->Number());

    // The windows: the same file opened, the last dive's ascent computed.
    TestHooks::fileAnswers.push_back(QString::fromStdString(path));
    gMainForm->mnuOpen->trigger();
    std::vector<frmWaypointEditor *> windows;
    for (int16_t n = 1; n < static_cast<int16_t>(gDiveWindows.size()); ++n)
        if (DiveWindow(n))
            windows.push_back(DiveWindow(n));
    ASSERT_EQ(windows.size(), 3u);
    windows[2]->StartDeco();

    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NE(model[k]->Number(), windows[k]->ProfileNumber()) << "dives of their own";
        expectSameWaypoints(model[k]->InputProfile, windows[k]->dive().InputProfile);
        const SettingsRecord &a = model[k]->Record();
        const SettingsRecord &b = gSettings[size_t(windows[k]->ProfileNumber())];
        EXPECT_EQ(a.N2Compartments, b.N2Compartments);
        EXPECT_EQ(a.CNS, b.CNS);
        EXPECT_EQ(a.OTU, b.OTU);
        EXPECT_EQ(model[k]->LastRunTime, windows[k]->LastRunTime());
    }
    // The computed dives end at the surface after stops.
    const ClassProfile &last = model[2]->InputProfile;
    EXPECT_EQ(last.getDepth(last.GetLength()), 0);
    EXPECT_GT(FindEndUserProfile(last), 0);
}

TEST_F(DiveModelTest, ThePlanCallLeavesRecordsAndWindowsAloneAndReturnsItsWarnings)
{
    leg(30, 20, kTrimix);
    editor->StartDeco();
    QApplication::processEvents();
    std::vector<std::string> records;
    for (const SettingsRecord &r : gSettings)
        records.push_back(recordText(r));
    const ClassProfile shown = editor->dive().InputProfile;
    const ClassUseractions logged = editor->dive().UserEnteredWaypoints;
    const QImage picture = editor->grab().toImage();
    const QString status = gMainForm->Panels(1)->text();
    const QString caption = editor->windowTitle();

    // A table of 12 depths by 12 bottom times, each on its own changed copy of the dive's
    // settings, as the table generator will run it. EAN32 above 1.4 bar ppO2 (deeper
    // than 33.75 m) is warned about.
    int runs = 0;
    for (int di = 0; di < 12; ++di) {
        for (int ti = 0; ti < 12; ++ti) {
            TemplateRec settings = gSettings[1].Template;
            settings.GFLow = 0.2f + 0.05f * float(ti % 4);
            settings.GFOn = true;
            settings.PPO2High = true;
            settings.MaxPPO2 = 1.4f;
            settings.GasChanges.clear(); // EAN32 all the way
            const float depth = 15.0f + 5 * float(di);
            float bottom = 10.0f + 5 * float(ti);
            ClassProfile legs;
            AddTableTravel(legs, settings, 0, 0, bottom, depth, kEAN32, 0);
            const PlanResult plan = PlanDive(settings, DiveStartState{}, legs, AlgorithmOptions());
            ++runs;
            EXPECT_EQ(plan.Profile.getDepth(plan.Profile.GetLength()), 0);
            EXPECT_GT(plan.End.N2Compartments[16], 0);
            const bool warned = !plan.Warnings.empty() && plan.Warnings[0].Kind == PlanWarningKind::PPO2Above;
            EXPECT_EQ(warned, depth * 0.1f * 0.32f + 0.32f > 1.405f) << depth << " m";
        }
    }
    EXPECT_EQ(runs, 144);

    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    ASSERT_EQ(gSettings.size(), records.size());
    for (size_t i = 0; i < gSettings.size(); ++i)
        EXPECT_EQ(recordText(gSettings[i]), records[i]) << "record " << i;
    expectSameWaypoints(editor->dive().InputProfile, shown);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), logged.GetLength());
    EXPECT_EQ(editor->grab().toImage(), picture);
    EXPECT_EQ(gMainForm->Panels(1)->text(), status);
    EXPECT_EQ(editor->windowTitle(), caption);
}

} // namespace
