#pragma once
// The profile editor: the child window of the main window that shows one dive of the
// dive model (engine/DiveModel.h). The diver's input is kept as the dive's log; the
// shown profile is rebuilt from it by replaying the log (legs cut at the rate-table
// bands, the engine run after every entry), drawn as a depth-over-time plot with the
// compartment loads of its last waypoint below it. The window's Tag holds the dive's
// profile number, the index of its gSettings record. shell/DiveWindows.h maps dives to
// their windows and back.

#include "engine/ClassProfile.h"
#include "engine/ClassUseractions.h"
#include "engine/DiveModel.h"
#include "shell/PlotScale.h"
#include "shell/RubberBand.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class PictureBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class RuntimeError;
struct SettingsRecord;

class frmWaypointEditor : public QWidget {
    Q_OBJECT
    // The dive the window shows. The window keeps its dive alive until it is gone, also
    // after the dive has closed.
    std::shared_ptr<Dive> dive_;

public:
    explicit frmWaypointEditor(std::shared_ptr<Dive> dive, QWidget *parent = nullptr);
    ~frmWaypointEditor() override;

    // The dive the window shows (engine/DiveModel.h): its log, profiles, links and state.
    // Other windows and the tests reach them there.
    Dive &dive() const { return *dive_; }

    // The dive's profile number as text.
    QString Tag() const;
    void setTag(const QString &tag);

    // ---- Window.
    void changeColor();
    // Refreshes the start waypoint: its ppO2 at the surface and, for a repetitive dive,
    // the CNS and OTU carried in from the previous dive.
    void setNullWaypoint();
    // Binds the window to its dive's settings and lays it out.
    void SetTemplate();
    // Lays out the controls and redraws (nothing while minimised).
    void resize();
    using QWidget::resize;
    void Form_Activate();
    // The closing protocol. UnloadMode 0 is the diver's close box or control menu; any
    // other value is a close by code or by the application. Returns false when the
    // window stays open.
    bool Form_QueryUnload(int16_t UnloadMode);
    // The save question of a first dive whose series changed: Yes saves, No lets the
    // series go unsaved. False on Cancel or a save that was cancelled or failed: the
    // window must stay. True at once for a later dive or an unchanged series.
    bool AskToSaveSeries();
    // The next close of this window takes the save question as answered (the program's
    // close asks every series first, then closes them); only that close.
    void SetSaveQuestionAnswered(bool answered) { saveQuestionAnswered_ = answered; }
    void Form_Unload();
    // Closes the window as code does (no series relinking).
    void CloseByCode();

    // ---- Log and replay.
    void SaveUserEnteredWaypoints(float segtime, float Depth, int16_t Mixnumber, bool deco);
    // Computes the dive and the dives after it again after something they are computed
    // from changed (the series rules of engine/DiveModel.h), and tells the diver what
    // came of it: a command of its own.
    void ReEvaluateUserEnteredWaypoints();
    // The same within a larger command, which shows what it returns once it has run.
    PlanNotices ReEvaluate();
    // Shows what a re-evaluation did to the dives of a series: each changed dive is
    // announced (ShellNotices::DiveChanged, on which its window redraws), then the main
    // window's commands show the active dive's state again. Returns the notices.
    static PlanNotices ShowSeriesOutcome(const SeriesOutcome &outcome);
    void GetSegmentedProfile(float X1, float Y1, float &X2, float &Y2, int16_t U, int16_t point);
    void SaveUserProfile(float Depth, float SegmentTime, float Rate, float RT, int16_t Status,
                         int16_t Mixnumber, int16_t point);

    // ---- Compute and clear.
    void StartDeco();
    void mnucleardecopoints();
    void mnuclearlastwaypoint();
    void mnuclearallwaypoints();
    void SurfStartDeco();

    // ---- Plot.
    void PlotWayPoint(const ClassProfile &profile, int16_t nr, bool LastPoint);
    void PlotGasUsed(float Xx, float Yy, const QString &Message, int16_t position);
    float LargestDepth() const;
    float LargestTime() const;
    float Drate(float rate) const;
    float Ddepth(float depth) const;
    void TransformDescendRates();
    void TransformAscendRates();
    void RedrawProfile();
    void AxisesInit(float timeMin, float timeMax, float yTop, float yBottom);
    void Yaxis();
    void Xaxis();
    PlotPoint WorldToPixel(float t, float y) const;
    PlotPoint PixelToWorld(float x, float y) const;
    bool IsInsideGrid(float x, float y) const;
    void HScroll1_Change();

    // ---- Mouse editing.
    void pbGrid_MouseDown(int Button, int Shift, float X, float Y);
    void pbGrid_MouseMove(int Button, int Shift, float X, float Y);
    void pbGrid_MouseUp(int Button, int Shift, float X, float Y);
    // Draws the band of a new leg (exclusive-or); XTo, YTo come back moved to where the
    // pointer is taken to be.
    void DrawSegmentedLine(float XFrom, float YFrom, float &XTo, float &YTo);
    void ShowCursorPosition(float X, float Y);
    bool RubberBandActive() const { return RubberBandActive_; }

