// The editor's log and its replay into the shown profile.

#include "shell/frmWaypointEditor.h"

#include "engine/EngineGlobals.h"
#include "engine/ProfileReplay.h"

void frmWaypointEditor::SaveUserEnteredWaypoints(float segtime, float Depth, int16_t Mixnumber,
                                                 bool deco)
{
    // The leg remembers its gas by name too, so a changed gas list cannot give it another.
    LogUserLeg(dive_->UserEnteredWaypoints, record().Template, Depth, segtime, Mixnumber);
    if (deco)
        dive_->UserEnteredWaypoints.setdeco(dive_->UserEnteredWaypoints.GetLength());
}

void frmWaypointEditor::replay()
{
    if (dive_->PrevProfile() != -1)
        showRepetitiveIcon();
    // The dive model's replay, with the windows' computation (status text); its warnings
    // are told when the command ends.
    notices_.AddWarnings(ReplayDive(*dive_, runEngine));

    PrevPlotTime_ = PrevPlotY_ = 0;
    SurfStartDeco();
    RedrawProfile();
}

void frmWaypointEditor::GetSegmentedProfile(float X1, float Y1, float &X2, float &Y2, int16_t U,
                                            int16_t /*point*/)
{
    ::GetSegmentedProfile(dive_->InputProfile, record().Template, X1, Y1, X2, Y2, U);
}

void frmWaypointEditor::SaveUserProfile(float Depth, float SegmentTime, float Rate, float RT,
                                        int16_t Status, int16_t Mixnumber, int16_t /*point*/)
{
    ::SaveUserProfile(dive_->InputProfile, record().Template, Depth, SegmentTime, Rate, RT, Status, Mixnumber);
}
