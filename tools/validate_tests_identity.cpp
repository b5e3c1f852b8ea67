// What a host's scanner reads, and opening and closing instances.
#include "tools/validate_tests.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace tarvokin::validate {
namespace {

constexpr VstInt32 kKnownFlags = effFlagsHasEditor | effFlagsHasClip | effFlagsHasVu |
                                 effFlagsCanMono | effFlagsCanReplacing | effFlagsProgramChunks |
                                 effFlagsIsSynth | effFlagsNoSoundInStop | effFlagsExtIsAsync |
                                 effFlagsExtHasBuffer | effFlagsCanDoubleReplacing;
constexpr VstInt32 kLastCategory = 11; // generator

void checkRecord(Context& context, const AEffect& effect, const std::string& entry) {
    const std::string where = " (through " + entry + ")";
    if (effect.dispatcher == nullptr || effect.setParameter == nullptr ||
        effect.getParameter == nullptr) {
        context.fail("the record lacks dispatcher, setParameter or getParameter" + where);
    }
    if ((effect.flags & effFlagsCanReplacing) == 0 || effect.processReplacing == nullptr) {
        context.fail("no processReplacing (effFlagsCanReplacing unset or entry null)" + where);
    }
    if ((effect.flags & effFlagsCanDoubleReplacing) != 0 &&
        effect.processDoubleReplacing == nullptr) {
        context.fail("effFlagsCanDoubleReplacing set but processDoubleReplacing is null" + where);
    }
    if ((effect.flags & ~kKnownFlags) != 0) {
        context.note("unknown flag bits " + std::to_string(effect.flags & ~kKnownFlags) + where);
    }
    if (effect.uniqueID == 0) {
        context.fail("unique ID is 0" + where);
    }
    if (effect.numInputs < 0 || effect.numInputs > 64 || effect.numOutputs < 0 ||
        effect.numOutputs > 64) {
        context.fail("implausible I/O counts " + std::to_string(effect.numInputs) + " in, " +
                     std::to_string(effect.numOutputs) + " out" + where);
    }
    if (effect.numOutputs == 0) {
        context.fail("no outputs" + where);
    }
    if (effect.numParams < 0 || effect.numParams > 100000 || effect.numPrograms < 0 ||
        effect.numPrograms > 100000) {
        context.fail("implausible counts: " + std::to_string(effect.numParams) + " parameters, " +
                     std::to_string(effect.numPrograms) + " programs" + where);
    }
}

void checkText(Context& context, hosting::HostedPlugin& plugin, VstInt32 opcode, int limit,
               const char* what, bool required) {
    std::string text;
    bool answered = false;
    const std::string problem = askBoundedText(plugin, opcode, 0, limit, &text, &answered);
    if (!problem.empty()) {
        context.fail(std::string(what) + ": " + problem);
    } else if (!answered || text.empty()) {
        if (required) {
            context.fail(std::string(what) + " is empty");
        } else {
            context.note(std::string(what) + " is empty");
        }
    }
}

} // namespace

void testScan(Context& context) {
    hosting::PluginModule& module = context.module();
    std::vector<std::string> entries;
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (module.entryNamed(name) != nullptr) {
            entries.emplace_back(name);
        }
    }
    if (entries.size() < 2) {
        context.note("exports only " + entries.front() + " (older hosts look for \"main\")");
    }
    for (const std::string& entry : entries) {
        std::string error;
        auto plugin =
            hosting::HostedPlugin::createWith(module.entryNamed(entry.c_str()), {}, &error);
        if (!plugin) {
            context.fail(entry + ": " + error);
            continue;
        }
        checkRecord(context, *plugin->effect(), entry);
        plugin->close();
    }

    auto plugin = context.instance();
    plugin->open();
    checkText(context, *plugin, effGetEffectName, kVstMaxEffectNameLen, "effect name", true);
    checkText(context, *plugin, effGetVendorString, kVstMaxVendorStrLen, "vendor string", true);
    checkText(context, *plugin, effGetProductString, kVstMaxProductStrLen, "product string", false);
    if (plugin->effect()->numPrograms > 0) {
        checkText(context, *plugin, effGetProgramName, kVstMaxProgNameLen, "program name", false);
    }
    const VstInt32 version = plugin->vstVersion();
    if (version < kVstVersion) {
        context.fail("effGetVstVersion answers " + std::to_string(version) + ", not 2400");
    }
    const VstInt32 category = plugin->category();
    if (category < 0 || category > kLastCategory) {
        context.fail("effGetPlugCategory answers " + std::to_string(category) + ", not a category");
    } else if (category == kPlugCategUnknown) {
        context.note("category unknown (0): hosts guess from the I/O counts");
    }
    if (category == kPlugCategSynth && (plugin->effect()->flags & effFlagsIsSynth) == 0) {
        context.fail("category synth without effFlagsIsSynth");
    }
    for (const char* capability : {"receiveVstTimeInfo", "sendVstEvents", "bypass", "", "x"}) {
        char text[64] = {};
        std::snprintf(text, sizeof text, "%s", capability);
        const VstIntPtr answer = plugin->dispatch(effCanDo, 0, 0, text);
        if (answer < -1 || answer > 1) {
            context.fail(std::string("effCanDo \"") + capability + "\" answers " +
                         std::to_string(answer) + ", not -1, 0 or 1");
        }
    }
    plugin->dispatch(effCanDo, 0, 0, nullptr); // a null text must not crash
}

void testOpen(Context& context) {
    // Cold: created and closed without effOpen.
    context.instance()->close();

    // Warm: effOpen twice, suspend and resume around a block, then close.
    {
        auto plugin = context.instance();
        plugin->open();
        plugin->open();
        plugin->prepareToPlay(44100.0, 256);
        AudioBuffers buffers(*plugin->effect(), 256);
        buffers.fillNoise(context.random(), 0.5f);
        processBlock(*plugin, buffers, 256);
        plugin->suspend();
        plugin->suspend();
        plugin->prepareToPlay(48000.0, 256);
        processBlock(*plugin, buffers, 256);
        plugin->suspend();
        if (plugin->close() != 1) {
            context.note("effClose does not answer 1");
        }
    }

    // Several instances at once, interleaved, closed in a shuffled order.
    const int count = context.scaled(2, 8);
    std::vector<std::unique_ptr<hosting::HostedPlugin>> plugins;
    for (int i = 0; i < count; ++i) {
        plugins.push_back(context.running(44100.0 + 100.0 * i, 128));
    }
    AudioBuffers buffers(*plugins.front()->effect(), 128);
    for (int round = 0; round < 4; ++round) {
        for (auto& plugin : plugins) {
            buffers.fillNoise(context.random(), 0.5f);
            processBlock(*plugin, buffers, 128);
            const std::string fault =
                buffers.outputFault(outputBound(*plugin, buffers.inputPeak(), false), 128);
            if (!fault.empty()) {
                context.fail("instance among " + std::to_string(count) + ": " + fault);
                return;
            }
        }
    }
    std::shuffle(plugins.begin(), plugins.end(), context.random());
    for (auto& plugin : plugins) {
        plugin->suspend();
        plugin->close();
    }
}

} // namespace tarvokin::validate
