#pragma once
// The dive information: for the series of a dive (the shell gives the active one), one
// tab per dive and, for the dive of the selected tab, every waypoint of its shown
// profile, a summary, its stops, the gas it uses per gas and the settings it was planned
// with. Modal, owned by the main window, a new one for every use:
//
//     frmGeneralInfo info(diveNumber, ticks, mainWindow);
//     info.setthefirstprofile();           // the first dive of the dive's series
//     ShowModal(&info);                    // platform/ModalWindow.h
//
// It computes nothing: it reads each dive's shown profile and record through the dive
// model and names the model from the algorithm menu's ticks it is given. Limits crossed
// are shown bold red (a ppO2 from the first stop on, judged against the deco limit, also
// italic).
// A right click on the window, the settings panel, the tab strip or the profile, stop
// or gas grid offers "Copy": the shown dive as 80-column text on the clipboard
// (reports/GeneralInfoClip.h).

#include "engine/SettingsRecord.h"
#include "reports/GeneralInfoClip.h"
#include "reports/ModelName.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class ClassProfile;
class FlexGrid;
class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabBar;

class frmGeneralInfo : public QDialog {
    Q_OBJECT
public:
    // The window for the series of dive `activeDive` (0 or less: none is active), its
    // models named by the algorithm menu's `ticks`.
    frmGeneralInfo(int16_t activeDive, const AlgorithmTicks &ticks, QWidget *parent = nullptr);

    // Shows the first dive of the given dive's series; nothing when no dive is given.
    void setthefirstprofile();
    // Fills the window for dive `profilenr`; `SurfIntervalAvailable` for a repetitive dive.
    void setInfo(int16_t profilenr, bool SurfIntervalAvailable);
    // Dives in the given dive's series, -1 when no dive is given.
    int16_t getNumberofSeries() const;

    int16_t SeriesCount() const { return SeriesCount_; }
    // The profile number of the dive shown, -1 before any.
    int16_t ShownDive() const { return shownDive_; }
    // The shown texts as the copy takes them.
    GeneralInfoTexts ShownTexts() const;

    QTabBar *TabStrip1 = nullptr;
    QFrame *Frame2 = nullptr; // everything of the selected dive
    QLabel *Label16 = nullptr, *Label17 = nullptr; // surface interval
    QLabel *Label3 = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label4 = nullptr;
    FlexGrid *fginfo = nullptr;           // one row per waypoint
    FlexGrid *fgSummary = nullptr;        // 6 rows of label, value, label, value
    FlexGrid *fgDecoStop = nullptr;       // one row per stop
    FlexGrid *fgGasConsumption = nullptr; // one row per gas used
    QGroupBox *Frame3 = nullptr;          // the settings
    QLabel *Label6 = nullptr, *lbModel = nullptr;
    QLabel *Label5 = nullptr, *lbDepthConservatism = nullptr, *lbGFConservatism = nullptr;
    QLabel *lbLoGF = nullptr, *lbLoGFValue = nullptr, *lbHiGF = nullptr, *lbHiGFValue = nullptr;
    QLabel *Label7 = nullptr, *Label11 = nullptr, *lbAFrom = nullptr, *lbStartPres = nullptr;
    QLabel *Label12 = nullptr, *lbATo = nullptr, *lbStopPres = nullptr;
    QLabel *Label8 = nullptr, *Label9 = nullptr, *lbStep = nullptr, *Label10 = nullptr, *lbLastStep = nullptr;
    QLabel *Label14 = nullptr, *lbAparatus = nullptr;
    QLabel *Label13 = nullptr, *lbUnits = nullptr;
    QLabel *lbO2Narcotic = nullptr, *Label15 = nullptr;
    QPushButton *Command1 = nullptr; // OK
    QMenu *mnuCopyInfo = nullptr;
    QAction *GeneralInfo = nullptr; // "Copy"

public slots:
    void TabStrip1_Click();
    void Command1_Click();
    void GeneralInfo_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createGrids();
    void createSettingsPanel();
    void layOut();
    void Form_Load();
    void setGridHeadings();

    void resetShownDive();
    void fillProfile(const ClassProfile &p, const TemplateRec &t);
    void fillStops(const ClassProfile &p);
    void fillSummary(const ClassProfile &p, const TemplateRec &t);
    void fillGasTotals(const ClassProfile &p, const TemplateRec &t);
    void fillSettings(const TemplateRec &t);
    void fitColumns();
    void popUpCopy(const QPoint &globalPos);

    int16_t activeDive_ = 0;
    AlgorithmTicks ticks_;
    int16_t SeriesCount_ = 0;
    int16_t shownDive_ = -1;
    bool loaded_ = false;
    std::vector<GasRecord> GasTotals;
    // Accumulated over the waypoints of the dive shown.
    float totalStopTime_ = 0;
    float totalCNS_ = 0, totalOTU_ = 0, highestPPO2_ = 0, lowestPPO2_ = 1000, greatestDepth_ = 0, highestEND_ = 0;
};
