// A plain model of the gate, written straight from its description, against
// which the plug-in's output is compared bit for bit. It covers positions of 0
// and above whose step numbers fit 32 bits, and parameters within 0..1.
// Parameters are kept as the host values it was given, converted where used.
#pragma once

#include "host/vst_abi.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

struct GateReferenceModel {
    float hostValue[38] = {};
    double stepLength = 0.0;
    double rampSampleRate = 44100.0;
    double gain = 0.0;
    double declickTime = 0.0;
    double rampIncrement = 0.0;
    double rampTarget = 0.0;
    double stepLevel = 0.0;
    bool stepLegato = false;
    float sampleRate = 44100.0f;
    double lastTempo = 120.0; // a block without a time record runs stopped at this tempo
    std::uint32_t randomState = 1;

    void setParameter(int index, float value) {
        static const double kLengths[8] = {1.0,      0.5,      0.25,     0.125,
                                           0.666666, 0.333333, 0.166666, 0.083333};
        hostValue[index] = value;
        if (index == 33) {
            stepLength = kLengths[static_cast<int>(value * 7.0)];
        }
        if (index == 34) {
            declickTime = static_cast<int>(value + 0.5) != 0 ? 0.005 : 0.0;
        }
    }

    void resume(float rate) {
        sampleRate = rate;
        rampSampleRate = rate;
    }

    int draw() {
        randomState = randomState * 214013u + 2531011u;
        return static_cast<int>((randomState >> 16) & 0x7FFF);
    }

    void startRamp(double level) {
        rampTarget = level;
        if (declickTime > 0) {
            rampIncrement = (level - gain) / (rampSampleRate * declickTime);
        } else {
            rampIncrement = level - gain;
        }
    }

    // What the gate writes: the sample rounded to float; nothing non-finite
    // or subnormal.
    static float written(double sample) {
        const float value = static_cast<float>(sample);
        return std::fabs(value) >= FLT_MIN && std::fabs(value) <= FLT_MAX ? value : 0.0f;
    }

    void process(const VstTimeInfo* time, const float* in0, const float* in1, float* out0,
                 float* out1, int frames) {
        double position = 0.0;
        double tempo = lastTempo;
        if (time != nullptr) {
            position = (time->flags & kVstTransportPlaying) != 0 ? time->ppqPos : 0.0;
            tempo = lastTempo = time->tempo;
        }
        const double advance = 1.0 / ((60.0 / tempo) * sampleRate);
        const double offLevel = static_cast<float>(1.0 - hostValue[36]);
        const int stepCount = static_cast<int>(hostValue[32] * 15.0) + 1;
        const double outputLevel = hostValue[37];
        const double closePoint = hostValue[35] * stepLength;
        for (int i = 0; i < frames; ++i) {
            const std::int32_t stepNumber = static_cast<std::int32_t>(position / stepLength);
            const double phase = position - stepNumber * stepLength;
            if (phase < advance) {
                const int step = stepNumber % stepCount;
                const int r = draw();
                const double level = r <= hostValue[step] * 32767.0 ? 1.0 : offLevel;
                stepLevel = level;
                if (level != rampTarget) {
                    startRamp(level);
                }
                stepLegato = static_cast<int>(hostValue[16 + step] + 0.5) != 0;
            } else if (phase > closePoint) {
                if (offLevel != stepLevel && !stepLegato && offLevel != rampTarget) {
                    startRamp(offLevel);
                }
            }
            if (rampIncrement != 0) {
                gain += rampIncrement;
                if ((rampIncrement > 0 && gain >= rampTarget) ||
                    (rampIncrement < 0 && gain <= rampTarget)) {
                    gain = rampTarget;
                    rampIncrement = 0;
                }
            }
            const double left = in0[i];
            const double right = in1[i];
            out0[i] = written((left * gain) * outputLevel);
            out1[i] = written((right * gain) * outputLevel);
            position += advance;
        }
    }
};
