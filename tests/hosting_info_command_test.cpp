// The tarvokin tool's info subcommand and its error handling, run as a
// program the way a user runs it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

ToolRun runTool(const std::string& arguments) {
    const auto folder = std::filesystem::temp_directory_path();
    const std::string stem = "tarvokin_info_test_" + std::to_string(getpid());
    const auto out = folder / (stem + ".out");
    const auto err = folder / (stem + ".err");
    const std::string command = std::string("'") + TARVOKIN_TOOL_PATH + "' " + arguments + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(out);
    run.err = readFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

int countLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(InfoCommand, DescribesTheBuiltPlugInByDefault) {
    const ToolRun run = runTool("info");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* line : {
             "entry point    VSTPluginMain\n",
             "magic          0x56737450 (VstP, ok)\n",
             "effect name    Tarvokin\n",
             "vendor         mirel-dovka\n",
             "product        Tarvokin\n",
             "vendor version 1000\n",
             "VST version    2400\n",
             "unique ID      'tk67' 0x746B3637\n",
             "inputs         2\n",
             "outputs        2\n",
             "category       0 (unknown)\n",
             "parameters     38\n",
             "      0  Prob1 ",
             "     37  Output ",
             "programs       8 (current 0)\n",
             "      0  Init 1\n",
             "      7  Init 8\n",
         }) {
        EXPECT_NE(run.out.find(line), std::string::npos) << "missing: " << line << run.out;
    }
}

TEST(InfoCommand, DescribesAThirdPartyPlugInThatOnlyExportsMain) {
    const char* kPath = "/usr/lib/vst/MVerb-vst.so";
    if (!std::filesystem::exists(kPath)) {
        GTEST_SKIP() << kPath << " is not installed";
    }
    const ToolRun run = runTool(std::string("info --plugin ") + kPath);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("entry point    main\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("effect name    MVerb\n"), std::string::npos) << run.out;
}

TEST(InfoCommand, FailuresAreOneLineOnStandardErrorWithANonZeroExit) {
    const struct {
        const char* arguments;
        int exitCode;
        const char* start;
    } kCases[] = {
        {"info --plugin /no/such/plugin.so", 1, "tarvokin info: "},
        {"info --plugin /etc/hostname", 1, "tarvokin info: "},
        {"info --plugin", 2, "tarvokin info: --plugin needs a value"},
        {"info --frobnicate", 2, "tarvokin info: unknown option --frobnicate"},
        {"info extra", 2, "tarvokin info: unexpected argument extra"},
        {"frobnicate", 2, "tarvokin: unknown command 'frobnicate'"},
        {"", 2, "usage: tarvokin"},
    };
    for (const auto& c : kCases) {
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(run.err.rfind(c.start, 0), 0u) << c.arguments << ": " << run.err;
        if (c.arguments[0] != '\0') {
            EXPECT_EQ(countLines(run.err), 1) << c.arguments << ": " << run.err;
        }
    }
}

TEST(InfoCommand, HelpListsTheCommands) {
    for (const char* arguments : {"--help", "-h", "help"}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments;
        EXPECT_NE(run.out.find("\n  info "), std::string::npos) << run.out;
    }
    const ToolRun run = runTool("info --help");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("usage: tarvokin info [--plugin PATH]\n", 0), 0u) << run.out;
}

} // namespace
