// The file commands of the main window: the save question when a series closes, files
// that cannot be opened, template files and the dive-settings window.

#include "tests/support/EditorFixture.h"

#include "engine/TemplateModule.h"
#include "engine/TextLineWriter.h"
#include "settings/frmProperties.h"
#include "shell/DiveWindows.h"
#include "shell/FileIOModule.h"
#include "shell/ProfileFile.h"
#include "platform/ShellServices.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

class SeriesFilesTest : public EditorFixture {
protected:
    // Dive 1 computed and a second dive after it, changed only in dive 2.
    void twoDiveSeries()
    {
        leg(30, 20);
        editor->StartDeco();
        gMainForm->mnuSurface_Click();
        gMainForm->findChild<QDialog *>(QStringLiteral("frmMultiLevel"))->findChild<QPushButton *>("Command2")->click();
        ASSERT_TRUE(gDiveWindows.size() > 2 && gDiveWindows[2]);
        gDiveWindows[2]->SaveUserEnteredWaypoints(20, 18, kAir, false);
        gDiveWindows[2]->ReEvaluateUserEnteredWaypoints();
        gSettings[1].ProfileChanged = false;
        gSettings[2].ProfileChanged = true;
    }

    static int openDives() { return int(gMainForm->MdiArea()->subWindowList().size()); }

    QTemporaryDir dir;
};

TEST_F(SeriesFilesTest, SaveQuestionOfAChangedSeries)
{
    twoDiveSeries();
    QWidget *first = editor->parentWidget();
    const QString saved = dir.filePath("dives.prf");

    // Cancel, and a Yes whose save is cancelled or fails, keep every dive.
    TestHooks::msgBoxAnswers = {vbCancel, vbYes, vbYes, vbOK};
    TestHooks::fileAnswers = {QString(), dir.filePath("no such folder/dives.prf")};
    EXPECT_FALSE(first->close());
    EXPECT_FALSE(first->close());
    EXPECT_FALSE(first->close());
    ASSERT_EQ(TestHooks::msgBoxes.size(), 4u) << "the question three times, then the failed save";
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.startsWith(GetLangStringQ(3057)));
    EXPECT_TRUE(TestHooks::msgBoxes[3].prompt.startsWith(GetLangStringQ(2311)));
    EXPECT_EQ(TestHooks::msgBoxes[3].buttons, vbCritical + vbOKOnly);
    EXPECT_EQ(openDives(), 2);
    EXPECT_EQ(gDiveWindows[2]->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "no file, no temporary file";

    // Closing the program asks the same first: Cancel keeps every window.
    TestHooks::msgBoxAnswers = {vbCancel};
    EXPECT_FALSE(gMainForm->close());
    EXPECT_EQ(openDives(), 2);

    // Yes with a name saves the whole series and closes it.
    TestHooks::msgBoxAnswers = {vbYes};
    TestHooks::fileAnswers = {saved};
    EXPECT_TRUE(first->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openDives(), 0);
    const std::string text = FileBytes(saved.toStdString());
    EXPECT_NE(text.find("SurfTime = 60\r\n18,20,0,0,\r\nEnd of Profile\r\n"), std::string::npos);
}

