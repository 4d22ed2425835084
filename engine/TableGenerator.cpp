#include "engine/TableGenerator.h"

#include "engine/DOLVmiscModule.h"

namespace {

// The fast descent: one piece at 10000 depth units a minute, so the bottom time is spent at
// depth. The piece is logged as a thousandth of a minute, but the engine times a depth
// change by its rate: the drop lasts Depth / 10000 minutes (0.003 at 30 m).
constexpr float kFastDescentTime = 0.001f;
constexpr float kFastDescentRate = 10000;

} // namespace

std::vector<float> TableAxis(float Start, float End, float Step)
{
    std::vector<float> axis;
    if (!(Step > 0))
        return axis;
    for (float v = Start; v <= End; v += Step) {
        axis.push_back(v);
        // A step too small to move a Single this large would never reach the end.
        if (static_cast<float>(v + Step) == v)
            break;
    }
    return axis;
}

void FillTableLegs(ClassProfile &Legs, const TemplateRec &Settings, float Depth, float BottomTime, int16_t MixNr,
                   bool FastDescent)
{
    Legs.clear();
    if (FastDescent) {
        AppendLegPiece(Legs, Settings, Depth, kFastDescentTime, kFastDescentRate, 0, StatusUserLeg, MixNr);
        AppendLegPiece(Legs, Settings, Depth, BottomTime, 0, kFastDescentTime, StatusUserLeg, MixNr);
    } else {
        float endTime = BottomTime;
        AddTableTravel(Legs, Settings, 0, 0, endTime, Depth, MixNr, 0);
    }
}

TableRun PlanTables(const TemplateRec &Settings, const std::vector<float> &Depths, const std::vector<float> &Times,
                    int16_t MixNr, bool FastDescent, const PlanOptions &Options, const TableProgress &Progress)
{
    TableRun run;
    PlanOptions options = Options;
    options.Bailout = false;
    options.PlanAscent = true;
    const DiveStartState fresh; // at the surface of the settings, no carried exposure

    // Every profile of the run exists before the first cell is planned: the loop below
    // only plans into them.
    run.Tables.assign(Depths.size(), std::vector<ClassProfile>(Times.size() + 1));
    ClassProfile legs;
    int done = 0;
    for (size_t d = 0; d < Depths.size(); ++d) {
        for (size_t t = 0; t < Times.size(); ++t) {
            FillTableLegs(legs, Settings, Depths[d], Times[t], MixNr, FastDescent);
            ClassProfile &cell = run.Tables[d][t + 1];
            cell.clear();
            const PlanOutcome outcome = PlanDive(Settings, fresh, legs, options, cell);
            MergePlanWarnings(run.Warnings, outcome.Warnings);
            ++done;
            if (Progress && !Progress(done)) {
                run.Cancelled = true;
                return run;
            }
        }
    }
    return run;
}
