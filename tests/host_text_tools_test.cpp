// The value-to-text tools: the texts they produce, and that they never write
// past position maxLen of the host's buffer.
#include "tests/host_probe_effect.h"

#include <array>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

using Tool = std::function<void(AudioEffect&, char*, VstInt32)>;

Tool float2string(float v) {
    return [v](AudioEffect& e, char* t, VstInt32 n) { e.float2string(v, t, n); };
}
Tool dB2string(float v) {
    return [v](AudioEffect& e, char* t, VstInt32 n) { e.dB2string(v, t, n); };
}
Tool Hz2string(float v) {
    return [v](AudioEffect& e, char* t, VstInt32 n) { e.Hz2string(v, t, n); };
}
Tool ms2string(float v) {
    return [v](AudioEffect& e, char* t, VstInt32 n) { e.ms2string(v, t, n); };
}
Tool int2string(VstInt32 v) {
    return [v](AudioEffect& e, char* t, VstInt32 n) { e.int2string(v, t, n); };
}

struct TextCase {
    const char* name;
    Tool tool;
    const char* text;
    VstInt32 maxLen = 8;
    float sampleRate = 44100.0f;
};

const std::vector<TextCase>& textCases() {
    static const std::vector<TextCase> cases = {
        {"float 0.5", float2string(0.5f), "0.500000"},
        {"float 0", float2string(0.0f), "0.000000"},
        {"float -0", float2string(-0.0f), "0.000000"},
        {"float -0.5", float2string(-0.5f), "-0.50000"},
        {"float 123.456", float2string(123.456f), "123.4560"},
        {"float 1234567", float2string(1234567.0f), "1234567."},
        {"float -123456", float2string(-123456.0f), "-123456."},
        {"float 0.7", float2string(0.7f), "0.699999"},
        {"float 0.999999", float2string(0.999999f), "0.999998"},
        {"float 100,000,000", float2string(100000000.0f), "Huge!"},
        {"float -10,000,000", float2string(-10000000.0f), "Huge!"},
        {"float 0.5 in 4", float2string(0.5f), "0.50", 4},
        {"float 9,999,999 fits", float2string(9999999.0f), "9999999."},
        {"float -999,999 fits", float2string(-999999.0f), "-999999."},
        {"float 12,345,678 needs nine", float2string(12345678.0f), "Huge!"},
        {"float -1,234,567 needs nine", float2string(-1234567.0f), "Huge!"},
        {"float NaN", float2string(kNaN), "NaN"},
        {"float inf", float2string(kInf), "Huge!"},
        {"float -inf", float2string(-kInf), "Huge!"},
        {"float smallest", float2string(std::numeric_limits<float>::denorm_min()), "0.000000"},
        {"dB 1", dB2string(1.0f), "0.000000"},
        {"dB 0.5", dB2string(0.5f), "-6.02060"},
        {"dB 2", dB2string(2.0f), "6.020600"},
        {"dB 0.001", dB2string(0.001f), "-60.0000"},
        {"dB 0", dB2string(0.0f), "-oo"},
        {"dB -1", dB2string(-1.0f), "-oo"},
        {"dB -inf", dB2string(-kInf), "-oo"},
        {"dB inf", dB2string(kInf), "Huge!"},
        {"dB NaN", dB2string(kNaN), "NaN"},
        {"Hz 100 samples", Hz2string(100.0f), "441.0000"},
        {"Hz 0 samples", Hz2string(0.0f), "0.000000"},
        {"Hz 48000 at 48000", Hz2string(48000.0f), "1.000000", 8, 48000.0f},
        {"Hz tiny period", Hz2string(1e-30f), "Huge!"},
        {"ms 441 samples", ms2string(441.0f), "10.00000"},
        {"ms 44100 samples", ms2string(44100.0f), "1000.000"},
        {"ms at rate 0", ms2string(441.0f), "Huge!", 8, 0.0f},
        {"ms 0 samples at rate 0", ms2string(0.0f), "NaN", 8, 0.0f},
        {"int 0", int2string(0), "0"},
        {"int 7", int2string(7), "7"},
        {"int -42", int2string(-42), "-42"},
        {"int 99,999,999", int2string(99999999), "99999999"},
        {"int 100,000,000", int2string(100000000), "Huge!"},
        {"int -123,456,789", int2string(-123456789), "-123456789", 10},
        {"int -999,999,999", int2string(-999999999), "-999999999", 10},
        {"int -1,000,000,000", int2string(-1000000000), "Huge!"},
        {"int minimum", int2string(INT32_MIN), "Huge!"},
        {"int maximum", int2string(INT32_MAX), "Huge!"},
        {"int 1000 in 2", int2string(1000), "10", 2},
    };
    return cases;
}

TEST(TextTools, ProduceTheirTexts) {
    for (const TextCase& c : textCases()) {
        SCOPED_TRACE(c.name);
        ProbeJournal journal;
        ProbeEffect effect(journal);
        effect.AudioEffectX::setSampleRate(c.sampleRate);
        std::array<char, 32> buffer;
        buffer.fill('#');
        c.tool(effect, buffer.data(), c.maxLen);
        EXPECT_STREQ(buffer.data(), c.text);
        // The rest of the first maxLen positions is cleared, the terminator sits
        // at maxLen, and nothing after it is touched.
        for (VstInt32 i = static_cast<VstInt32>(std::strlen(c.text)); i <= c.maxLen; ++i) {
            EXPECT_EQ(buffer[i], '\0') << "position " << i;
        }
        for (std::size_t i = c.maxLen + 1; i < buffer.size(); ++i) {
            EXPECT_EQ(buffer[i], '#') << "position " << i;
        }
    }
}

TEST(TextTools, NoBufferOrNoRoomWritesNothing) {
    const std::vector<Tool> tools = {float2string(0.5f), dB2string(0.5f),   dB2string(0.0f),
                                     Hz2string(100.0f),  ms2string(441.0f), int2string(-42)};
    for (std::size_t i = 0; i < tools.size(); ++i) {
        SCOPED_TRACE(i);
        ProbeJournal journal;
        ProbeEffect effect(journal);
        for (VstInt32 maxLen : {0, -1, INT32_MIN}) {
            std::array<char, 4> buffer{'#', '#', '#', '#'};
            tools[i](effect, buffer.data(), maxLen);
            EXPECT_EQ(buffer, (std::array<char, 4>{'#', '#', '#', '#'}));
        }
        tools[i](effect, nullptr, 8);
    }
}

} // namespace
