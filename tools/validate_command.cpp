// tarvokin validate: checks any VST 2.4 plug-in the way a strict host would
// before trusting it, one line per test, a summary, and a non-zero exit on any
// failure. Each test runs in a process of its own (validate_isolation.h), so
// a plug-in that crashes or hangs is reported and the remaining tests still
// run. "--report-file PATH" is the tool's own: it runs one test in such a
// process and writes the report there.
#include "tools/command.h"
#include "tools/validate_isolation.h"
#include "tools/validate_tests.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace tarvokin {
namespace {

using validate::Config;
using validate::Context;
using validate::ValidationTest;

enum class Outcome { passed, failed, skipped };

struct Result {
    Outcome outcome = Outcome::failed;
    std::vector<std::string> messages;
    double seconds = 0.0;
};

int parseInt(const std::string& text, const char* option, long low, long high) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high) {
        throw UsageError(std::string(option) + " wants a whole number from " + std::to_string(low) +
                         " to " + std::to_string(high) + ", not '" + text + "'");
    }
    return static_cast<int>(value);
}

std::uint64_t parseSeed(const std::string& text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || text.front() == '-') {
        throw UsageError("--seed wants a non-negative whole number, not '" + text + "'");
    }
    return value;
}

// The lines a test's process hands back: "fail TEXT", "note TEXT", "skip TEXT",
// and "done" as the last one.
std::string encode(const Context& context) {
    std::string lines;
    for (const std::string& message : context.messages()) {
        std::string line = message;
        std::replace(line.begin(), line.end(), '\n', ' ');
        const bool isNote = line.rfind("note: ", 0) == 0;
        lines += context.skipped() ? "skip " : isNote ? "note " : "fail ";
        lines += isNote ? line.substr(6) : line;
        lines += '\n';
    }
    if (context.failures() > static_cast<int>(context.messages().size())) {
        lines += "fail (" + std::to_string(context.failures()) + " failures in all)\n";
    }
    lines += context.failed() ? "failed\n" : context.skipped() ? "skipped\n" : "passed\n";
    return lines;
}

Result decode(const std::string& lines) {
    Result result;
    bool finished = false;
    std::istringstream stream(lines);
    for (std::string line; std::getline(stream, line);) {
        if (line == "passed" || line == "failed" || line == "skipped") {
            result.outcome = line == "passed"   ? Outcome::passed
                             : line == "failed" ? Outcome::failed
                                                : Outcome::skipped;
            finished = true;
        } else if (line.rfind("note ", 0) == 0) {
            result.messages.push_back("note: " + line.substr(5));
        } else if (line.size() > 5) {
            result.messages.push_back(line.substr(5));
        }
    }
    if (!finished) {
        result.outcome = Outcome::failed;
    }
    return result;
}

std::string runInContext(const ValidationTest& test, const Config& config, std::size_t number) {
    Context context(config, number + 1);
    try {
        test.run(context);
    } catch (const std::exception& error) {
        context.fail(std::string("stopped: ") + error.what());
    }
    return encode(context);
}

// Runs one test in its own process and waits at most `timeoutSeconds`.
Result runIsolated(const ValidationTest& test, const Config& config, std::size_t number,
                   int timeoutSeconds) {
    std::vector<std::string> childArguments = {"validate",
                                               "--plugin",
                                               config.plugin,
                                               "--strictness",
                                               std::to_string(config.strictness),
                                               "--seed",
                                               std::to_string(config.seed),
                                               "--test",
                                               test.name};
    if (config.editorWindow) {
        childArguments.push_back("--editor-window");
    }
    const validate::IsolatedRun run = validate::runIsolated(
        [&] { return runInContext(test, config, number); }, childArguments, timeoutSeconds);
    Result result = decode(run.report);
    if (run.timedOut) {
        result.outcome = Outcome::failed;
        result.messages.push_back("did not finish within " + std::to_string(timeoutSeconds) +
                                  " s (killed)");
    } else if (!run.abnormalEnd.empty()) {
        result.outcome = Outcome::failed;
        result.messages.push_back(run.abnormalEnd);
    }
    if (result.outcome == Outcome::failed) {
        for (const std::string& line : run.printed) {
            result.messages.push_back("plug-in printed: " + line);
        }
    }
    return result;
}

