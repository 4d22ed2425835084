// What a new diver meets first: the plan shown always belongs to the settings shown,
// each limit warning once per command, a save that leaves nothing to save, files in the
// diver's own folders and dive windows that stay in view.

#include "tests/support/EditorFixture.h"

#include "engine/AppPaths.h"
#include "engine/TemplateModule.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "shell/MainModule.h"
#include "platform/WindowSettings.h"
#include "shell/DiveWindows.h"

#include <QDir>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

class FirstDayTest : public EditorFixture {
protected:
    // The dive's settings with only the gases kept, saved as a template file.
    QString templateWith(const QString &name, std::vector<GasRecord> gases)
    {
        TemplateRec t = dive();
        t.Gases = std::move(gases);
        t.GasChanges.clear();
        const QString path = dir.filePath(name);
        SaveTemplate(t, path.toStdString());
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(FirstDayTest, ATemplateThatCannotComputeTheDiveTakesItsAscentOff)
{
    leg(40, 25);
    const ClassProfile drawn = editor->dive().InputProfile;
    editor->StartDeco();
    ASSERT_EQ(editor->EditorState(), 2);
    ASSERT_GT(editor->dive().InputProfile.GetLength(), drawn.GetLength());

    // The new template lacks the trimix the leg breathes: nothing can be computed.
    const QString path = templateWith("Air only.tpl", {dive().Gases[kAir]});
    gSettings[1].ProfileChanged = false;
    TestHooks::fileAnswers = {path};
    TestHooks::msgBoxAnswers = {vbOK};
    gMainForm->mnuLoadTemplate->trigger();
    QApplication::processEvents();

    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.contains(GetLangStringQ(7000)));
    EXPECT_TRUE(editor->windowTitle().contains("Air only.tpl"));
    // The ascent is gone, the diver's leg stays, as drawn.
    EXPECT_EQ(editor->EditorState(), 1);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1);
    EXPECT_EQ(editor->dive().InputProfile.GetLength(), drawn.GetLength());
    EXPECT_FLOAT_EQ(editor->dive().InputProfile.getDepth(editor->dive().InputProfile.GetLength()), 40);
    EXPECT_TRUE(gSettings[1].ProfileChanged);
    const Commands c = commands();
    EXPECT_TRUE(c.ascent) << c;
    EXPECT_FALSE(c.clearDeco) << c;
    EXPECT_FALSE(c.nextDive) << c;
}

TEST_F(FirstDayTest, ATemplateThatKeepsTheLegsReplaysThemAndTheDiveComputesAgain)
{
    leg(40, 25, kAir);
    editor->StartDeco();
    const ClassProfile before = editor->dive().InputProfile;

    // Air alone: the legs replay, the ascent has no deco gases and takes longer.
    const QString path = templateWith("Air.tpl", {dive().Gases[kAir]});
    TestHooks::fileAnswers = {path};
    gMainForm->mnuLoadTemplate->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_EQ(editor->EditorState(), 2);
    const ClassProfile &now = editor->dive().InputProfile;
    EXPECT_GT(now.GetRunTime(now.GetLength()), before.GetRunTime(before.GetLength()));
    for (int16_t i = 1; i <= now.GetLength(); ++i)
        EXPECT_EQ(now.GetGasMixName(i), "Air");
}

