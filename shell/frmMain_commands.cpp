// The main window's commands: files, dives, the algorithm menu, windows of the other
// parts of the program, window arrangement and help.

#include "shell/frmMain.h"

#include "blending/frmPartialMix.h"
#include "engine/DOLVmiscModule.h"
#include "engine/DivePlan.h"
#include "print/frmTableExpert.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "platform/LocaliseForm.h"
#include "platform/ModalWindow.h"
#include "platform/ShellServices.h"
#include "platform/MsgBox.h"
#include "platform/WaitCursor.h"
#include "platform/ErrorModule.h"
#include "print/frmBailoutStart.h"
#include "reports/GeneralReport.h"
#include "reports/frmReportSelection.h"
#include "platform/ShellServices.h"
#include "reports/frmGeneralInfo.h"
#include "settings/frmConservatism.h"
#include "shell/DiveWindows.h"
#include "shell/FileIOModule.h"
#include "shell/HelpWindow.h"
#include "shell/MainModule.h"
#include "shell/frmAbout.h"
#include "shell/frmLanguages.h"
#include "shell/frmMultiLevel.h"
#include "shell/frmWait.h"
#include "shell/PropertiesOpener.h"
#include "shell/frmWaypointEditor.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

void frmMain::mnuNewProfile_Click()
{
    RunGuarded("frmMain.mnuNewProfile_Click", [this] { NewProfileWindow(); });
}

void frmMain::mnuOpen_Click()
{
    RunGuarded("frmMain.mnuOpen_Click", [] { OpenProfile(); });
}

void frmMain::mnuSaveProfile_Click()
{
    RunGuarded("frmMain.mnuSaveProfile_Click", [] { SaveProfile(false); });
}

void frmMain::mnuSaveProfileAs_Click()
{
    RunGuarded("frmMain.mnuSaveProfileAs_Click", [] { SaveProfile(true); });
}

void frmMain::mnuSaveTemplate_Click()
{
    RunGuarded("frmMain.mnuSaveTemplate_Click", [] { SaveTemplateAs(); });
}

// A template loaded into the active dive is applied to it at once. The main window shows
// the loaded circuit mode first, so that applying keeps it rather than overwriting it
// with the mode the previous settings had. A template the dive's legs cannot take is
// refused by LoadTemplateInto before anything is applied.
void frmMain::mnuLoadTemplate_Click()
{
    RunGuarded("frmMain.mnuLoadTemplate_Click", [this] {
        frmWaypointEditor *editor = ActiveForm();
        const int16_t n = ::ActiveProfileNumber();
        if (!LoadTemplateInto() || !editor)
            return;
        const SettingsRecord &r = RecordOf(n, "frmMain.mnuLoadTemplate_Click");
        // A later dive of a series keeps its position and interval in its caption.
        editor->UpdateSurfProfiles();
        ShowCircuitMode(r.Template.OpenCircuit);
        WaitCursor wait;
        ApplyToProfile();
    });
}

void frmMain::mnuClose_Click()
{
    if (QMdiSubWindow *sub = MdiArea_->currentSubWindow())
        sub->close();
}

void frmMain::mnuTemplate_Click()
{
    RunGuarded("frmMain.mnuTemplate_Click", [] { ShowPropertiesForActiveProfile(); });
}

void frmMain::mnuExit_Click()
{
    close();
}

void frmMain::AlgorithmChanged(const PlanOptions &before)
{
    const PlanOptions now = AlgorithmOptions();
    if (now.ModelC == before.ModelC && now.VPM == before.VPM && now.Hybrid == before.Hybrid)
        return;
    emit ShellNotices::Instance().AlgorithmChanged(now);
    RunGuarded("frmMain.AlgorithmChanged", [] {
        // One command: the limit warnings of every dive, after every series is computed
        // again.
        PlanNotices notices;
        {
            WaitCursor wait;
            // The first dive of each series; its re-evaluation computes the dives after it.
            for (size_t i = 1; i < gDiveWindows.size(); ++i)
                if (const Dive *dive = FindDive(DiveNumber(gDiveWindows[i])); dive && dive->PrevProfile() == -1)
                    notices.Merge(gDiveWindows[i]->ReEvaluate());
        }
        ShowPlanNotices(notices);
    });
    ShowActiveDiveCommands();
}

void frmMain::mnuBulhmannB_Click()
{
    const PlanOptions before = AlgorithmOptions();
    mnuBulhmannB->setChecked(true);
    mnuBulhmannC->setChecked(false);
    AlgorithmChanged(before);
}

void frmMain::mnuBulhmannC_Click()
{
    // The action has toggled itself already: before the click C was what it now is not.
    PlanOptions before = AlgorithmOptions();
    before.ModelC = !mnuBulhmannC->isChecked();
    mnuBulhmannC->setChecked(true);
    mnuBulhmannB->setChecked(false);
    AlgorithmChanged(before);
}

