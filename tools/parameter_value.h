// Turning "--set NAME=VALUE" words into a parameter index and a host value,
// for any plug-in: names and display texts are asked of the plug-in itself.
#pragma once

#include "hosting/hosted_plugin.h"

#include <string>

namespace tarvokin {

struct ParameterSetting {
    VstInt32 index;
    float value;
};

// NAME is a parameter's name (case and spaces ignored) or its index. VALUE
// is a host value when it is a number with a decimal point from 0.0 to 1.0;
// otherwise it is what the plug-in's display shows ("1/8T", "12", "50%",
// "-6 dB"), found by trying host values in steps of 1/10000 and reading the
// display, and between two of them for a continuous numeric display. "0" and
// "1" that no display shows are host values too. Throws std::runtime_error
// with a one-line reason. Leaves the parameter as it was.
ParameterSetting resolveSetting(hosting::HostedPlugin& plugin, const std::string& word);

} // namespace tarvokin