TEST_F(FirstDayTest, SwitchingTheModelComputesTheShownDiveAgain)
{
    leg(60, 25);
    editor->StartDeco();
    ASSERT_TRUE(gMainForm->mnuBulhmannB->isChecked());
    const auto runTime = [](const ClassProfile &p) { return p.GetRunTime(p.GetLength()); };
    const float withB = runTime(editor->dive().InputProfile);
    // What Compute gives under the model now ticked.
    const auto computedAfresh = [this, &runTime] {
        editor->mnucleardecopoints();
        editor->StartDeco();
        return runTime(editor->dive().InputProfile);
    };

    // VPM (offered with the /vpm switch): its deeper first stops make another dive.
    gMainForm->mnuVPM->setEnabled(true);
    gMainForm->mnuVPM->trigger();
    ASSERT_TRUE(AlgorithmOptions().VPM);
    EXPECT_EQ(editor->EditorState(), 2);
    const float withVPM = runTime(editor->dive().InputProfile);
    EXPECT_NE(withVPM, withB);
    EXPECT_FLOAT_EQ(computedAfresh(), withVPM);

    // Unticking VPM is B again: the first plan.
    gMainForm->mnuVPM->trigger();
    EXPECT_FLOAT_EQ(runTime(editor->dive().InputProfile), withB);

    // ZH-L16C and the hybrid: what Compute would give under each.
    gMainForm->mnuBulhmannC->trigger();
    const float withC = runTime(editor->dive().InputProfile);
    EXPECT_FLOAT_EQ(computedAfresh(), withC);
    gMainForm->mnuHybrid->trigger();
    EXPECT_EQ(editor->EditorState(), 2);
    const float hybrid = runTime(editor->dive().InputProfile);
    EXPECT_GE(hybrid, withC) << "the deeper of two ceilings is never a shorter dive";
    EXPECT_FLOAT_EQ(computedAfresh(), hybrid);
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
}

TEST_F(FirstDayTest, EachLimitWarningOncePerCommand)
{
    dive().MaxEnd = dive().PPO2High = true;
    const auto kinds = [] {
        QStringList titles;
        for (const auto &b : TestHooks::msgBoxes)
            titles << b.title;
        TestHooks::msgBoxes.clear();
        return titles;
    };
    // 120 m on air: the END and the ppO2 far above their limits in every computation of
    // every command: the replay, the ascent, the legs replayed after clearing it.
    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    leg(120, 10, kAir);
    QStringList shown = kinds();
    EXPECT_EQ(shown.size(), 2) << shown.join(" | ").toStdString();
    EXPECT_EQ(shown.removeDuplicates(), 0);

    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    editor->StartDeco();
    EXPECT_EQ(kinds().size(), 2);

    TestHooks::msgBoxAnswers = {vbOK, vbOK};
    editor->mnucleardecopoints();
    EXPECT_EQ(kinds().size(), 2);
}

TEST_F(FirstDayTest, SavingLeavesNothingToSaveAndFilesGoToTheDiversFolders)
{
    leg(30, 20);
    gSettings[1].ProfileChanged = true; // as the mouse's leg leaves it

    // The first save starts in the documents folder (or home), never the installation.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QDir(documents).exists())
        documents = QDir::homePath();
    TestHooks::fileAnswers = {dir.filePath("first.prf")};
    gMainForm->mnuSaveProfileAs->trigger();
    ASSERT_EQ(TestHooks::fileDialogs.size(), 1u);
    EXPECT_EQ(TestHooks::fileDialogs[0].initDir, documents);
    EXPECT_NE(TestHooks::fileDialogs[0].initDir, QString::fromStdString(InstallDir()));
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    EXPECT_EQ(GetSetting("Settings", "DiveFolder"), QDir(dir.path()).absolutePath());

    // Open starts where the diver saved.
    TestHooks::fileAnswers = {QString()};
    gMainForm->mnuOpen->trigger();
    EXPECT_EQ(TestHooks::fileDialogs.back().initDir, QDir(dir.path()).absolutePath());

    // Templates: at first the user's data folder; the shipped ones still load.
    TestHooks::fileAnswers = {QString::fromStdString(JoinPath(JoinPath(InstallDir(), "template"), "Default.tpl"))};
    gMainForm->mnuLoadTemplate->trigger();
    EXPECT_EQ(TestHooks::fileDialogs.back().initDir, QString::fromStdString(UserDataDir()));
    EXPECT_EQ(dive().Templatename, "Default.tpl");
    EXPECT_TRUE(TestHooks::msgBoxes.empty());

    // A save after the template load; then closing asks nothing.
    gMainForm->mnuSaveProfile->trigger();
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    // Looking at a waypoint, right-clicking or cancelling changes nothing either.
    const PlotPoint p = editor->WorldToPixel(20.f, -30.f);
    TestHooks::modalHandlers.push_back([](QDialog *d) { d->close(); });
    QTest::mousePress(grid(), Qt::LeftButton, {}, QPoint(TwipsToPixels(p.x), TwipsToPixels(p.y)));
    QTest::mouseRelease(grid(), Qt::LeftButton, {}, QPoint(TwipsToPixels(p.x), TwipsToPixels(p.y)));
    EXPECT_FALSE(gSettings[1].ProfileChanged);
    editor->CloseByCode();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
    EXPECT_FALSE(DiveWindow(1));
}