TEST_F(SeriesFilesTest, FilesThatCannotBeReadOpenNothing)
{
    leg(30, 20);
    const ClassUseractions log = editor->dive().UserEnteredWaypoints;
    const size_t records = gSettings.size();

    TestHooks::fileAnswers.push_back(dir.filePath("good.prf"));
    gMainForm->mnuSaveProfileAs->trigger();
    const std::string good = FileBytes(dir.filePath("good.prf").toStdString());
    ASSERT_FALSE(good.empty());
    const std::pair<const char *, std::string> bad[] = {
        {"truncated.prf", good.substr(0, good.size() / 2)},
        {"word.prf", good.substr(0, good.find("30,20")) + "30,twenty,0,0,\r\nEnd of Profile\r\n"},
        {"missing.prf", ""},
    };
    for (const auto &[name, content] : bad) {
        SCOPED_TRACE(name);
        if (!content.empty())
            std::ofstream(dir.filePath(name).toStdString(), std::ios::binary) << content;
        TestHooks::msgBoxes.clear();
        TestHooks::msgBoxAnswers.push_back(vbOK);
        TestHooks::fileAnswers.push_back(dir.filePath(name));
        gMainForm->mnuOpen->trigger();
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        // The path, the text, and what the reader found wrong.
        const QString head = dir.filePath(name) + "\r\n" + GetLangStringQ(2310) + "\r\n";
        EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.startsWith(head)) << TestHooks::msgBoxes[0].prompt.toStdString();
        EXPECT_GT(TestHooks::msgBoxes[0].prompt.size(), head.size());
        EXPECT_EQ(openDives(), 1);
        EXPECT_EQ(gSettings.size(), records);
        EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), log.GetLength());
    }
    // A cancelled dialog does nothing at all.
    TestHooks::fileAnswers.push_back(QString());
    gMainForm->mnuOpen->trigger();
    EXPECT_EQ(openDives(), 1);
}

TEST_F(SeriesFilesTest, FilesNoPlannerCanFollowAreRefusedAndTouchNothing)
{
    // Each of these once loaded and froze the planner for ever, losing every open dive.
    leg(30, 20);
    editor->StartDeco();
    const auto snapshot = [] {
        std::ostringstream text;
        TextLineWriter out(text);
        for (size_t i = 1; i < gDiveWindows.size(); ++i)
            if (gDiveWindows[i])
                WriteProfileDive(gSettings[i].Template, gSettings[i].SurfTime, gDiveWindows[i]->dive().UserEnteredWaypoints, out);
        return text.str();
    };
    const std::string before = snapshot();
    const size_t records = gSettings.size();
    const int resultLength = editor->DecoProfile().GetLength();

    TestHooks::fileAnswers.push_back(dir.filePath("good.prf"));
    gMainForm->mnuSaveProfileAs->trigger();
    const std::string good = FileBytes(dir.filePath("good.prf").toStdString());
    ASSERT_NE(good.find("\r\n30,20,"), std::string::npos);
    const auto with = [](std::string text, std::initializer_list<std::pair<const char *, const char *>> edits) {
        for (const auto &[from, to] : edits) {
            const size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos)
                text.replace(at, std::string(from).size(), to);
        }
        return text;
    };
    const std::string tinyStep = with(good, {{"StepSize= 3", "StepSize= 1E-30"}});
    const struct {
        const char *name;
        std::string content;
        int says;
    } files[] = {
        {"tiny step.tpl", tinyStep.substr(0, tinyStep.find("Start of Profile")), 7050},
        {"tiny step.prf", tinyStep, 7050},
        {"rebreather at 34 million feet.prf",
         with(good, {{"Metric=1", "Metric=0\r\nStartPressure= 1\r\nEndPressure= 1"}, // sea level in atm
                     {"Open Circuit=1", "Open Circuit=0"}, {"Setpoint= 1.3", "Setpoint= 0"},
                     {"StepSize= 3", "StepSize= 10"}, {"\r\n30,20,", "\r\n3.4E+07,20,"}}),
         7054},
        {"100 bar.prf", with(good, {{"EndPressure= 1.013", "EndPressure= 100"}, {"\r\n30,20,", "\r\n1E+08,20,"}}),
         7053},
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.name);
        std::ofstream(dir.filePath(f.name).toStdString(), std::ios::binary) << f.content;
        TestHooks::msgBoxes.clear();
        TestHooks::msgBoxAnswers.push_back(vbOK);
        TestHooks::fileAnswers.push_back(dir.filePath(f.name));
        if (QString(f.name).endsWith(".tpl"))
            gMainForm->mnuLoadTemplate->trigger();
        else
            gMainForm->mnuOpen->trigger();
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        const QString said = TestHooks::msgBoxes[0].prompt;
        EXPECT_TRUE(said.startsWith(dir.filePath(f.name) + "\r\n")) << said.toStdString();
        const QString what = GetLangStringQ(f.says);
        EXPECT_TRUE(said.contains(what.left(what.indexOf("%1")))) << said.toStdString();
        EXPECT_EQ(openDives(), 1);
        EXPECT_EQ(gSettings.size(), records);
        EXPECT_EQ(snapshot(), before);
    }
    // The dive still computes as it did.
    editor->StartDeco();
    EXPECT_EQ(editor->DecoProfile().GetLength(), resultLength);
    EXPECT_TRUE(TestHooks::msgBoxes.size() == 1u);
}

