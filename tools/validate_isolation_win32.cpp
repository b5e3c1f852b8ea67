#include "tools/validate_isolation.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <windows.h>

namespace tarvokin::validate {
namespace {

// One word of a command line, quoted the way the C runtime splits it again:
// backslashes are literal unless they precede a quote.
std::string quoted(const std::string& word) {
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, '\\');
    return text + '"';
}

std::string ownPath() {
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        throw std::runtime_error("cannot find the tool's own executable");
    }
    return std::string(path, length);
}

std::string temporaryFile(const char* prefix) {
    char folder[MAX_PATH + 1];
    char path[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameA(folder, prefix, 0, path) == 0) {
        throw std::runtime_error("cannot create a temporary file");
    }
    return path;
}

LONG WINAPI endOnException(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Closing the job ends every process in it: the test process and anything
// the plug-in started, which could otherwise hold the captured output open.
HANDLE jobThatEndsItsProcesses() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr) {
        return nullptr;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

std::string exceptionName(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
        return "access violation";
    case EXCEPTION_STACK_OVERFLOW:
        return "stack overflow";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
        return "illegal instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
        return "integer division by zero";
    case 0xC0000409: // STATUS_STACK_BUFFER_OVERRUN, also what abort-on-failure ends with
        return "fail-fast exception";
    default:
        return "exception";
    }
}

std::string crashText(DWORD code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    return "the plug-in crashed the test process: " + exceptionName(code) + " (" + hex + ")";
}

} // namespace

void prepareTestProcess() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(endOnException);
}

void endTestProcess(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    ExitProcess(static_cast<UINT>(status)); // not reached
}

IsolatedRun runIsolated(const std::function<std::string()>& /*runTest*/,
                        const std::vector<std::string>& childArguments, int timeoutSeconds) {
    const std::string reportPath = temporaryFile("tkr");
    std::string capturePath;
    try {
        capturePath = temporaryFile("tkc");
    } catch (...) {
        DeleteFileA(reportPath.c_str());
        throw;
    }
    std::string commandLine = quoted(ownPath());
    for (const std::string& word : childArguments) {
        commandLine += ' ' + quoted(word);
    }
    commandLine += " --report-file " + quoted(reportPath);

    // What the plug-in prints goes to a file; its last lines join the report
    // of a test that does not pass.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE capture =
        CreateFileA(capturePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = capture;
    startup.hStdError = capture;
    PROCESS_INFORMATION process{};
    std::fflush(stdout);
    // Started suspended, so that it is in the job before it can start anything.
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
    if (capture != INVALID_HANDLE_VALUE) {
        CloseHandle(capture);
    }
    if (!started) {
        DeleteFileA(reportPath.c_str());
        DeleteFileA(capturePath.c_str());
        throw std::runtime_error("cannot start a test process (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    HANDLE job = jobThatEndsItsProcesses();
    if (job != nullptr && !AssignProcessToJobObject(job, process.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);

    IsolatedRun run;
    const DWORD limit = static_cast<DWORD>(timeoutSeconds) * 1000u;
    if (WaitForSingleObject(process.hProcess, limit) != WAIT_OBJECT_0) {
        run.timedOut = true;
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    if (job != nullptr) {
        CloseHandle(job);
    }

    if (std::ifstream report{reportPath, std::ios::binary}) {
        run.report.assign(std::istreambuf_iterator<char>(report), {});
    }
    if (std::FILE* printed = std::fopen(capturePath.c_str(), "rb")) {
        run.printed = lastLines(printed, kPrintedLinesShown);
        std::fclose(printed);
    }
    DeleteFileA(reportPath.c_str());
    DeleteFileA(capturePath.c_str());
    if (!run.timedOut && exitCode >= 0xC0000000u) {
        run.abnormalEnd = crashText(exitCode);
    } else if (!run.timedOut && exitCode != 0) {
        run.abnormalEnd = "the test process exited with status " + std::to_string(exitCode);
    }
    return run;
}

} // namespace tarvokin::validate