    // ---- Compartment chart.
    void PlotCompartmentLoad(const ClassProfile &profile, int16_t index);
    void DrawCompartmentAxes();
    void DrawCompartmentBar(int16_t k, float value);

    // ---- Series.
    void setPrevNext(int16_t prevp, int16_t nextp);
    void setNext(int16_t nextp);
    void UpdateSurfProfiles();
    int16_t getLastProfile() const;
    // The window is closing by the diver's hand: a first dive closes the rest of its
    // series, a later dive leaves the dives before and after it linked to each other.
    void SurfDeleteProfile();
    // Re-evaluates dive fromProfilenr and every dive after it; the following dives are
    // numbered and captioned again.
    void SurfUpdateProfile(int16_t fromProfilenr);
    // Closes the windows from dive `start` back to the first dive of its series.
    void unloadForms(int16_t start);
    void DestroyThis();

    // ---- State the commands and the tests read.
    int16_t EditorState() const { return dive_->State; }
    int16_t ProfileNumber() const { return dive_->Number(); }
    float LastRunTime() const { return dive_->LastRunTime; }
    const ClassProfile &DecoProfile() const { return dive_->DecoProfile; }
    const PlotScale &Scale() const { return scale_; }
    float AnchorX() const { return AnchorX_; }
    float AnchorY() const { return AnchorY_; }

    // ---- Controls, named as the design names them.
    QFrame *Frame1 = nullptr;
    QLineEdit *Text1 = nullptr;
    PictureBox *pbCompartmentLoad = nullptr;
    PictureBox *pbMainContainer = nullptr;
    QScrollBar *HScroll1 = nullptr;
    PictureBox *pbAxisContainer = nullptr;
    PictureBox *pbGrid = nullptr;
    QLabel *lbCeiling = nullptr;
    QLabel *lbCeilingNumber = nullptr;
    QLabel *lbTIME = nullptr;
    QLabel *lbDepth = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    SettingsRecord &record() const;          // gSettings(ProfileNumber): the dive's record
    SettingsRecord &tagRecord() const;       // the same record, named as the commands name it
    int16_t tagNumber() const;
    bool isMinimised() const;
    float outerWidth() const;
    float outerHeight() const;
    QString depthCaption(const QString &unit) const;
    void showDepthUnit(); // the depth axis caption in the dive's unit
    void setCeilingText(const QString &text, const QColor &color);

    // The replay without its error handling; commands that replay call it inside their
    // own guard.
    void replay();
    // The windows' engine run of a dive (status texts), for the dive model.
    static std::vector<PlanWarning> runEngine(Dive &dive, bool loadOnly);

    // Runs a command; an engine error puts the window back as it was before the command
    // and shows the error. What its computations leave (notices_) is shown once after it.
    void guarded(const std::function<void()> &command);
    // The dive changed (ShellNotices::DiveChanged): the window shows it afresh.
    void diveChanged(int16_t profileNr);
    void showCommandError(const RuntimeError &error);

    // The main window's commands that follow a dive's state show the active dive's
    // (frmMain::ShowActiveDiveCommands), never that of a dive a command re-planned
    // behind it.
    static void showActiveDiveCommands();
    void showRepetitiveIcon();
    void showCircuitOfDive(bool openCircuit);
    QWidget *dialogOwner();            // the main window, which owns the dialogs
    bool saveSeries();
    // The waypoint dialog on a one-waypoint profile (mode 0 view, -1 edit), modal.
    void showWaypointDialog(ClassProfile &waypoint, int16_t mode);
    // The main window's waypoint menu at the pointer.
    void showWaypointMenu();
    void drawRubberBand(const RubberBandPath &path);
    void eraseRubberBand();
    frmWaypointEditor *diveWindow(int16_t n) const; // gDiveWindows(n), null when closed

    // Fields of the window.
    PictureBox *grid_ = nullptr;    // the plot box all grid drawing goes to
    PlotScale scale_;
    float PlotMaxTime_ = 60;
    float PlotMaxDepth_ = 60;
    float AnchorX_ = 0;
    float AnchorY_ = 0;
    bool RubberBandActive_ = false;
    float PrevPlotTime_ = 0;
    float PrevPlotY_ = 0;
    ClassProfile WaypointScratch_;
    std::optional<RubberBandPath> band_; // the rubber band as drawn last
    // Where the window's own drawing position stands: the end of the last rubber band.
    float CurrentX_ = 0;
    float CurrentY_ = 0;

    // The notices of the command running on this window, shown when it ends.
    PlanNotices notices_;
    int16_t pendingUnloadMode_ = 0;
    bool saveQuestionAnswered_ = false;
    bool laidOut_ = false;
};