TEST_F(FirstDayTest, NewDiveWindowsOpenInsideTheWindowArea)
{
    QMdiArea *area = gMainForm->findChild<QMdiArea *>();
    ASSERT_TRUE(area);
    editor->parentWidget()->showNormal();
    for (int i = 0; i < 8; ++i)
        gMainForm->mnuNewProfile->trigger();
    QApplication::processEvents();
    const QRect inside = area->viewport()->rect();
    const auto subs = area->subWindowList();
    ASSERT_EQ(subs.size(), 9);
    for (QMdiSubWindow *w : subs)
        EXPECT_TRUE(inside.contains(w->geometry())) << w->geometry().x() << "," << w->geometry().y();

    gMainForm->mnuWindowCascade->trigger();
    for (QMdiSubWindow *w : subs) {
        EXPECT_TRUE(inside.contains(w->geometry()));
        EXPECT_GE(w->width(), qMin(inside.width(), kReadableDiveWindow.width()));
        EXPECT_GE(w->height(), qMin(inside.height(), kReadableDiveWindow.height()));
    }
    // Rects on their own: a small area still gets whole windows.
    for (int k = 0; k < 20; ++k)
        EXPECT_TRUE(QRect(QPoint(0, 0), QSize(500, 400)).contains(NewDiveWindowRect(QSize(500, 400), k)));
}

} // namespace

namespace {

class FirstDayDialogsTest : public FirstDayTest {
protected:
    // A leg drawn with the mouse, the waypoint dialog answered by `answer`.
    void drawLeg(const std::function<void(QDialog *)> &answer)
    {
        TestHooks::modalHandlers.push_back(answer);
        const QPoint from = pixelOf(1, 1.5f), to = pixelOf(20, 30);
        QTest::mousePress(grid(), Qt::LeftButton, {}, from);
        QTest::mouseMove(grid(), to);
        QTest::mouseRelease(grid(), Qt::LeftButton, {}, to);
    }
};

TEST_F(FirstDayDialogsTest, EnterAcceptsTheWaypointDialogAndEscCancelsIt)
{
    bool minMax = true, closeBox = false;
    drawLeg([&](QDialog *d) {
        minMax = d->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
        closeBox = d->windowFlags() & Qt::WindowCloseButtonHint;
        QTest::keyClick(d->findChild<QLineEdit *>("tbTime"), Qt::Key_Return);
    });
    EXPECT_FALSE(minMax);
    EXPECT_TRUE(closeBox);
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1) << "Enter is OK";
    EXPECT_TRUE(gSettings[1].ProfileChanged);

    gSettings[1].ProfileChanged = false;
    drawLeg([](QDialog *d) { QTest::keyClick(d->findChild<QLineEdit *>("tbTime"), Qt::Key_Escape); });
    EXPECT_EQ(editor->dive().UserEnteredWaypoints.GetLength(), 1) << "Esc is Cancel";
    EXPECT_FALSE(gSettings[1].ProfileChanged) << "a cancelled dialog changes nothing";
}

TEST_F(FirstDayDialogsTest, NothingCoversThePlotOrTheTissueChart)
{
    for (const bool maximised : {false, true}) {
        SCOPED_TRACE(maximised ? "maximised" : "normal");
        if (maximised)
            editor->parentWidget()->showMaximized();
        else
            editor->parentWidget()->showNormal();
        QApplication::processEvents();
        const QRect plot = editor->pbMainContainer->geometry();
        const QRect bar = editor->HScroll1->geometry();
        const QRect chart = editor->pbCompartmentLoad->geometry();
        EXPECT_GE(bar.top(), plot.bottom());
        EXPECT_GT(chart.top(), bar.bottom());
        EXPECT_LE(chart.bottom(), editor->height());
        EXPECT_GT(chart.height(), 60);
    }
}

} // namespace
