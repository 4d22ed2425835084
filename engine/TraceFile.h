#pragma once
// The engine trace file phi.log, written while gTraceOn is 1: every depth change and
// constant-depth segment writes its header lines and its compartment tensions.

#include <string>

// Creates (or empties) phi.log in the installation folder and keeps it open in
// gTraceFile; where that folder cannot be written, in the user's data folder, and the
// status bar then says where. A second call keeps the file already open. False when
// neither folder can be written (nothing is traced then).
bool OpenTraceFile();

// Closes the trace file (tests, and a clean end of the program).
void CloseTraceFile();

// Full path of the open trace file; empty when none is open.
const std::string &TraceFilePath();

// The status-bar text that says where the trace goes when it is not in the installation
// folder; empty otherwise.
std::string TraceFileNotice();
