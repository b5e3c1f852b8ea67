// tarvokin info: what a host's plug-in scanner learns about a module: its
// identity, record, flags, I/O, every parameter and every program.
#include "tools/command.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace tarvokin {
namespace {

// The unique ID as the four characters it packs, first one in the most
// significant byte; bytes that are not printable show as '.'.
std::string fourCharacters(VstInt32 id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned char byte = static_cast<unsigned char>((static_cast<unsigned>(id) >> shift));
        text += std::isprint(byte) != 0 ? static_cast<char>(byte) : '.';
    }
    return text;
}

std::string decodeFlags(VstInt32 flags) {
    static constexpr struct {
        VstInt32 bit;
        const char* name;
    } kFlagNames[] = {
        {effFlagsHasEditor, "HasEditor"},
        {effFlagsHasClip, "HasClip"},
        {effFlagsHasVu, "HasVu"},
        {effFlagsCanMono, "CanMono"},
        {effFlagsCanReplacing, "CanReplacing"},
        {effFlagsProgramChunks, "ProgramChunks"},
        {effFlagsIsSynth, "IsSynth"},
        {effFlagsNoSoundInStop, "NoSoundInStop"},
        {effFlagsExtIsAsync, "ExtIsAsync"},
        {effFlagsExtHasBuffer, "ExtHasBuffer"},
        {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
    };
    std::string text;
    VstInt32 unknown = flags;
    for (const auto& flag : kFlagNames) {
        if ((flags & flag.bit) != 0) {
            text += text.empty() ? "" : " | ";
            text += flag.name;
            unknown &= ~flag.bit;
        }
    }
    if (unknown != 0) {
        char rest[32];
        std::snprintf(rest, sizeof rest, "0x%X", static_cast<unsigned>(unknown));
        text += text.empty() ? "" : " | ";
        text += rest;
    }
    return text.empty() ? "none" : text;
}

const char* categoryName(VstInt32 category) {
    static constexpr const char* kNames[] = {
        "unknown",     "effect",          "synth",       "analysis", "mastering", "spatializer",
        "room effect", "surround effect", "restoration", "offline",  "shell",     "generator",
    };
    if (category >= 0 && category < static_cast<VstInt32>(std::size(kNames))) {
        return kNames[category];
    }
    return "not a known category";
}

void printIdentity(hosting::HostedPlugin& plugin, const hosting::PluginModule& module) {
    const AEffect& effect = *plugin.effect();
    std::printf("plugin         %s\n", module.path().c_str());
    std::printf("entry point    %s\n", module.entryName().c_str());
    std::printf("magic          0x%08X %s\n", static_cast<unsigned>(effect.magic),
                effect.magic == kEffectMagic ? "(VstP, ok)" : "(not VstP)");
    std::printf("effect name    %s\n", plugin.effectName().c_str());
    std::printf("vendor         %s\n", plugin.vendorString().c_str());
    std::printf("product        %s\n", plugin.productString().c_str());
    std::printf("vendor version %d\n", plugin.vendorVersion());
    std::printf("VST version    %d\n", plugin.vstVersion());
    std::printf("unique ID      '%s' 0x%08X\n", fourCharacters(effect.uniqueID).c_str(),
                static_cast<unsigned>(effect.uniqueID));
    std::printf("version        %d\n", effect.version);
    std::printf("flags          %d (%s)\n", effect.flags, decodeFlags(effect.flags).c_str());
    std::printf("inputs         %d\n", effect.numInputs);
    std::printf("outputs        %d\n", effect.numOutputs);
    std::printf("initial delay  %d\n", effect.initialDelay);
    const VstInt32 category = plugin.category();
    std::printf("category       %d (%s)\n", category, categoryName(category));
}

struct ParameterRow {
    std::string index, name, value, display, label;
};

// Columns as wide as their widest entry, the last one unpadded.
void printParameterRows(const std::vector<ParameterRow>& rows) {
    std::size_t width[4] = {};
    for (const ParameterRow& row : rows) {
        const std::string* cells[] = {&row.index, &row.name, &row.value, &row.display};
        for (int column = 0; column < 4; ++column) {
            width[column] = std::max(width[column], cells[column]->size());
        }
    }
    for (const ParameterRow& row : rows) {
        std::string line = "  ";
        line += std::string(width[0] - row.index.size(), ' ') + row.index + "  ";
        line += row.name + std::string(width[1] - row.name.size(), ' ') + "  ";
        line += row.value + std::string(width[2] - row.value.size(), ' ') + "  ";
        line += row.display;
        if (!row.label.empty()) {
            line += std::string(width[3] - row.display.size(), ' ') + "  " + row.label;
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back(); // a display of spaces with no label
        }
        std::printf("%s\n", line.c_str());
    }
}

void printParameters(hosting::HostedPlugin& plugin) {
    const VstInt32 count = plugin.effect()->numParams;
    std::printf("\nparameters     %d\n", count);
    if (count <= 0) {
        return;
    }
    std::vector<ParameterRow> rows{{"index", "name", "value", "display", "label"}};
    for (VstInt32 index = 0; index < count; ++index) {
        char value[32];
        std::snprintf(value, sizeof value, "%.6f", static_cast<double>(plugin.getParameter(index)));
        rows.push_back({std::to_string(index), plugin.parameterName(index), value,
                        plugin.parameterDisplay(index), plugin.parameterLabel(index)});
    }
    printParameterRows(rows);
}

// Names come from selecting each program, as a host's program list does; the
// program the plug-in had is selected again at the end.
void printPrograms(hosting::HostedPlugin& plugin) {
    const VstInt32 count = plugin.effect()->numPrograms;
    const VstInt32 original = plugin.program();
    std::printf("\nprograms       %d (current %d)\n", count, original);
    for (VstInt32 program = 0; program < count; ++program) {
        plugin.setProgram(program);
        std::printf("  %5d  %s\n", program, plugin.programName().c_str());
    }
    if (count > 0) {
        plugin.setProgram(original);
    }
}

} // namespace

int runInfo(std::span<const std::string> args) {
    const Options options(args, {"--plugin"});
    if (!options.positional().empty()) {
        throw UsageError("unexpected argument " + options.positional().front());
    }
    LoadedPlugin loaded = loadPlugin(pluginPath(options));
    hosting::HostedPlugin& plugin = *loaded.plugin;
    plugin.open();
    printIdentity(plugin, *loaded.module);
    printParameters(plugin);
    printPrograms(plugin);
    std::fflush(stdout);
    return 0;
}

} // namespace tarvokin
