#include "tools/command.h"

#include <algorithm>

namespace tarvokin {
namespace {

bool contains(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

Options::Options(std::span<const std::string> args, std::initializer_list<std::string_view> valued,
                 std::initializer_list<std::string_view> flags) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
            positional_.push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (contains(valued, name)) {
            if (equals != std::string::npos) {
                values_.emplace_back(name, word.substr(equals + 1));
            } else if (i + 1 < args.size()) {
                values_.emplace_back(name, args[++i]);
            } else {
                throw UsageError(name + " needs a value");
            }
        } else if (contains(flags, name) && equals == std::string::npos) {
            flags_.push_back(name);
        } else {
            throw UsageError("unknown option " + word);
        }
    }
}

std::optional<std::string> Options::value(std::string_view name) const {
    // The last one given wins, as in most command-line tools.
    for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
        if (it->first == name) {
            return it->second;
        }
    }
    return std::nullopt;
}

bool Options::flag(std::string_view name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

std::string pluginPath(const Options& options) {
    return options.value("--plugin").value_or(TARVOKIN_DEFAULT_PLUGIN);
}

LoadedPlugin loadPlugin(const std::string& path, hosting::HostState state) {
    LoadedPlugin loaded;
    std::string error;
    loaded.module = hosting::PluginModule::load(path, &error);
    if (!loaded.module) {
        throw std::runtime_error(error);
    }
    loaded.plugin = hosting::HostedPlugin::create(*loaded.module, std::move(state), &error);
    if (!loaded.plugin) {
        throw std::runtime_error(path + ": " + error);
    }
    return loaded;
}

} // namespace tarvokin
