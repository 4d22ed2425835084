#pragma once
// The main window: one dive window per open dive, the menus, the toolbar and the status
// bar. Commands on a dive go to the active dive window; the window keeps the circuit
// mode shown to the diver, the algorithm menu and its own placement.

#include "platform/CommonDialog.h"
#include "shell/ImageList.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <cstdint>

class QLabel;
struct PlanOptions;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QStatusBar;
class HelpWindow;
class frmWaypointEditor;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr); // the window's load
    ~frmMain() override;

    // Public procedures other windows call.
    void SetOpenCircuit(bool isChanged);
    void SetConstPPO(bool isChanged);
    // Shows a dive's circuit mode on the button and menu without writing it to any dive.
    void ShowCircuitMode(bool openCircuit);
    void ShowConservatism_Click();
    void ApplyToProfile();
    // The algorithm ticks changed from `before`: every open dive is computed again, so
    // each window shows the plan of the model ticked.
    void AlgorithmChanged(const PlanOptions &before);
    void EnableProfileCommands(bool AscentOn, bool InfoOn);
    // The commands that follow a dive's state (Ascent, dive information, next dive, clear
    // deco points) show the state of the active dive, whichever dive a command changed:
    // Ascent for drawn legs, the dive information for any, the next dive for a computed
    // last dive of its series and clearing the deco points for a computed dive. All off
    // when no dive window is active.
    void ShowActiveDiveCommands();

    // The active dive window, null when none is.
    frmWaypointEditor *ActiveForm() const;
    bool IsOpenCircuit() const { return IsOpenCircuit_; }

    // Puts a new dive window into the window area and makes it the active one.
    QMdiSubWindow *AddDiveWindow(frmWaypointEditor *editor);
    QMdiArea *MdiArea() const { return MdiArea_; }

    // The toolbar button of index 1 to 18 (separators counted), or of its key.
    QAction *Buttons(int index) const;
    QAction *Button(const QString &key) const;
    // Status bar panel 1 (status text), 2 (date) or 3 (time).
    QLabel *Panels(int index) const;

    // Child-window arrangements: cascade 0, tile horizontally 1, tile vertically 2,
    // icons of minimised windows 3.
    void Arrange(int arrangement);

    QToolBar *tbToolBar = nullptr;
    QStatusBar *sbStatusBar = nullptr;
    CommonDialog dlgCommonDialog{this};
    ImageList imlIcons;

    QMenu *mnuFile = nullptr;
    QAction *mnuNewProfile = nullptr, *mnuOpen = nullptr, *mnuClose = nullptr, *mnuFileBar1 = nullptr,
            *mnuLoadTemplate = nullptr, *mnuSaveTemplate = nullptr, *mnuFileBar2 = nullptr,
            *mnuSaveProfile = nullptr, *mnuSaveProfileAs = nullptr, *mnuFuleBar3 = nullptr,
            *mnuTemplate = nullptr, *mnuFileBar4 = nullptr, *mnuExit = nullptr;
    QMenu *mnuDefault = nullptr, *mnuAlgorithm = nullptr;
    QAction *mnuBulhmannB = nullptr, *mnuBulhmannC = nullptr, *mnualgsep = nullptr, *mnuVPM = nullptr,
            *mnuHybrid = nullptr, *mnusep = nullptr, *mnuConservatism = nullptr, *mnuOC = nullptr,
            *mnuStartAscent = nullptr, *mnuspe10 = nullptr, *mnuSurface = nullptr, *mnulangsep = nullptr,
            *mnuLanguages = nullptr;
    QMenu *mnuReport = nullptr;
    QAction *mnuDiveInformation = nullptr, *mnuGeneralReport = nullptr, *mnuBailoutReport = nullptr,
            *mnuGenerateTables = nullptr;
    QMenu *mnuTools = nullptr;
    QAction *mnuMixer = nullptr;
    QMenu *mnuWindow = nullptr;
    QAction *mnuWindowCascade = nullptr, *mnuWindowTileHorizontal = nullptr, *mnuWindowTileVertical = nullptr,
            *mnuWindowArrangeIcons = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpContents = nullptr, *mnuHelpSearch = nullptr, *mmmabout1 = nullptr, *mnuHelpAbout = nullptr;
    // The pop-up menu of a dive window's right click.
    QMenu *mnuWaypoint = nullptr;
    QAction *mnucleardecopoints = nullptr, *popup1 = nullptr, *mnuclearlastwaypoint = nullptr,
            *mnuclearallwaypoints = nullptr;
    QMenu *mnutemp = nullptr;
    QAction *ShowConservatism = nullptr;

public slots:
    void mnuNewProfile_Click();
    void mnuOpen_Click();
    void mnuClose_Click();
    void mnuLoadTemplate_Click();
    void mnuSaveTemplate_Click();
    void mnuSaveProfile_Click();
    void mnuSaveProfileAs_Click();
    void mnuTemplate_Click();
    void mnuExit_Click();
    void mnuBulhmannB_Click();
    void mnuBulhmannC_Click();
    void mnuVPM_Click();
    void mnuHybrid_Click();
    void mnuConservatism_Click();
    void mnuOC_Click();
    void mnuStartAscent_Click();
    void mnuSurface_Click();
    void mnuLanguages_Click();
    void mnuDiveInformation_Click();
    void mnuGeneralReport_Click();
    void mnuBailoutReport_Click();
    void mnuGenerateTables_Click();
    void mnuMixer_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();
    void mnucleardecopoints_Click();
    void mnuclearlastwaypoint_Click();
    void mnuclearallwaypoints_Click();
    void tbToolBar_ButtonClick(QAction *Button);

protected:
    void closeEvent(QCloseEvent *event) override; // the unload: dive windows first, then placement

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void restorePlacement();
    void storePlacement();
    void NewProfileWindow();
    void ToggleCircuitMode();
    void StartAscent();
    void GeneralReport();
    void Bailout(bool fromMenu);
    void ShowHelp(bool search);
    void subWindowActivated(QMdiSubWindow *window);

    QMdiArea *MdiArea_ = nullptr;
    QList<QAction *> buttons_;  // toolbar buttons 1 to 18, separators included
    QLabel *panels_[3] = {};
    QPointer<HelpWindow> help_;
    bool IsOpenCircuit_ = true;
};

// The smallest dive window that shows its plot, tissue bars and captions readably.
inline constexpr QSize kReadableDiveWindow{480, 360};
// Where the index-th new dive window (0 the first) goes in a window area of that size.
QRect NewDiveWindowRect(const QSize &area, int index);