TEST_F(SeriesFilesTest, TemplatesAreSavedAndLoadedWithTheirCircuit)
{
    // Unchanged settings: the command does nothing, not even ask.
    gMainForm->mnuSaveTemplate->trigger();
    EXPECT_TRUE(TestHooks::msgBoxes.empty() && TestHooks::fileDialogs.empty());

    // Switching to constant ppO2 changes the dive: its series and its template.
    gSettings[1].ProfileChanged = false;
    gMainForm->mnuOC->trigger();
    EXPECT_FALSE(dive().OpenCircuit);
    EXPECT_TRUE(gSettings[1].ProfileChanged);

    const QString path = dir.filePath("Rebreather.tpl");
    TestHooks::msgBoxAnswers = {vbOK};
    TestHooks::fileAnswers = {path};
    gMainForm->mnuSaveTemplate->trigger();
    EXPECT_EQ(dive().Templatename, "Rebreather.tpl");
    EXPECT_NE(FileBytes(path.toStdString()).find("Open Circuit=0\r\n"), std::string::npos);

    // Back on open circuit, then the rebreather template loaded: the dive takes the
    // template's circuit, and the main window shows it.
    gMainForm->mnuOC->trigger();
    ASSERT_TRUE(dive().OpenCircuit);
    TestHooks::fileAnswers = {path};
    gMainForm->mnuLoadTemplate->trigger();
    EXPECT_FALSE(dive().OpenCircuit);
    EXPECT_FALSE(gMainForm->IsOpenCircuit());
    EXPECT_EQ(editor->windowTitle(), QString::fromStdString(gSettings[1].ProfileName) + GetLangStringQ(6163) +
                                         "Rebreather.tpl]");

    // A template that cannot be written is reported.
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    TestHooks::fileAnswers = {dir.filePath("missing/x.tpl")};
    gMainForm->mnuSaveTemplate->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 3u);
    EXPECT_TRUE(TestHooks::msgBoxes[2].prompt.startsWith(GetLangStringQ(2312)));
}

TEST_F(SeriesFilesTest, ANewDiveWindowShowsItsOwnDivesCircuit)
{
    // A rebreather dive computed and followed by a next dive, while the default dive
    // (element 0, which new windows are bound to only after they become active) stays
    // on open circuit.
    ASSERT_TRUE(gSettings[0].Template.OpenCircuit);
    gMainForm->mnuOC->trigger();
    ASSERT_FALSE(dive().OpenCircuit);
    leg(30, 20);
    editor->StartDeco();
    gMainForm->mnuSurface_Click();
    gMainForm->findChild<QDialog *>(QStringLiteral("frmMultiLevel"))->findChild<QPushButton *>("Command2")->click();
    ASSERT_TRUE(gDiveWindows.size() > 2 && gDiveWindows[2]);
    EXPECT_FALSE(gSettings[2].Template.OpenCircuit);
    EXPECT_FALSE(gMainForm->IsOpenCircuit()) << "the next dive is a rebreather dive too";

    // The series saved, the main window back on open circuit, the file opened again.
    const QString path = dir.filePath("rebreather.prf");
    TestHooks::fileAnswers = {path};
    gMainForm->mnuSaveProfileAs->trigger();
    gMainForm->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(editor->parentWidget()));
    gMainForm->SetOpenCircuit(false);
    ASSERT_TRUE(gMainForm->IsOpenCircuit());
    TestHooks::fileAnswers = {path};
    gMainForm->mnuOpen->trigger();
    ASSERT_NE(ActiveEditor(), editor);
    EXPECT_FALSE(gSettings[size_t(ActiveProfileNumber())].Template.OpenCircuit);
    EXPECT_FALSE(gMainForm->IsOpenCircuit()) << "the opened dive is a rebreather dive";
}

