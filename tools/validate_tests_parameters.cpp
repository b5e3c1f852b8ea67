// Programs, parameters, a program's state, and hostile parameter values.
#include "tools/validate_tests.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tarvokin::validate {
namespace {

std::vector<std::string> listProgramNames(hosting::HostedPlugin& plugin) {
    std::vector<std::string> names;
    for (VstInt32 program = 0; program < plugin.effect()->numPrograms; ++program) {
        plugin.setProgram(program);
        names.push_back(plugin.programName());
    }
    return names;
}

std::string parameterLabel(hosting::HostedPlugin& plugin, VstInt32 index) {
    return "parameter " + std::to_string(index) + " (" + plugin.parameterName(index) + ")";
}

bool isUnitValue(float value) {
    return std::isfinite(value) && value >= 0.0f && value <= 1.0f;
}

// Every index's texts stay within their buffers and end in a terminator.
// Indices outside the table need no texts; only a write past the buffer
// counts there.
void checkParameterTexts(Context& context, hosting::HostedPlugin& plugin, VstInt32 index,
                         bool inTable = true) {
    struct TextQuery {
        VstInt32 opcode;
        const char* what;
        bool required;
    };
    static constexpr TextQuery kQueries[] = {
        {effGetParamName, "name", true},
        {effGetParamLabel, "label", false},
        {effGetParamDisplay, "display", true},
    };
    for (const TextQuery& query : kQueries) {
        std::string text;
        bool answered = false;
        const std::string problem =
            askBoundedText(plugin, query.opcode, index, kVstMaxParamStrLen, &text, &answered);
        if (!problem.empty()) {
            context.fail("parameter " + std::to_string(index) + " " + query.what + ": " + problem);
        } else if (inTable && query.required && (!answered || text.empty())) {
            context.fail("parameter " + std::to_string(index) + " has no " + query.what);
        }
    }
}

} // namespace

void testPrograms(Context& context) {
    auto plugin = context.running();
    const VstInt32 count = plugin->effect()->numPrograms;
    if (count <= 0) {
        context.skip("no programs");
        return;
    }
    const VstInt32 original = plugin->program();
    if (original < 0 || original >= count) {
        context.fail("effGetProgram answers " + std::to_string(original) + " of " +
                     std::to_string(count) + " programs");
    }
    const std::vector<std::string> names = listProgramNames(*plugin);
    for (VstInt32 program = 0; program < count; ++program) {
        char indexed[256] = {};
        if (plugin->dispatch(effGetProgramNameIndexed, program, -1, indexed) == 1 &&
            names[static_cast<std::size_t>(program)] != indexed) {
            context.fail("program " + std::to_string(program) + ": indexed name \"" + indexed +
                         "\" differs from the selected one \"" +
                         names[static_cast<std::size_t>(program)] + "\"");
        }
    }

    std::uniform_int_distribution<VstInt32> pick(0, count - 1);
    const int switches = context.scaled(20, 400);
    for (int i = 0; i < switches; ++i) {
        const VstInt32 program = pick(context.random());
        plugin->setProgram(program);
        if (plugin->program() != program) {
            context.fail("effSetProgram " + std::to_string(program) + " left program " +
                         std::to_string(plugin->program()));
            break;
        }
    }
    // Outside the bank: nothing may change, nothing may break.
    plugin->setProgram(1 % count);
    for (VstIntPtr bad : {static_cast<VstIntPtr>(count), VstIntPtr{-1}, VstIntPtr{1} << 40}) {
        plugin->dispatch(effSetProgram, 0, bad);
        const VstInt32 now = plugin->program();
        if (now < 0 || now >= count) {
            context.fail("effSetProgram " + std::to_string(bad) + " made the program " +
                         std::to_string(now));
        }
    }
    plugin->setProgram(original);
    if (plugin->program() != original) {
        context.fail("could not restore program " + std::to_string(original));
    }
    if (listProgramNames(*plugin) != names) {
        context.fail("program names changed after switching programs");
    }
    plugin->setProgram(original);
}

void testParameters(Context& context) {
    auto plugin = context.running();
    const VstInt32 count = plugin->effect()->numParams;
    if (count <= 0) {
        context.skip("no parameters");
        return;
    }
    const int valuesPerParameter = context.scaled(3, 12);
    for (VstInt32 index = 0; index < count; ++index) {
        checkParameterTexts(context, *plugin, index);
        const float initial = plugin->getParameter(index);
        if (!isUnitValue(initial)) {
            context.fail(parameterLabel(*plugin, index) + " answers " + describe(initial) +
                         ", outside 0..1");
        }
        std::vector<float> values = {0.0f, 1.0f, 0.5f, initial};
        for (int i = 0; i < valuesPerParameter; ++i) {
            values.push_back(uniform(context.random(), 0.0f, 1.0f));
        }
        for (float value : values) {
            plugin->setParameter(index, value);
            const float stored = plugin->getParameter(index);
            if (!isUnitValue(stored)) {
                context.fail(parameterLabel(*plugin, index) + ": set " + describe(value) +
                             ", reads " + describe(stored));
                continue;
            }
            // A value the plug-in answered must survive being set again.
            plugin->setParameter(index, stored);
            const float again = plugin->getParameter(index);
            if (again != stored) {
                context.fail(parameterLabel(*plugin, index) + ": set " + describe(stored) +
                             " (its own answer), reads " + describe(again));
            }
        }
        plugin->setParameter(index, initial);

        const VstIntPtr automatable = plugin->dispatch(effCanBeAutomated, index);
        if (automatable != 0 && automatable != 1) {
            context.fail(parameterLabel(*plugin, index) + ": effCanBeAutomated answers " +
                         std::to_string(automatable));
        }
        // String to parameter: a null text asks whether it is supported.
        const VstIntPtr supported = plugin->dispatch(effString2Parameter, index, 0, nullptr);
        char text[64] = {};
        std::snprintf(text, sizeof text, "%s", plugin->parameterDisplay(index).c_str());
        const VstIntPtr converted = plugin->dispatch(effString2Parameter, index, 0, text);
        if ((supported != 0 && supported != 1) || (converted != 0 && converted != 1)) {
            context.fail(parameterLabel(*plugin, index) + ": effString2Parameter answers " +
                         std::to_string(supported) + " / " + std::to_string(converted));
        }
        if (!isUnitValue(plugin->getParameter(index))) {
            context.fail(parameterLabel(*plugin, index) + ": effString2Parameter of \"" + text +
                         "\" left " + describe(plugin->getParameter(index)));
        }
        plugin->setParameter(index, initial);
    }
    // Indices outside the table: no crash; texts untouched or terminated.
    for (VstInt32 index : {count, count + 1, -1, std::numeric_limits<VstInt32>::max()}) {
        plugin->setParameter(index, 0.5f);
        const float value = plugin->getParameter(index);
        if (!std::isfinite(value)) {
            context.fail("getParameter(" + std::to_string(index) + ") answers " + describe(value));
        }
        checkParameterTexts(context, *plugin, index, false);
    }
}

