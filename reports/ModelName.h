#pragma once
// The label of the decompression model on a dive's report and in its segment table:
// the main window's algorithm choice at the time the report is written (not a property
// stored with the dive), read through Shell().

#include <string>

// "Hybrid_C" or "ZH-L16C" when ZH-L16C is ticked (hybrid ticked or not); otherwise
// "Hybrid_B" or "ZH-L16B" when ZH-L16B is ticked; otherwise "VPM" when the VPM menu item
// is enabled, else "".
std::string GetModelName();