// VPM stands alone, without B or C; hybrid goes with B or C; at most one of the two is on.
// (A checkable action has already toggled itself when its handler runs: the state
// before the click is the opposite of what it shows now.)
void frmMain::mnuVPM_Click()
{
    const bool wasTicked = !mnuVPM->isChecked();
    PlanOptions before = AlgorithmOptions();
    before.VPM = wasTicked;
    if (wasTicked) {
        mnuVPM->setChecked(false);
        mnuBulhmannB->setChecked(true);
        mnuBulhmannC->setChecked(false);
    } else {
        mnuVPM->setChecked(true);
        mnuBulhmannB->setChecked(false);
        mnuBulhmannC->setChecked(false);
        if (mnuHybrid->isChecked())
            mnuHybrid->setChecked(false);
    }
    AlgorithmChanged(before);
}

void frmMain::mnuHybrid_Click()
{
    const bool wasTicked = !mnuHybrid->isChecked();
    PlanOptions before = AlgorithmOptions();
    before.Hybrid = wasTicked;
    if (wasTicked) {
        mnuHybrid->setChecked(false);
    } else {
        mnuHybrid->setChecked(true);
        if (mnuVPM->isChecked()) {
            mnuVPM->setChecked(false);
            mnuBulhmannB->setChecked(true);
            mnuBulhmannC->setChecked(false);
        }
    }
    AlgorithmChanged(before);
}

void frmMain::mnuConservatism_Click()
{
    ShowConservatism_Click();
}

// The menu item, its toolbar button, the dive window's pop-up item and Shift+F1.
void frmMain::ShowConservatism_Click()
{
    RunGuarded("frmMain.ShowConservatism_Click", [this] {
        frmConservatism dialog(::ActiveProfileNumber(), this);
        ShowModal(&dialog);
    });
}

void frmMain::mnuOC_Click()
{
    RunGuarded("frmMain.mnuOC_Click", [this] { ToggleCircuitMode(); });
}

void frmMain::ToggleCircuitMode()
{
    if (!IsOpenCircuit_)
        SetOpenCircuit(true);
    else
        SetConstPPO(true);
}

void frmMain::mnuStartAscent_Click()
{
    StartAscent();
}

void frmMain::StartAscent()
{
    frmWaypointEditor *editor = ActiveForm();
    if (!editor)
        return;
    RunGuarded("frmMain.StartAscent", [editor] { CallByName(editor, "StartDeco"); });
    // Computed, the dive offers no second ascent; refused, it offers it again.
    ShowActiveDiveCommands();
}

