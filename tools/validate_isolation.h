// Runs one validation test away from the validator's own process, so that a
// plug-in that crashes or hangs is reported and the remaining tests still run.
// Linux forks and runs the test in the child; Windows has no fork, so it
// starts the tool again on that one test, which writes its report to a file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace tarvokin::validate {

struct IsolatedRun {
    std::string report;               // the lines the test handed back
    bool timedOut = false;            // killed after the time limit
    std::string abnormalEnd;          // how the process ended, when not normally
    std::vector<std::string> printed; // the last lines the plug-in printed
};

// runTest runs the test and answers its report (in the forked child).
// childArguments are the tool's words that run the test alone (the child
// process gets them followed by "--report-file PATH").
IsolatedRun runIsolated(const std::function<std::string()>& runTest,
                        const std::vector<std::string>& childArguments, int timeoutSeconds);

// The side of a test process started with "--report-file": the first call
// keeps a crash from waiting on an error dialog (it ends the process with the
// exception code); the second ends the process at once after the report is
// written, without the exit handlers of the plug-in's libraries, whose
// threads may be gone by then.
void prepareTestProcess();
[[noreturn]] void endTestProcess(int status);

// The last non-empty lines of a capture file, without terminal colour codes.
std::vector<std::string> lastLines(std::FILE* file, std::size_t count);

inline constexpr std::size_t kPrintedLinesShown = 3;

} // namespace tarvokin::validate
