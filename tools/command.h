// The tarvokin tool's subcommands and what they share.
//
// Adding a subcommand: write tools/<name>_command.cpp defining
//     int tarvokin::runName(std::span<const std::string> args)
// (args are the words after the subcommand's name), then add one line to
// TARVOKIN_COMMANDS below. Report bad usage by throwing UsageError and other
// failures by throwing std::runtime_error: main prints one line on stderr and
// exits non-zero.
#pragma once

#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// X(name, run function, usage after the name, one-line help), in --help order.
#define TARVOKIN_COMMANDS(X)                                                                       \
    X("info", runInfo, "[--plugin PATH]",                                                          \
      "print a plug-in's identity, flags, I/O, parameters and programs")                           \
    X("render", runRender,                                                                         \
      "IN OUT [--plugin PATH] [--tempo BPM] [--start-beat B] [--stopped] [--block N] "             \
      "[--program N] [--set NAME=VALUE ...]",                                                      \
      "render an audio file through a plug-in on a running transport")                             \
    X("demo", runDemo, "[DIR] [--plugin PATH]",                                                    \
      "render a built-in pad through the gate with a few settings into DIR (demo-out)")            \
    X("panel", runPanel, "OUT.png [--set NAME=VALUE ...] [--program N]",                           \
      "draw the Tarvokin panel for the given parameter values into a PNG file")                    \
    X("validate", runValidate,                                                                     \
      "[--plugin PATH] [--strictness 1..10] [--seed N] [--test NAME,...] [--timeout S] "           \
      "[--editor-window] [--no-fork]",                                                             \
      "check a VST 2.4 plug-in as a strict host would; non-zero exit on any failure")

namespace tarvokin {

struct Command {
    std::string_view name;
    int (*run)(std::span<const std::string> args);
    std::string_view usage;
    std::string_view help;
};

#define TARVOKIN_DECLARE_COMMAND(name, function, usage, help)                                      \
    int function(std::span<const std::string> args);
TARVOKIN_COMMANDS(TARVOKIN_DECLARE_COMMAND)
#undef TARVOKIN_DECLARE_COMMAND

// Wrong words on the command line; main adds the subcommand's usage.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The words of one subcommand: "--name value" or "--name=value" options,
// "--name" flags, and everything else in order. Unknown options and options
// missing their value throw UsageError.
class Options {
public:
    Options(std::span<const std::string> args, std::initializer_list<std::string_view> valued,
            std::initializer_list<std::string_view> flags = {});

    std::optional<std::string> value(std::string_view name) const;
    bool flag(std::string_view name) const;
    const std::vector<std::string>& positional() const { return positional_; }

private:
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
};

// The plug-in to work on: --plugin PATH, else the Tarvokin module built with
// this tool.
std::string pluginPath(const Options& options);

// A module and one instance of it, released in the right order (the instance
// is closed before its library is unloaded).
struct LoadedPlugin {
    std::unique_ptr<hosting::PluginModule> module;
    std::unique_ptr<hosting::HostedPlugin> plugin;
};

// Loads the module and creates an instance; throws std::runtime_error with
// the reason when either fails.
LoadedPlugin loadPlugin(const std::string& path, hosting::HostState state = {});

} // namespace tarvokin
