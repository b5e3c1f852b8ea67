// The value-to-text tools of AudioEffect: fixed eight-character decimals,
// decibels, hertz, milliseconds and integers for a host's parameter display.
//
// Every tool writes at most maxLen characters and a terminator at maxLen; a
// null text or a maxLen of 0 or below writes nothing. Numbers that do not fit
// the eight characters (infinities included) read "Huge!", NaN reads "NaN".
#include "host/audio_effect.h"
#include "host/vst_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

constexpr int kFieldWidth = 8;
constexpr const char* kHuge = "Huge!";
constexpr const char* kNotANumber = "NaN";

void writeText(const char* rendered, char* text, VstInt32 maxLen) {
    if (text == nullptr || maxLen <= 0) {
        return;
    }
    vstStrncpy(text, rendered, static_cast<std::size_t>(maxLen));
}

char digitOf(double value) {
    return static_cast<char>('0' + static_cast<int>(value));
}

// Renders value into out (at least kFieldWidth + 1 bytes): an optional minus
// sign, the integer digits, a point and truncated fraction digits up to eight
// characters in all, taken from the exact stored value of the float.
void renderFixed(float value, char* out) {
    double v = value;
    if (std::isnan(v)) {
        vstStrncpy(out, kNotANumber, kFieldWidth);
        return;
    }
    const bool negative = v < 0.0;
    int used = 0; // characters of the field taken so far
    if (negative) {
        v = -v;
        used = 1;
    }
    // The sign, every integer digit and the point must fit the field, so a
    // negative number keeps at most 6 integer digits and any other at most 7.
    // Larger ones (from -1,000,000 and 10,000,000 on, infinities included)
    // read "Huge!" rather than losing their leading digit.
    double n = std::floor(v);
    if (n >= (negative ? 1e6 : 1e7)) {
        vstStrncpy(out, kHuge, kFieldWidth);
        return;
    }

    char integerDigits[kFieldWidth]; // least significant first
    int integerCount = 0;
    integerDigits[integerCount++] = digitOf(std::trunc(std::fmod(n, 10.0)));
    n /= 10.0;
    used += 2; // the units digit and the point
    while (n >= 1.0 && used < kFieldWidth) {
        integerDigits[integerCount++] = digitOf(std::trunc(std::fmod(n, 10.0)));
        n /= 10.0;
        ++used;
    }

    int length = 0;
    if (negative) {
        out[length++] = '-';
    }
    while (integerCount > 0) {
        out[length++] = integerDigits[--integerCount];
    }
    out[length++] = '.';

    const int fractionCount = kFieldWidth - used;
    double m = std::fmod(v, 1.0) * std::pow(10.0, fractionCount);
    for (int i = fractionCount - 1; i >= 0; --i) {
        out[length + i] = m > 0.0 ? digitOf(std::trunc(std::fmod(m, 10.0))) : '0';
        m /= 10.0;
    }
    out[length + fractionCount] = '\0';
}

} // namespace

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    char rendered[kFieldWidth + 1];
    renderFixed(value, rendered);
    writeText(rendered, text, maxLen);
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f) {
        writeText("-oo", text, maxLen);
        return;
    }
    const auto logarithm = static_cast<float>(std::log10(static_cast<double>(value)));
    float2string(static_cast<float>(20.0 * logarithm), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    const float rate = getSampleRate();
    if (samples == 0.0f) {
        float2string(0.0f, text, maxLen);
        return;
    }
    float2string(static_cast<float>(static_cast<double>(rate) / samples), text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    // A sample rate of 0 gives an infinity or NaN here, which float2string
    // renders as "Huge!" or "NaN".
    const double milliseconds = static_cast<double>(samples) * 1000.0 / getSampleRate();
    float2string(static_cast<float>(milliseconds), text, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    // The first place value is 100,000,000, so a number needs at most nine
    // digits: 100,000,000 and more, and -1,000,000,000 and less, read "Huge!".
    if (value >= 100000000 || value <= -1000000000) {
        writeText(kHuge, text, maxLen);
        return;
    }
    char rendered[12];
    int length = 0;
    std::int64_t magnitude = value;
    if (magnitude < 0) {
        rendered[length++] = '-';
        magnitude = -magnitude;
    }
    bool started = false;
    for (std::int64_t place = 100000000; place >= 1; place /= 10) {
        const std::int64_t digit = magnitude / place;
        magnitude %= place;
        if (digit != 0 || started) {
            rendered[length++] = static_cast<char>('0' + digit);
            started = true;
        }
    }
    if (!started) {
        rendered[length++] = '0';
    }
    rendered[length] = '\0';
    writeText(rendered, text, maxLen);
}
