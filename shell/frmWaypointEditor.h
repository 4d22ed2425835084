#pragma once
// A dive window: one per open dive, a child of the main window. Its Tag holds the dive's
// profile number, the index of its record in gSettings and of the window in gDiveWindows.
//
// This is the window's frame: its place among the main window's dive windows, its
// series links and the commands the main window calls on it. The drawing, the log
// replay and the computation come with the profile editor itself.

#include "engine/ClassProfile.h"
#include "engine/ClassUseractions.h"

#include <QWidget>

#include <cstdint>

class frmWaypointEditor : public QWidget {
    Q_OBJECT
public:
    explicit frmWaypointEditor(QWidget *parent = nullptr); // the window's load

    // The dive's profile number as text.
    QString Tag() const;
    void setTag(const QString &tag);

    int16_t SurfProfileNumber = 1;   // position in the series, 1 = first
    ClassProfile InputProfile;       // the shown profile
    ClassUseractions UserEnteredWaypoints;
    int16_t PrevProfile = -1;        // previous dive of the series, -1 = none
    int16_t NextProfile = -1;        // next dive of the series, -1 = none

    // Binds the window to its dive's settings (the active dive's Tag).
    void SetTemplate();
    void setPrevNext(int16_t prev, int16_t next);
    int16_t getFirstProfile() const;
    int16_t getLastProfile() const;

    // 0 no waypoints, 1 drawn waypoints only, 2 decompression computed.
    int16_t EditorState() const { return EditorState_; }

    // Commands the main window calls by name.
    void StartDeco();
    void ReEvaluateUserEnteredWaypoints();
    void mnucleardecopoints();
    void mnuclearlastwaypoint();
    void mnuclearallwaypoints();

    // The window became the active dive window.
    void Form_Activate();

protected:
    void closeEvent(QCloseEvent *event) override; // the unload: the dive's slot is freed

private:
    int16_t ProfileNumber = 0;
    int16_t EditorState_ = 0;
};
