#include "tools/parameter_value.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tarvokin {
namespace {

constexpr int kSearchSteps = 10000;
constexpr std::size_t kShownDisplays = 10;

// Lower case without any white space: "1/8 T " and "1/8t" compare equal.
std::string folded(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (std::isspace(c) == 0) {
            out += static_cast<char>(std::tolower(c));
        }
    }
    return out;
}

bool parseNumber(const std::string& text, double& number) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(number);
}

bool isDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

VstInt32 findParameter(hosting::HostedPlugin& plugin, const std::string& name) {
    const VstInt32 count = plugin.effect()->numParams;
    if (isDigits(name)) {
        const long index = name.size() < 10 ? std::strtol(name.c_str(), nullptr, 10) : count;
        if (index >= count) {
            throw std::runtime_error("no parameter " + name + " (the plug-in has " +
                                     std::to_string(count) + ", from 0)");
        }
        return static_cast<VstInt32>(index);
    }
    const std::string wanted = folded(name);
    for (VstInt32 index = 0; index < count; ++index) {
        if (folded(plugin.parameterName(index)) == wanted) {
            return index;
        }
    }
    throw std::runtime_error("unknown parameter \"" + name + "\" (tarvokin info lists them)");
}

// Whether a display (with the parameter's label) shows what the user wrote.
bool shows(const std::string& display, const std::string& label, const std::string& wanted) {
    std::string text = folded(wanted);
    const std::string unit = folded(label);
    if (!unit.empty() && text.size() > unit.size() &&
        text.compare(text.size() - unit.size(), unit.size(), unit) == 0) {
        text.resize(text.size() - unit.size()); // "50%" means the display "50"
    }
    const std::string shown = folded(display);
    double a = 0.0;
    double b = 0.0;
    if (parseNumber(shown, a) && parseNumber(text, b)) {
        return a == b; // "-6.0" and "-6"
    }
    return shown == text;
}

double displayedNumber(hosting::HostedPlugin& plugin, VstInt32 index, float value) {
    plugin.setParameter(index, value);
    double number = 0.0;
    return parseNumber(folded(plugin.parameterDisplay(index)), number) ? number : std::nan("");
}

// A continuous numeric display ("-10.000000 dB") rarely shows a round number
// exactly on the search grid: find two neighbouring grid values whose
// displays enclose the number, narrow down between them, and accept the
// result when its display is within a thousandth of that grid step of it.
// A stepped display (1, 2, 3 ...) never gets that close to 2.5.
std::optional<float> betweenGridValues(hosting::HostedPlugin& plugin, VstInt32 index,
                                       double wanted) {
    double previous = displayedNumber(plugin, index, 0.0f);
    for (int step = 1; step <= kSearchSteps; ++step) {
        float low = static_cast<float>(static_cast<double>(step - 1) / kSearchSteps);
        float high = static_cast<float>(static_cast<double>(step) / kSearchSteps);
        const double next = displayedNumber(plugin, index, high);
        const double lowShown = previous;
        previous = next;
        if (std::isnan(lowShown) || std::isnan(next) || lowShown == next ||
            (wanted - lowShown) * (wanted - next) > 0.0) {
            continue;
        }
        const bool rising = next > lowShown;
        for (int halving = 0; halving < 40; ++halving) {
            const float middle = low + (high - low) / 2.0f;
            if (middle == low || middle == high) {
                break;
            }
            const double shown = displayedNumber(plugin, index, middle);
            ((shown < wanted) == rising ? low : high) = middle;
        }
        const double lowError = std::fabs(displayedNumber(plugin, index, low) - wanted);
        const double highError = std::fabs(displayedNumber(plugin, index, high) - wanted);
        const float best = lowError <= highError ? low : high;
        if (std::min(lowError, highError) <= 1e-3 * std::fabs(next - lowShown)) {
            return best;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

ParameterSetting resolveSetting(hosting::HostedPlugin& plugin, const std::string& word) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == word.size()) {
        throw std::runtime_error("--set needs NAME=VALUE, got \"" + word + "\"");
    }
    const std::string name = word.substr(0, equals);
    const std::string text = word.substr(equals + 1);
    const VstInt32 index = findParameter(plugin, name);
    const std::string parameter = plugin.parameterName(index);

    double number = 0.0;
    const bool numeric = parseNumber(text, number);
    if (numeric && text.find_first_of(".eE") != std::string::npos && number >= 0.0 &&
        number <= 1.0) {
        return {index, static_cast<float>(number)};
    }

    const float original = plugin.getParameter(index);
    const std::string label = plugin.parameterLabel(index);
    std::vector<std::string> seen;
    for (int step = 0; step <= kSearchSteps; ++step) {
        const float value = static_cast<float>(static_cast<double>(step) / kSearchSteps);
        plugin.setParameter(index, value);
        const std::string display = plugin.parameterDisplay(index);
        if (shows(display, label, text)) {
            plugin.setParameter(index, original);
            return {index, value};
        }
        if (seen.empty() || seen.back() != display) {
            seen.push_back(display);
        }
    }
    if (numeric) {
        if (const auto between = betweenGridValues(plugin, index, number)) {
            plugin.setParameter(index, original);
            return {index, *between};
        }
    }
    plugin.setParameter(index, original);
    if (numeric && (number == 0.0 || number == 1.0)) {
        return {index, static_cast<float>(number)};
    }
    std::string shown;
    if (seen.size() > kShownDisplays) {
        shown = seen.front() + " to " + seen.back();
    } else {
        for (std::size_t i = 0; i < seen.size(); ++i) {
            shown += (i == 0 ? "" : ", ") + seen[i];
        }
    }
    throw std::runtime_error("no value of " + parameter + " shows \"" + text + "\" (it shows " +
                             shown + ")");
}

} // namespace tarvokin
