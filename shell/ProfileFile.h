#pragma once
// The text form of a dive series. For every dive, first to last: its settings as a
// template block, then its profile block:
//
//     Start of Profile
//     SurfTime = 90
//     30,2.5,0,0,          depth, time, mix number, action; each field ends in ","
//     -1,-1,0,1,           a request to compute the decompression there
//     End of Profile
//
// Only what the diver entered is stored; opening a file replays it, so the computed
// dive, the tissues and the oxygen totals are computed again. Lines end in CR LF and
// numbers use "." in every locale: a "," in a depth would split the field otherwise.

#include "engine/ClassUseractions.h"
#include "engine/SettingsRecord.h"

#include <istream>
#include <vector>

class TextLineReader;
class TextLineWriter;

// One dive as a file holds it.
struct ProfileFileDive {
    TemplateRec Template;
    float SurfTime = 0;      // minutes at the surface before the dive
    ClassUseractions Log;    // what the diver entered, entry 0 unused
};

// Writes "Start of Profile" to "End of Profile" for one dive whose gas list is `gases`:
// each leg with the number its gas has in that list; a leg whose gas the list no longer
// holds with a number outside it, so that reading the file never gives it another gas.
void WriteProfileBlock(float surfTime, const ClassUseractions &log, const std::vector<GasRecord> &gases,
                       TextLineWriter &out);

// Writes one dive: its template block, then its profile block.
void WriteProfileDive(const TemplateRec &settings, float surfTime, const ClassUseractions &log,
                      TextLineWriter &out);

// Reads a profile block into the dive, whose Template must be read already: each leg
// takes the name of its gas from it; a leg whose number lies outside the list keeps it
// and has no gas (the dive cannot be computed, as when it was saved). A first line that
// holds "," or "=" or is "End of Profile" (the start line is missing), a block that ends
// early, a surface interval or field that is not a number, a negative interval, depth or
// time, a depth beyond the dive bounds (engine/DiveBounds.h), legs lasting more than a
// week, a number beyond a Single or an unknown action is a RuntimeError. Blanks, tabs
// and a CR after the block's first and last lines are allowed.
void ReadProfileBlock(ProfileFileDive &dive, TextLineReader &in);

// Reads a whole series. Blank lines after the last dive are ignored. A file without any
// dive, or with any dive that cannot be read, is a RuntimeError: a series is taken whole
// or not at all. Files larger than MaxProfileFileSize are refused unread.
std::vector<ProfileFileDive> ReadProfileFile(std::istream &in);

inline constexpr size_t MaxProfileFileSize = 16u << 20;