TEST_F(SeriesFilesTest, DiveSettingsWindowShowsTheTemplateAndAppliesOnOK)
{
    dive().CeilingOverride = true;
    gSettings[1].ProfileChanged = false;
    gMainForm->tbToolBar_ButtonClick(gMainForm->Button(QStringLiteral("Template")));
    auto *properties = gMainForm->findChild<frmProperties *>();
    ASSERT_NE(properties, nullptr);
    EXPECT_TRUE(properties->isVisible() && !properties->isModal());
    EXPECT_EQ(properties->windowTitle(), "Default.tpl");
    EXPECT_EQ(properties->ProfileIndex, 1);
    properties->cbOK->click();
    EXPECT_FALSE(dive().CeilingOverride);
    EXPECT_TRUE(gSettings[1].ProfileChanged);

    gMainForm->mnuTemplate->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    properties = gMainForm->findChild<frmProperties *>();
    ASSERT_NE(properties, nullptr);
    properties->cbCancel->click();
    EXPECT_TRUE(properties->NothingChanged);
}

// Opening the dive settings on a computed dive changes nothing: no computation and no
// warning (a box would fail the test); the keyboard is in the dialog.
TEST_F(SeriesFilesTest, OpeningTheDiveSettingsComputesNothing)
{
    dive().PPO2High = true;
    TestHooks::msgBoxAnswers.assign(4, vbOK);
    leg(40, 20, kEAN50); // 2.5 bar: every computation warns of the high ppO2
    editor->StartDeco();
    ASSERT_FALSE(TestHooks::msgBoxes.empty());
    TestHooks::reset();
    const TemplateRec before = dive();
    QSignalSpy computed(&ShellNotices::Instance(), &ShellNotices::DiveChanged);
    gMainForm->mnuTemplate->trigger();
    auto *properties = gMainForm->findChild<frmProperties *>();
    ASSERT_TRUE(properties && QTest::qWaitForWindowActive(properties));
    EXPECT_TRUE(TestHooks::msgBoxes.empty() && computed.isEmpty() && dive() == before);
    properties->cbCancel->click();
}

namespace {

// Every gas of the shown profile after its start point, by name.
std::vector<std::string> gasNames(const ClassProfile &p)
{
    std::vector<std::string> names;
    for (int16_t i = 1; i <= p.GetLength(); ++i)
        if (names.empty() || names.back() != p.GetGasMixName(i))
            names.push_back(p.GetGasMixName(i));
    return names;
}

} // namespace

