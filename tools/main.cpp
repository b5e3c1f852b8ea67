// tarvokin: a command-line VST 2.4 host. Each subcommand is one source file;
// the table of them is TARVOKIN_COMMANDS in tools/command.h.
#include "tools/command.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace tarvokin {
namespace {

constexpr Command kCommands[] = {
#define TARVOKIN_COMMAND_ENTRY(name, function, usage, help) {name, function, usage, help},
    TARVOKIN_COMMANDS(TARVOKIN_COMMAND_ENTRY)
#undef TARVOKIN_COMMAND_ENTRY
};

void printUsage(std::FILE* out) {
    std::fprintf(out, "usage: tarvokin COMMAND [OPTIONS]\n"
                      "       tarvokin COMMAND --help\n\n"
                      "A VST 2.4 host for the command line. The plug-in is the Tarvokin module\n"
                      "built with this tool unless --plugin PATH names another.\n\ncommands:\n");
    for (const Command& command : kCommands) {
        std::fprintf(out, "  %-10.*s %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.help.size()),
                     command.help.data());
    }
}

void printCommandUsage(std::FILE* out, const Command& command) {
    std::fprintf(out, "usage: tarvokin %.*s %.*s\n%.*s\n", static_cast<int>(command.name.size()),
                 command.name.data(), static_cast<int>(command.usage.size()), command.usage.data(),
                 static_cast<int>(command.help.size()), command.help.data());
}

const Command* findCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

bool asksForHelp(const std::string& word) {
    return word == "--help" || word == "-h";
}

int runCommand(const Command& command, std::span<const std::string> args) {
    if (!args.empty() && asksForHelp(args.front())) {
        printCommandUsage(stdout, command);
        return 0;
    }
    const std::string name(command.name);
    try {
        return command.run(args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "tarvokin %s: %s (usage: tarvokin %s %.*s)\n", name.c_str(),
                     error.what(), name.c_str(), static_cast<int>(command.usage.size()),
                     command.usage.data());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tarvokin %s: %s\n", name.c_str(), error.what());
        return 1;
    }
}

} // namespace
} // namespace tarvokin

int main(int argc, char** argv) {
    using namespace tarvokin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        printUsage(stderr);
        return 2;
    }
    if (asksForHelp(words.front()) || words.front() == "help") {
        if (words.size() > 1) {
            if (const Command* command = findCommand(words[1])) {
                printCommandUsage(stdout, *command);
                return 0;
            }
        }
        printUsage(stdout);
        return 0;
    }
    const Command* command = findCommand(words.front());
    if (command == nullptr) {
        std::fprintf(stderr, "tarvokin: unknown command '%s' (see tarvokin --help)\n",
                     words.front().c_str());
        return 2;
    }
    return runCommand(*command, std::span<const std::string>(words).subspan(1));
}
