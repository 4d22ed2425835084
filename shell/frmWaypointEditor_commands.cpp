// The compute and clear commands of the editor, and the re-evaluation that a change
// sends down a series of repetitive dives.

#include "shell/frmWaypointEditor.h"

#include "engine/EngineGlobals.h"
#include "platform/WaitCursor.h"
#include "engine/ProfileReplay.h"

void frmWaypointEditor::StartDeco()
{
    // Only drawn legs are computed: a computed dive has its ascent (a second one would
    // be logged after it), an empty one nothing to compute.
    if (dive_->State != EditorUserLegs)
        return;
    guarded([this] {
        {
            WaitCursor wait;
            notices_.AddWarnings(ComputeAscent(*dive_, runEngine));
            PrevPlotTime_ = PrevPlotY_ = 0;
            UpdateSurfProfiles();
            RedrawProfile();
        }
        SurfStartDeco();
    });
}

void frmWaypointEditor::mnucleardecopoints()
{
    guarded([this] {
        if (dive_->State != EditorComputed)
            return;
        tagRecord().ProfileChanged = true;
        dive_->State = EditorUserLegs;
        dive_->InputProfile.Copy(dive_->SavedUserProfile);
        dive_->UserEnteredWaypoints.DeleteLast(); // the deco marker
        PrevPlotTime_ = PrevPlotY_ = 0;
        TransformDescendRates();
        TransformAscendRates();
        replay();
    });
}

void frmWaypointEditor::mnuclearlastwaypoint()
{
    guarded([this] {
        tagRecord().ProfileChanged = true;
        // The time of the entry that is now last; 0 when only the start entry is left.
        const float t = dive_->UserEnteredWaypoints.DeleteLast();
        if (t == 0) {
            dive_->State = EditorEmpty;
            setCeilingText(QStringLiteral("0"), QColor(0, 0, 0));
        }
        PrevPlotTime_ = PrevPlotY_ = 0;
        TransformDescendRates();
        TransformAscendRates();
        // The replay leaves LastRunTime at the end of the last logged leg that is left.
        replay();
    });
}

void frmWaypointEditor::mnuclearallwaypoints()
{
    guarded([this] {
        tagRecord().ProfileChanged = true;
        dive_->LastRunTime = 0;
        dive_->InputProfile.clear();
        dive_->UserEnteredWaypoints.clear();
        PrevPlotTime_ = PrevPlotY_ = 0;
        TransformDescendRates();
        TransformAscendRates();
        dive_->State = EditorEmpty;
        replay();
        setCeilingText(QStringLiteral("0"), QColor(0, 0, 0));
    });
}

void frmWaypointEditor::SurfStartDeco()
{
    // The dives after it are re-evaluated within this command, which tells the diver.
    if (dive_->NextProfile() != -1)
        notices_.Merge(ShowSeriesOutcome(ReEvaluateSeries(dive_->NextProfile(), runEngine)));
}
