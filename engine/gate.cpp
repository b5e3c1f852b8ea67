// The tempo-synced gate: per block one time request and a copy of the block's
// values, then per sample the step grid, the draws, the ramps and the gain.
#include "engine/note_table.h"
#include "engine/relaxed.h"
#include "engine/step_random.h"
#include "engine/tarvokin.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

constexpr VstInt32 kTimeFilter = kVstPpqPosValid | kVstTempoValid;

// Beyond this many beats (about 68 years at 120 bpm) a double no longer
// resolves the position to a fraction of a sample at slow tempi; a host
// position this far out is taken as no position at all.
constexpr double kMaxSongBeats = 4294967296.0;

// Where the block starts and how far each sample moves, in beats.
struct BlockClock {
    double position;
    double advance;
};

bool positiveFinite(double value) {
    return value > 0.0 && std::isfinite(value);
}

double beatsPerSample(double tempo, double sampleRate) {
    return 1.0 / ((60.0 / tempo) * sampleRate);
}

// The host's position and advance when its record is usable: finite tempo,
// finite and plausible position when the transport plays, a sample rate that
// gives a finite advance. Otherwise the block runs like a stopped transport
// (from beat 0) at the last finite tempo, at the ramps' sample rate when the
// effect's own is unusable. lastTempo is updated from every finite tempo.
BlockClock blockClock(const VstTimeInfo* time, double sampleRate, double rampSampleRate,
                      double& lastTempo) {
    const bool tempoUsable = time != nullptr && std::isfinite(time->tempo);
    if (tempoUsable) {
        lastTempo = time->tempo;
    }
    if (tempoUsable && positiveFinite(sampleRate)) {
        const bool playing = (time->flags & kVstTransportPlaying) != 0;
        const double position = playing ? time->ppqPos : 0.0;
        const double advance = beatsPerSample(time->tempo, sampleRate);
        if (std::isfinite(position) && std::fabs(position) < kMaxSongBeats &&
            std::isfinite(advance)) {
            return {position, advance};
        }
    }
    const double rate = positiveFinite(sampleRate) ? sampleRate : rampSampleRate;
    const double advance = beatsPerSample(lastTempo, rate);
    return {0.0, std::isfinite(advance) ? advance : 0.0};
}

// A level parameter as the block uses it: within 0..1, NaN as 0.
double unitLevel(float value) {
    return std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), 0.0, 1.0);
}

// The number of the step the position lies in: truncation, as the grid has
// always been computed, while the quotient fits 32 bits; below 0 and beyond
// that range the floor, which continues the same grid.
double stepNumber(double quotient) {
    if (quotient >= 0.0 && quotient < 2147483648.0) {
        return static_cast<double>(static_cast<std::int32_t>(quotient));
    }
    return std::floor(quotient);
}

// The pattern step of an absolute step number: 0 to stepCount - 1 for every
// step number, negative ones included, so the pattern runs on through beat 0.
int patternStep(double number, int stepCount) {
    double step = std::fmod(number, static_cast<double>(stepCount));
    if (step < 0.0) {
        step += stepCount;
    }
    return step >= 0.0 && step < stepCount ? static_cast<int>(step) : 0;
}

// A sample as written to the host: nothing that is not finite and no
// subnormal (both would stall or poison what follows); those become 0.
float audible(double sample) {
    const float rounded = static_cast<float>(sample);
    const float magnitude = std::fabs(rounded);
    return magnitude >= FLT_MIN && magnitude <= FLT_MAX ? rounded : 0.0f;
}

// The gate's running values, kept in registers for the block and written
// back once at its end.
struct GateRun {
    double gain;
    double rampIncrement;
    double rampTarget;
    double stepLevel;
    bool stepLegato;

    // A linear ramp from the current gain to level over declickTime seconds,
    // or the whole jump on the next sample without declick.
    void startRamp(double level, double declickTime, double rampSampleRate) {
        rampTarget = level;
        rampIncrement =
            declickTime > 0.0 ? (level - gain) / (rampSampleRate * declickTime) : level - gain;
        if (rampIncrement == 0.0) {
            gain = level; // a difference too small to ramp: no ramp runs
        }
    }

