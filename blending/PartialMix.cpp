#include "blending/PartialMix.h"

// The page is composed with the print engine's writer; until that engine is built the
// Print button of the blending window has nothing to hand the sheet to.
void PrintBlendSheet(const MixPrintData &)
{
}
