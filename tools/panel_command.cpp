// tarvokin panel: draws the Tarvokin panel for chosen parameter values into a
// PNG file. The effect and its editor run in this process (the plug-in's own
// libraries are linked in), with the panel on the offscreen backend: a loaded
// module hides its classes, and the pixels of an offscreen frame are only
// reachable in-process.
#include "editor/aeff_gui_editor.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#ifndef _WIN32
#include "gui/offscreen_window.h"
#endif
#include "host/audio_effect.h"
#include "tools/command.h"

namespace tarvokin {
namespace {

struct PanelRequest {
    std::string output;
    std::vector<std::pair<std::string, std::string>> settings; // NAME, VALUE
    std::optional<int> program;
};

// "--name VALUE" or "--name=VALUE" at args[i]; advances i past the value.
std::optional<std::string> optionValue(std::span<const std::string> args, std::size_t& i,
                                       std::string_view name) {
    const std::string& word = args[i];
    if (word == name) {
        if (i + 1 >= args.size()) {
            throw UsageError(std::string(name) + " needs a value");
        }
        return args[++i];
    }
    if (word.size() > name.size() && word.compare(0, name.size(), name) == 0 &&
        word[name.size()] == '=') {
        return word.substr(name.size() + 1);
    }
    return std::nullopt;
}

PanelRequest parse(std::span<const std::string> args) {
    PanelRequest request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (auto set = optionValue(args, i, "--set")) {
            const auto equals = set->find('=');
            if (equals == std::string::npos || equals == 0) {
                throw UsageError("--set wants NAME=VALUE, got '" + *set + "'");
            }
            request.settings.emplace_back(set->substr(0, equals), set->substr(equals + 1));
        } else if (auto program = optionValue(args, i, "--program")) {
            int number = 0;
            const char* end = program->data() + program->size();
            if (std::from_chars(program->data(), end, number).ptr != end || program->empty()) {
                throw UsageError("--program wants a number, got '" + *program + "'");
            }
            request.program = number;
        } else if (!args[i].empty() && args[i][0] == '-') {
            throw UsageError("unknown option " + args[i]);
        } else if (request.output.empty()) {
            request.output = args[i];
        } else {
            throw UsageError("more than one output file");
        }
    }
    if (request.output.empty()) {
        throw UsageError("no output file");
    }
    return request;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A parameter by its index, its name as the host sees it ("Prob3", "Duratio")
// or its panel label ("Duration", "Mix"), case-insensitive.
int parameterIndex(AudioEffect& effect, const std::string& name, int count) {
    int index = 0;
    const char* end = name.data() + name.size();
    if (std::from_chars(name.data(), end, index).ptr == end && index >= 0 && index < count) {
        return index;
    }
    const std::string wanted = lowered(name);
    if (wanted == "duration") {
        return 35;
    }
    if (wanted == "mix") {
        return 36;
    }
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        effect.getParameterName(i, text);
        if (lowered(text) == wanted) {
            return i;
        }
    }
    throw UsageError("no parameter named '" + name + "'");
}

float parameterValue(const std::string& text) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !(value >= 0.0f && value <= 1.0f)) {
        throw UsageError("a parameter value is a number from 0 to 1, got '" + text + "'");
    }
    return value;
}

VstIntPtr VSTCALLBACK panelHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/,
                                VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct EffectDeleter {
    void operator()(AudioEffect* effect) const { delete effect; }
};

} // namespace

int runPanel(std::span<const std::string> args) {
    const PanelRequest request = parse(args);
    std::unique_ptr<AudioEffect, EffectDeleter> effect(createEffectInstance(&panelHost));
    if (!effect) {
        throw std::runtime_error("the effect could not be created");
    }
    AEffect* record = effect->getAeffect();
    if (request.program) {
        if (*request.program < 0 || *request.program >= record->numPrograms) {
            throw UsageError("--program wants 0 to " + std::to_string(record->numPrograms - 1));
        }
        effect->setProgram(*request.program);
    }
    for (const auto& [name, value] : request.settings) {
        effect->setParameter(parameterIndex(*effect, name, record->numParams),
                             parameterValue(value));
    }
    auto* editor = dynamic_cast<AEffGUIEditor*>(effect->getEditor());
    if (editor == nullptr || !editor->open(nullptr)) {
        throw std::runtime_error("the panel could not be opened");
    }
    editor->idle();
#ifndef _WIN32
    OffscreenWindow* window = OffscreenWindow::of(editor->getFrame());
    const bool written = window != nullptr && window->writePng(request.output);
#else
    // The Windows build has no cairo offscreen backend to write PNG files with.
    const bool written = false;
#endif
    editor->close();
    if (!written) {
        throw std::runtime_error("cannot write " + request.output);
    }
    return 0;
}

} // namespace tarvokin