    void advanceRamp() {
        if (rampIncrement == 0.0) {
            return;
        }
        gain += rampIncrement;
        if ((rampIncrement > 0.0 && gain >= rampTarget) ||
            (rampIncrement < 0.0 && gain <= rampTarget)) {
            gain = rampTarget;
            rampIncrement = 0.0;
        }
    }
};

bool hasChannels(float** buffers) {
    return buffers != nullptr && buffers[0] != nullptr && buffers[1] != nullptr;
}

} // namespace

void Tarvokin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    const VstTimeInfo* time = getTimeInfo(kTimeFilter);
    const double rampRate = loadRelaxed(rampSampleRate);
    const BlockClock clock =
        blockClock(time, static_cast<double>(loadRelaxed(sampleRate)), rampRate, lastHostTempo);

    const double offLevel = unitLevel(loadRelaxed(currentSet.gateOffLevel));
    const int stepCount = std::clamp(loadRelaxed(currentSet.lastStep), 0, kNumSteps - 1) + 1;
    const double outputLevel = unitLevel(loadRelaxed(currentSet.output));
    const double length = loadRelaxed(stepLength);
    const double closePoint = unitLevel(loadRelaxed(currentSet.duration)) * length;

    if (sampleFrames <= 0 || !hasChannels(inputs) || !hasChannels(outputs)) {
        return;
    }

    GateRun run{gain, rampIncrement, rampTarget, stepLevel, stepLegato};
    const float* in0 = inputs[0];
    const float* in1 = inputs[1];
    float* out0 = outputs[0];
    float* out1 = outputs[1];
    double position = clock.position;

    for (VstInt32 i = 0; i < sampleFrames; ++i) {
        const double number = stepNumber(position / length);
        const double phase = position - number * length;
        if (phase < clock.advance) {
            const int step = patternStep(number, stepCount);
            const int draw = StepRandom::draw();
            const double threshold =
                static_cast<double>(loadRelaxed(currentSet.probability[step])) * 32767.0;
            const double level = draw <= threshold ? 1.0 : offLevel;
            run.stepLevel = level;
            if (level != run.rampTarget) {
                run.startRamp(level, loadRelaxed(declickTime), loadRelaxed(rampSampleRate));
            }
            run.stepLegato = loadRelaxed(currentSet.legato[step]) != 0;
        } else if (phase > closePoint) {
            if (offLevel != run.stepLevel && !run.stepLegato && offLevel != run.rampTarget) {
                run.startRamp(offLevel, loadRelaxed(declickTime), loadRelaxed(rampSampleRate));
            }
        }
        run.advanceRamp();

        // Both inputs are read before either output is written: the host may
        // hand the same buffers for both.
        const double left = in0[i];
        const double right = in1[i];
        out0[i] = audible((left * run.gain) * outputLevel);
        out1[i] = audible((right * run.gain) * outputLevel);
        position += clock.advance;
    }

    storeRelaxed(gain, run.gain);
    storeRelaxed(rampIncrement, run.rampIncrement);
    storeRelaxed(rampTarget, run.rampTarget);
    storeRelaxed(stepLevel, run.stepLevel);
    storeRelaxed(stepLegato, run.stepLegato);
}

void Tarvokin::resume() {
    if (audioMaster != nullptr) {
        updateSampleRate();
    }
    // A rate of 0 or below (some hosts open with one) would make every ramp
    // infinitely fast or undefined; the ramps keep the last usable rate.
    const double rate = loadRelaxed(sampleRate);
    if (positiveFinite(rate)) {
        storeRelaxed(rampSampleRate, rate);
    }
}

void Tarvokin::updateStepLength() {
    const int note = loadRelaxed(currentSet.noteValue);
    if (note >= 0 && note < kNumNoteValues) {
        storeRelaxed(stepLength, kNoteStepLength[note]);
    }
}

Tarvokin::GateSnapshot Tarvokin::gateSnapshot() const {
    return {loadRelaxed(stepLength),  loadRelaxed(rampSampleRate), loadRelaxed(gain),
            loadRelaxed(declickTime), loadRelaxed(rampIncrement),  loadRelaxed(rampTarget),
            loadRelaxed(stepLevel),   loadRelaxed(stepLegato)};
}