TEST_F(SeriesFilesTest, LegsKeepTheirGasWhenATemplateChangesTheList)
{
    // Trimix 18/45 to 45 m, then EAN32 at 21 m; computed.
    leg(45, 25, kTrimix);
    leg(21, 5, 1);
    editor->StartDeco();
    ASSERT_EQ(editor->EditorState(), 2);
    const std::vector<GasRecord> gases = dive().Gases;
    ASSERT_EQ(gases[1].Name, "EAN32");
    const auto loadTemplate = [this](std::vector<GasRecord> list, const char *name) {
        TemplateRec t = dive();
        t.Gases = std::move(list);
        SaveTemplate(t, dir.filePath(name).toStdString());
        TestHooks::fileAnswers.push_back(dir.filePath(name));
        gMainForm->mnuLoadTemplate->trigger();
    };

    // The same gases the other way round: the dive is computed again on the gases it was
    // drawn on, each leg under its new number.
    std::vector<GasRecord> reversed(gases.rbegin(), gases.rend() - 1);
    reversed.insert(reversed.begin(), gases[0]);
    loadTemplate(reversed, "reversed.tpl");
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_EQ(editor->EditorState(), 2);
    const std::vector<std::string> shown = gasNames(editor->dive().InputProfile);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Trimix 18/45");
    EXPECT_EQ(shown[1], "EAN32");
    EXPECT_EQ(dive().Gases[size_t(editor->dive().UserEnteredWaypoints.getmixnumber(1))].Name, "Trimix 18/45");
    EXPECT_EQ(dive().Gases[size_t(editor->dive().UserEnteredWaypoints.getmixnumber(2))].Name, "EAN32");

    // EAN32 gone (one gas fewer): no leg slides onto the gas that took its place. The
    // computed ascent goes, the legs stay as drawn, and the dive cannot be computed.
    std::vector<GasRecord> fewer = gases;
    fewer.erase(fewer.begin() + 1);
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    loadTemplate(fewer, "fewer.tpl");
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.startsWith(GetLangStringQ(2423)));
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(gasNames(editor->dive().InputProfile), (std::vector<std::string>{"Trimix 18/45", "EAN32"}));
    editor->StartDeco();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_EQ(TestHooks::msgBoxes[1].prompt, GetLangStringQ(2423)) << "the Ascent computes no leg on another gas";
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 2);
}

TEST_F(SeriesFilesTest, ADiveOnALostGasIsSavedAndOpensAsDrawn)
{
    leg(45, 25, kTrimix);
    leg(21, 5, 1);
    ASSERT_EQ(dive().Gases[1].Name, "EAN32");
    // EAN32 leaves the list of the dive (as the settings of a dive that is not the active
    // one may take it away); the dive re-evaluated under it cannot be computed.
    dive().Gases.erase(dive().Gases.begin() + 1);
    TestHooks::msgBoxAnswers = {vbOK};
    editor->ReEvaluateUserEnteredWaypoints();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(2423));

    TestHooks::fileAnswers.push_back(dir.filePath("lost.prf"));
    gMainForm->mnuSaveProfileAs->trigger();
    const std::string saved = FileBytes(dir.filePath("lost.prf").toStdString());
    EXPECT_NE(saved.find("\r\n45,25,4,0,\r\n21,5,-1,0,\r\n"), std::string::npos) << saved;

    // Opened again: the legs as drawn, the same message, nothing computed, no crash.
    TestHooks::msgBoxes.clear();
    TestHooks::msgBoxAnswers = {vbOK};
    TestHooks::fileAnswers.push_back(dir.filePath("lost.prf"));
    gMainForm->mnuOpen->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(2423));
    ASSERT_EQ(openDives(), 2);
    frmWaypointEditor *opened = gDiveWindows.back();
    ASSERT_TRUE(opened && opened != editor);
    EXPECT_EQ(opened->EditorState(), 1);
    EXPECT_EQ(gasNames(opened->dive().InputProfile), (std::vector<std::string>{"Trimix 18/45", ""}));
    EXPECT_FLOAT_EQ(opened->dive().InputProfile.getDepth(opened->dive().InputProfile.GetLength()), 21);
    EXPECT_EQ(opened->dive().UserEnteredWaypoints.GetLength(), 2);
    EXPECT_FALSE(gSettings[size_t(DiveNumber(opened))].ProfileChanged);

    // Its Ascent refuses.
    TestHooks::msgBoxAnswers = {vbOK};
    opened->StartDeco();
    EXPECT_EQ(TestHooks::msgBoxes.back().prompt, GetLangStringQ(2423));
    // Saved again, the file is the same.
    TestHooks::fileAnswers.push_back(dir.filePath("again.prf"));
    ASSERT_TRUE(SaveProfile(true, DiveNumber(opened)));
    EXPECT_EQ(FileBytes(dir.filePath("again.prf").toStdString()), saved);
}