void testState(Context& context) {
    auto plugin = context.running();
    const AEffect& effect = *plugin->effect();
    if (effect.numPrograms < 2 || effect.numParams <= 0) {
        context.skip("needs at least two programs and one parameter");
        return;
    }
    if ((effect.flags & effFlagsProgramChunks) != 0) {
        context.note("the plug-in keeps its state in chunks; checking parameters anyway");
    }
    const int rounds = context.scaled(2, 8);
    std::uniform_int_distribution<VstInt32> pick(0, effect.numPrograms - 1);
    for (int round = 0; round < rounds; ++round) {
        const VstInt32 program = pick(context.random());
        const VstInt32 other =
            (program + 1 + pick(context.random()) % (effect.numPrograms - 1)) % effect.numPrograms;
        plugin->setProgram(program);
        const std::string name = "Validate " + std::to_string(round);
        plugin->setProgramName(name);
        std::vector<float> values;
        for (VstInt32 index = 0; index < effect.numParams; ++index) {
            plugin->setParameter(index, uniform(context.random(), 0.0f, 1.0f));
            values.push_back(plugin->getParameter(index));
        }
        plugin->setProgram(other);
        plugin->setProgram(program);
        if (plugin->programName() != name) {
            context.fail("program " + std::to_string(program) + " named \"" + name +
                         "\" came back as \"" + plugin->programName() + "\"");
        }
        for (VstInt32 index = 0; index < effect.numParams; ++index) {
            const float back = plugin->getParameter(index);
            if (back != values[static_cast<std::size_t>(index)]) {
                context.fail("program " + std::to_string(program) + ", " +
                             parameterLabel(*plugin, index) + ": " +
                             describe(values[static_cast<std::size_t>(index)]) + " came back as " +
                             describe(back) + " after program " + std::to_string(other));
            }
        }
    }
}

void testFuzzParameters(Context& context) {
    auto plugin = context.running(48000.0, 256);
    const VstInt32 count = plugin->effect()->numParams;
    if (count <= 0) {
        context.skip("no parameters");
        return;
    }
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             -1.0f,
                             2.0f,
                             1e30f,
                             -1e30f,
                             std::numeric_limits<float>::denorm_min(),
                             -0.0f};
    AudioBuffers buffers(*plugin->effect(), 256);
    auto processAndCheck = [&](const std::string& after) {
        for (int block = 0; block < 2; ++block) {
            buffers.fillNoise(context.random(), 0.5f);
            processBlock(*plugin, buffers, 256);
            const std::string fault =
                buffers.outputFault(outputBound(*plugin, buffers.inputPeak(), true), 256);
            if (!fault.empty()) {
                context.fail("after " + after + ": " + fault);
                return false;
            }
        }
        return true;
    };
    bool notedOutside = false;
    for (VstInt32 index = 0; index < count; ++index) {
        for (float value : hostile) {
            plugin->setParameter(index, value);
            // The interface leaves values outside 0..1 undefined: reading one
            // back is worth a note; garbage texts or audio are failures.
            const float stored = plugin->getParameter(index);
            if (!isUnitValue(stored) && !notedOutside) {
                context.note(parameterLabel(*plugin, index) + ": set " + describe(value) +
                             ", reads " + describe(stored) + " (kept outside 0..1)");
                notedOutside = true;
            }
            checkParameterTexts(context, *plugin, index);
            if (!processAndCheck("parameter " + std::to_string(index) + " set to " +
                                 describe(value))) {
                return;
            }
        }
        plugin->setParameter(index, uniform(context.random(), 0.0f, 1.0f));
    }
    const int rounds = context.scaled(10, 200);
    std::uniform_int_distribution<VstInt32> pickIndex(0, count - 1);
    std::uniform_int_distribution<std::size_t> pickHostile(0, std::size(hostile) - 1);
    for (int round = 0; round < rounds; ++round) {
        for (int change = 0; change < 8; ++change) {
            const float value = context.random()() % 3 == 0
                                    ? hostile[pickHostile(context.random())]
                                    : uniform(context.random(), -2.0f, 3.0f);
            plugin->setParameter(pickIndex(context.random()), value);
        }
        if (!processAndCheck("random round " + std::to_string(round))) {
            return;
        }
    }
}

} // namespace tarvokin::validate
