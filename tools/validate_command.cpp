// tarvokin validate: checks any VST 2.4 plug-in the way a strict host would
// before trusting it, one line per test, a summary, and a non-zero exit on any
// failure. Each test runs in a child process, so a plug-in that crashes or
// hangs is reported and the remaining tests still run.
#include "tools/command.h"
#include "tools/validate_tests.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
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

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

constexpr std::size_t kPrintedLinesShown = 3;

// The last non-empty lines of a capture file, without terminal colour codes.
std::vector<std::string> lastLines(std::FILE* file, std::size_t count) {
    std::vector<std::string> lines;
    if (file == nullptr || std::fseek(file, 0, SEEK_SET) != 0) {
        return lines;
    }
    std::string line;
    for (int c = std::fgetc(file);; c = std::fgetc(file)) {
        if (c == EOF || c == '\n') {
            if (!line.empty()) {
                lines.push_back(line);
                if (lines.size() > count) {
                    lines.erase(lines.begin());
                }
            }
            line.clear();
            if (c == EOF) {
                break;
            }
        } else if (c == '\x1b') {
            while (c != EOF && c != 'm') {
                c = std::fgetc(file);
            }
        } else if (line.size() < 200) {
            line += static_cast<char>(c);
        }
    }
    return lines;
}

std::string signalName(int signal) {
    const char* name = strsignal(signal);
    return std::string(name != nullptr ? name : "signal") + " (" + std::to_string(signal) + ")";
}

// Runs one test in a child process and waits at most `timeoutSeconds`.
Result runIsolated(const ValidationTest& test, const Config& config, std::size_t number,
                   int timeoutSeconds) {
    int channel[2];
    if (pipe(channel) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    // What the plug-in prints goes to a file; its last lines join the report
    // of a test that does not pass.
    std::FILE* capture = std::tmpfile();
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (child == 0) {
        ::close(channel[0]);
        if (capture != nullptr) {
            dup2(fileno(capture), STDOUT_FILENO);
            dup2(fileno(capture), STDERR_FILENO);
        }
        const std::string lines = runInContext(test, config, number);
        writeAll(channel[1], lines);
        // Skip static destructors: the plug-in's module may still hold
        // threads or handlers of its own.
        std::fflush(stdout);
        _exit(0);
    }
    ::close(channel[1]);
    std::string lines;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd waiting{channel[0], POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        char chunk[4096];
        const ssize_t got = ::read(channel[0], chunk, sizeof chunk);
        if (got <= 0) {
            break;
        }
        lines.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    if (timedOut) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    Result result = decode(lines);
    const std::vector<std::string> printed = lastLines(capture, kPrintedLinesShown);
    if (capture != nullptr) {
        std::fclose(capture);
    }
    if (timedOut) {
        result.outcome = Outcome::failed;
        result.messages.push_back("did not finish within " + std::to_string(timeoutSeconds) +
                                  " s (killed)");
    } else if (WIFSIGNALED(status)) {
        result.outcome = Outcome::failed;
        result.messages.push_back("the plug-in crashed the test process: " +
                                  signalName(WTERMSIG(status)));
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.outcome = Outcome::failed;
        result.messages.push_back("the test process exited with status " +
                                  std::to_string(WEXITSTATUS(status)));
    }
    if (result.outcome == Outcome::failed) {
        for (const std::string& line : printed) {
            result.messages.push_back("plug-in printed: " + line);
        }
    }
    return result;
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
    const Options options(args, {"--plugin", "--strictness", "--seed", "--test", "--timeout"},
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

    std::printf("validating %s (strictness %d, seed %llu)\n", config.plugin.c_str(),
                config.strictness, static_cast<unsigned long long>(config.seed));
    int counts[3] = {0, 0, 0};
    const auto allTests = validate::validationTests();
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
