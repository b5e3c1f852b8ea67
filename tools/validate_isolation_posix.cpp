#include "tools/validate_isolation.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvokin::validate {
namespace {

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

std::string signalName(int signal) {
    const char* name = strsignal(signal);
    return std::string(name != nullptr ? name : "signal") + " (" + std::to_string(signal) + ")";
}

} // namespace

IsolatedRun runIsolated(const std::function<std::string()>& runTest,
                        const std::vector<std::string>& /*childArguments*/, int timeoutSeconds) {
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
        const std::string report = runTest();
        writeAll(channel[1], report);
        // Skip static destructors: the plug-in's module may still hold
        // threads or handlers of its own.
        endTestProcess(0);
    }
    ::close(channel[1]);
    IsolatedRun run;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.timedOut = true;
            break;
        }
        pollfd waiting{channel[0], POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            run.timedOut = ready == 0;
            break;
        }
        char chunk[4096];
        const ssize_t got = ::read(channel[0], chunk, sizeof chunk);
        if (got <= 0) {
            break;
        }
        run.report.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    if (run.timedOut) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.printed = lastLines(capture, kPrintedLinesShown);
    if (capture != nullptr) {
        std::fclose(capture);
    }
    if (run.timedOut) {
        return run;
    }
    if (WIFSIGNALED(status)) {
        run.abnormalEnd = "the plug-in crashed the test process: " + signalName(WTERMSIG(status));
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.abnormalEnd =
            "the test process exited with status " + std::to_string(WEXITSTATUS(status));
    }
    return run;
}

void prepareTestProcess() {}

void endTestProcess(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(status);
}

} // namespace tarvokin::validate