void frmMain::mnuSurface_Click()
{
    auto *dialog = new frmMultiLevel(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void frmMain::mnuLanguages_Click()
{
    auto *chooser = new frmLanguages(this);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->show();
}

// The dive information of the active dive's series, modal; nothing without a dive window.
void frmMain::mnuDiveInformation_Click()
{
    if (!ActiveForm())
        return;
    RunGuarded("frmMain.mnuDiveInformation_Click", [this] {
        frmGeneralInfo info(::ActiveProfileNumber(), AlgorithmMenuTicks(), this);
        info.setthefirstprofile();
        ShowModal(&info);
    });
}

void frmMain::mnuBailoutReport_Click()
{
    Bailout(true);
}
// The bail-out dialog, from the menu and the toolbar alike: modal, owned by the main
// window, so nothing changes the dive or starts another print job during its run.
void frmMain::Bailout(bool /*fromMenu*/)
{
    RunGuarded("frmMain.Bailout", [this] {
        frmBailoutStart dialog(::ActiveProfileNumber(), AlgorithmOptions(), this);
        ShowModal(&dialog);
    });
}
// A new table generator each time, modeless, for the active dive.
void frmMain::mnuGenerateTables_Click()
{
    RunGuarded("frmMain.mnuGenerateTables_Click",
               [this] { ShowTableExpert(::ActiveProfileNumber(), AlgorithmOptions(), this); });
}

// A new blending window each time, modeless: several blends can be worked side by side.
void frmMain::mnuMixer_Click()
{
    RunGuarded("frmMain.mnuMixer_Click", [this] { ShowPartialMix(::ActiveProfileNumber(), this); });
}

void frmMain::mnuGeneralReport_Click()
{
    GeneralReport();
}

// The printed report: one dive, or the current dive or the whole series of a dive that
// belongs to one (asked first; a closed question means the whole series, from its first
// dive). The progress box shows while a dive on its own or a series is composed.
void frmMain::GeneralReport()
{
    frmWaypointEditor *editor = ActiveForm();
    if (!editor)
        return;
    RunGuarded("frmMain.GeneralReport", [this, editor] {
        // The models are named by the ticks of now: the menu stays free while it prints.
        const AlgorithmTicks ticks = AlgorithmMenuTicks();
        const int16_t n = DiveNumber(editor);
        const Dive *dive = FindDive(n);
        if (!dive)
            return;
        ReportChoice choice = ReportChoice::SingleDive;
        if (dive->PrevProfile() != -1 || dive->NextProfile() != -1) {
            gReportSelection = false;
            auto *selection = new frmReportSelection(this);
            gReportSelectionForm = selection;
            ShowModal(selection);
            gReportSelection = selection->CurrentDiveOnly();
            delete selection;
            choice = gReportSelection ? ReportChoice::CurrentDive : ReportChoice::AllDives;
        }
        if (choice != ReportChoice::CurrentDive) {
            frmWait *wait = frmWait::Instance();
            wait->show();
            wait->repaint();
        }
        PrintDiveReport(n, choice, ticks);
    });
}

void frmMain::mnuWindowCascade_Click()
{
    Arrange(0);
}

void frmMain::mnuWindowTileHorizontal_Click()
{
    Arrange(1);
}

void frmMain::mnuWindowTileVertical_Click()
{
    Arrange(2);
}

void frmMain::mnuWindowArrangeIcons_Click()
{
    Arrange(3);
}

void frmMain::Arrange(int arrangement)
{
    QList<QMdiSubWindow *> open, minimised;
    for (QMdiSubWindow *w : MdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isMinimized())
            minimised << w;
        else if (w->isVisible())
            open << w;
    }
    const QRect area = MdiArea_->viewport()->rect();
    switch (arrangement) {
    case 0: // cascaded, each as large as a new window, so each stays readable
        for (qsizetype i = 0; i < open.size(); ++i) {
            QMdiSubWindow *w = open[i];
            if (w->isMaximized())
                w->showNormal();
            w->setGeometry(NewDiveWindowRect(area.size(), int(i)));
            w->raise();
        }
        break;
    case 1: // one above the other, each the full width
    case 2: // side by side, each the full height
        for (qsizetype i = 0; i < open.size(); ++i) {
            QMdiSubWindow *w = open[i];
            if (w->isMaximized())
                w->showNormal();
            const int n = int(open.size());
            const QRect r = arrangement == 1
                                ? QRect(0, area.height() * int(i) / n, area.width(), area.height() / n)
                                : QRect(area.width() * int(i) / n, 0, area.width() / n, area.height());
            w->setGeometry(r);
        }
        break;
    case 3: // the minimised windows in a row along the bottom
        for (qsizetype i = 0, x = 0; i < minimised.size(); ++i) {
            QMdiSubWindow *w = minimised[i];
            w->move(int(x), area.height() - w->height());
            x += w->width();
        }
        break;
    }
}

void frmMain::mnuHelpContents_Click()
{
    ShowHelp(false);
}

void frmMain::mnuHelpSearch_Click()
{
    ShowHelp(true);
}

void frmMain::ShowHelp(bool search)
{
    const QString file = QString::fromStdString(HelpFile());
    if (file.isEmpty()) {
        MsgBox(GetLangStringQ(1065), vbInformation + vbOKOnly, windowTitle());
        return;
    }
    if (!help_)
        help_ = new HelpWindow(this);
    QString error;
    if (!help_->Open(file, &error)) {
        MsgBox(error, vbOKOnly);
        return;
    }
    if (search)
        help_->ShowSearch();
    else
        help_->ShowContents();
}

void frmMain::mnuHelpAbout_Click()
{
    frmAbout about(this);
    ShowModal(&about);
}

void frmMain::mnucleardecopoints_Click()
{
    RunGuarded("frmMain.mnucleardecopoints_Click", [this] { CallByName(ActiveForm(), "mnucleardecopoints"); });
}

void frmMain::mnuclearlastwaypoint_Click()
{
    RunGuarded("frmMain.mnuclearlastwaypoint_Click", [this] { CallByName(ActiveForm(), "mnuclearlastwaypoint"); });
}

void frmMain::mnuclearallwaypoints_Click()
{
    RunGuarded("frmMain.mnuclearallwaypoints_Click", [this] { CallByName(ActiveForm(), "mnuclearallwaypoints"); });
}

void frmMain::tbToolBar_ButtonClick(QAction *Button)
{
    const QString key = Button->data().toString();
    if (key == QLatin1String("New"))
        mnuNewProfile_Click();
    else if (key == QLatin1String("Open"))
        mnuOpen_Click();
    else if (key == QLatin1String("Save"))
        mnuSaveProfile_Click();
    else if (key == QLatin1String("Conservatism"))
        ShowConservatism_Click();
    else if (key == QLatin1String("Ascent"))
        StartAscent();
    else if (key == QLatin1String("AscentInfo"))
        mnuDiveInformation_Click();
    else if (key == QLatin1String("OpenCircuit"))
        mnuOC_Click();
    else if (key == QLatin1String("Template"))
        mnuTemplate_Click();
    else if (key == QLatin1String("Report"))
        GeneralReport();
    else if (key == QLatin1String("Bailout"))
        Bailout(false);
    else if (key == QLatin1String("TableExpert"))
        mnuGenerateTables_Click();
    else if (key == QLatin1String("Multilevel"))
        mnuSurface_Click();
    else if (key == QLatin1String("Mixer"))
        mnuMixer_Click();
}