// The test process's side of a run in a new process: one test, its report
// to a file, and an immediate end.
[[noreturn]] void runAsTestProcess(const ValidationTest& test, const Config& config,
                                   std::size_t number, const std::string& reportPath) {
    validate::prepareTestProcess();
    const std::string report = runInContext(test, config, number);
    std::FILE* file = std::fopen(reportPath.c_str(), "wb");
    bool written = file != nullptr;
    if (file != nullptr) {
        written = std::fwrite(report.data(), 1, report.size(), file) == report.size();
        written = std::fclose(file) == 0 && written;
    }
    validate::endTestProcess(written ? 0 : 1);
}

Result runInProcess(const ValidationTest& test, const Config& config, std::size_t number) {
    return decode(runInContext(test, config, number));
}

std::vector<const ValidationTest*> selectTests(const std::optional<std::string>& names) {
    const auto tests = validate::validationTests();
    std::vector<const ValidationTest*> chosen;
    if (!names) {
        for (const ValidationTest& test : tests) {
            chosen.push_back(&test);
        }
        return chosen;
    }
    std::istringstream list(*names);
    for (std::string name; std::getline(list, name, ',');) {
        const auto found = std::find_if(tests.begin(), tests.end(),
                                        [&](const ValidationTest& t) { return name == t.name; });
        if (found == tests.end()) {
            std::string known;
            for (const ValidationTest& test : tests) {
                known += known.empty() ? "" : ", ";
                known += test.name;
            }
            throw UsageError("unknown test '" + name + "' (tests: " + known + ")");
        }
        chosen.push_back(&*found);
    }
    return chosen;
}

const char* outcomeText(Outcome outcome) {
    switch (outcome) {
    case Outcome::passed:
        return "PASS";
    case Outcome::skipped:
        return "SKIP";
    default:
        return "FAIL";
    }
}

} // namespace

int runValidate(std::span<const std::string> args) {
    const Options options(
        args, {"--plugin", "--strictness", "--seed", "--test", "--timeout", "--report-file"},
        {"--editor-window", "--no-fork"});
    if (!options.positional().empty()) {
        throw UsageError("unexpected argument '" + options.positional().front() + "'");
    }
    Config config;
    config.plugin = pluginPath(options);
    if (auto strictness = options.value("--strictness")) {
        config.strictness = parseInt(*strictness, "--strictness", 1, 10);
    }
    if (auto seed = options.value("--seed")) {
        config.seed = parseSeed(*seed);
    }
    config.editorWindow = options.flag("--editor-window");
    const int timeoutSeconds = options.value("--timeout")
                                   ? parseInt(*options.value("--timeout"), "--timeout", 1, 86400)
                                   : 300;
    const bool isolate = !options.flag("--no-fork");
    const auto tests = selectTests(options.value("--test"));
    const auto allTests = validate::validationTests();
    if (auto reportPath = options.value("--report-file")) {
        if (tests.size() != 1) {
            throw UsageError("--report-file runs exactly one --test");
        }
        const auto number = static_cast<std::size_t>(tests.front() - allTests.data());
        runAsTestProcess(*tests.front(), config, number, *reportPath);
    }

    std::printf("validating %s (strictness %d, seed %llu)\n", config.plugin.c_str(),
                config.strictness, static_cast<unsigned long long>(config.seed));
    int counts[3] = {0, 0, 0};
    for (const ValidationTest* test : tests) {
        const std::size_t number = static_cast<std::size_t>(test - allTests.data());
        const auto start = std::chrono::steady_clock::now();
        Result result = isolate ? runIsolated(*test, config, number, timeoutSeconds)
                                : runInProcess(*test, config, number);
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++counts[static_cast<int>(result.outcome)];
        std::printf("%s  %-16s %6.2f s  %s\n", outcomeText(result.outcome), test->name,
                    result.seconds, test->summary);
        for (const std::string& message : result.messages) {
            std::printf("      %s\n", message.c_str());
        }
        std::fflush(stdout);
    }
    std::printf("summary: %d passed, %d failed, %d skipped\n", counts[0], counts[1], counts[2]);
    return counts[static_cast<int>(Outcome::failed)] > 0 ? 1 : 0;
}

} // namespace tarvokin
