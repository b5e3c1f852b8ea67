// libFuzzer target: one Tarvokin instance, linked in-process, driven by a byte
// stream decoded into the calls a host can make: dispatcher calls with any
// opcode, index, value and opt (ptr null or a valid buffer), parameter sets
// with arbitrary floats, time records with arbitrary fields, and process calls
// of arbitrary sizes.
//
// Pointer arguments the fuzzer constrains, because a random value there would
// make the fuzzer itself hand the plug-in wild memory:
//   effEditOpen (14)          ptr is a parent window: always null (offscreen).
//   effSetChunk (24)          value, the byte count, never exceeds the buffer.
//   effSetSpeakerArrangement (42), effGetSpeakerArrangement (69)
//                             value is a pointer too: null or a valid buffer.
//   effProcessEvents (25), effOfflineNotify/Prepare/Run (38-40),
//   effProcessVarIo (41)      records holding pointers: a zero-filled buffer.
//   effClose (1)              destroys the instance; a new one is created.
// Every other opcode gets fuzzed bytes in a buffer, and the text opcodes a
// heap buffer of exactly their limit plus terminator, so AddressSanitizer sees
// any write past it.
#include "host/audio_effect.h"
#include "host/vst_abi.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <vector>

namespace {

// What the host answers; the fuzz input rewrites it between calls.
struct HostAnswers {
    VstIntPtr version = 2400;
    VstIntPtr sampleRate = 44100;
    VstIntPtr blockSize = 512;
    bool provideTime = true;
    VstTimeInfo time{};
};

HostAnswers answers;

VstIntPtr VSTCALLBACK fuzzHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/,
                               VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/) {
    switch (opcode) {
    case audioMasterVersion:
        return answers.version;
    case audioMasterGetSampleRate:
        return answers.sampleRate;
    case audioMasterGetBlockSize:
        return answers.blockSize;
    case audioMasterGetTime:
        return answers.provideTime ? reinterpret_cast<VstIntPtr>(&answers.time) : 0;
    case audioMasterCanDo:
    case audioMasterSizeWindow:
        return 1;
    default:
        return 0;
    }
}

// The characters a text opcode may write, terminator not counted; 0 when the
// opcode writes no text.
int textLimit(VstInt32 opcode) {
    switch (opcode) {
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
        return kVstMaxParamStrLen;
    case effGetProgramName:
    case effGetProgramNameIndexed:
        return kVstMaxProgNameLen;
    case effGetEffectName:
        return kVstMaxEffectNameLen;
    case effGetVendorString:
    case effGetProductString:
    case effShellGetNextPlugin:
        return kVstMaxVendorStrLen;
    default:
        return 0;
    }
}

bool holdsPointers(VstInt32 opcode) {
    return opcode == effProcessEvents || opcode == effOfflineNotify ||
           opcode == effOfflinePrepare || opcode == effOfflineRun || opcode == effProcessVarIo;
}

constexpr std::size_t kBufferSize = 4096;

// Creating an instance costs far more than a typical input (the editor decodes
// its bitmaps), so one instance serves every input and is brought back to the
// state of a new one before each: editor closed, suspended, every program's
// values and name as a new instance has them, program 0, resumed at 44100 Hz.
// effClose in an input still destroys it and makes a new one.
class Session {
public:
    Session() {
        create();
        captureFactoryPrograms();
    }
    ~Session() { close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void reset() {
        if (effect_ == nullptr) {
            create();
            if (effect_ == nullptr) {
                return;
            }
        }
        call(effEditClose);
        call(effMainsChanged, 0, 0);
        for (std::size_t program = 0; program < programs_.size(); ++program) {
            if (!programs_[program].touched) {
                continue;
            }
            programs_[program].touched = false;
            call(effSetProgram, 0, static_cast<VstIntPtr>(program));
            for (std::size_t index = 0; index < programs_[program].values.size(); ++index) {
                effect_->setParameter(effect_, static_cast<VstInt32>(index),
                                      programs_[program].values[index]);
            }
            char name[kVstMaxProgNameLen + 1] = {};
            std::memcpy(name, programs_[program].name, sizeof name);
            call(effSetProgramName, 0, 0, name);
        }
        call(effSetProgram, 0, 0);
        call(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        call(effSetBlockSize, 0, 512);
        call(effMainsChanged, 0, 1);
    }

    void run(FuzzedDataProvider& in) {
        while (in.remaining_bytes() > 0 && effect_ != nullptr) {
            markCurrentProgram();
            switch (in.ConsumeIntegralInRange<int>(0, 7)) {
            case 0:
            case 1:
                dispatch(in);
                break;
            case 2:
                effect_->setParameter(effect_, parameterIndex(in), anyFloat(in));
                break;
            case 3:
                consume(effect_->getParameter(effect_, parameterIndex(in)));
                break;
            case 4:
                changeHost(in);
                break;
            case 5:
            case 6:
                process(in);
                break;
            default:
                processOther(in);
                break;
            }
        }
        markCurrentProgram();
    }

private:
    struct FactoryProgram {
        std::vector<float> values;
        char name[kVstMaxProgNameLen + 1] = {};
        bool touched = true;
    };

    VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f) {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }

    // Only the programs that were current while the input ran can differ
    // from a new instance's (a program's values change through the current
    // one), so only those are restored.
    void markCurrentProgram() {
        if (effect_ == nullptr) {
            return;
        }
        const VstIntPtr current = call(effGetProgram);
        if (current >= 0 && current < static_cast<VstIntPtr>(programs_.size())) {
            programs_[static_cast<std::size_t>(current)].touched = true;
        }
    }

    void captureFactoryPrograms() {
        if (effect_ == nullptr) {
            return;
        }
        programs_.resize(static_cast<std::size_t>(std::max(effect_->numPrograms, 0)));
        for (std::size_t program = 0; program < programs_.size(); ++program) {
            call(effSetProgram, 0, static_cast<VstIntPtr>(program));
            for (VstInt32 index = 0; index < effect_->numParams; ++index) {
                programs_[program].values.push_back(effect_->getParameter(effect_, index));
            }
            call(effGetProgramName, 0, 0, programs_[program].name);
            programs_[program].name[kVstMaxProgNameLen] = 0;
        }
    }

    void create() {
        AudioEffect* object = createEffectInstance(&fuzzHost);
        effect_ = object != nullptr ? object->getAeffect() : nullptr;
    }

    void close() {
        if (effect_ != nullptr) {
            AEffect* effect = effect_;
            effect_ = nullptr;
            effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        }
    }

    static VstInt32 parameterIndex(FuzzedDataProvider& in) {
        // Mostly real indices, sometimes anything.
        return in.ConsumeBool() ? in.ConsumeIntegralInRange<VstInt32>(-2, 40)
                                : in.ConsumeIntegral<VstInt32>();
    }

    static float anyFloat(FuzzedDataProvider& in) {
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return in.ConsumeProbability<float>();
        case 1:
            return in.ConsumeFloatingPoint<float>();
        case 2: {
            static constexpr float kHostile[] = {NAN,   INFINITY, -INFINITY, -1.0f, 2.0f,
                                                 1e30f, -0.0f,    1e-45f,    0.5f,  1.0f};
            return kHostile[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kHostile) - 1)];
        }
        default: {
            std::uint32_t bits = in.ConsumeIntegral<std::uint32_t>();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        }
    }

    static double anyDouble(FuzzedDataProvider& in) {
        switch (in.ConsumeIntegralInRange<int>(0, 2)) {
        case 0:
            return in.ConsumeFloatingPointInRange<double>(-1000.0, 1000.0);
        case 1:
            return in.ConsumeFloatingPoint<double>();
        default: {
            static constexpr double kHostile[] = {NAN,  INFINITY, -INFINITY, 0.0,
                                                  -1.0, 1e300,    120.0,     44100.0};
            return kHostile[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kHostile) - 1)];
        }
        }
    }

    void dispatch(FuzzedDataProvider& in) {
        const VstInt32 opcode = in.ConsumeBool() ? in.ConsumeIntegralInRange<VstInt32>(-1, 81)
                                                 : in.ConsumeIntegral<VstInt32>();
        const VstInt32 index = in.ConsumeBool() ? in.ConsumeIntegralInRange<VstInt32>(-2, 40)
                                                : in.ConsumeIntegral<VstInt32>();
        VstIntPtr value = in.ConsumeIntegral<VstIntPtr>();
        const float opt = anyFloat(in);
        const bool withBuffer = in.ConsumeBool();

        // A fuzzed prefix, zeros after it, a terminator at the end: texts the
        // plug-in reads always end inside the buffer.
        buffer_.assign(kBufferSize, 0);
        if (!holdsPointers(opcode)) {
            const std::vector<std::uint8_t> bytes =
                in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 80));
            std::copy(bytes.begin(), bytes.end(), buffer_.begin());
        }
        buffer_.back() = 0;
        other_.assign(kBufferSize, 0);
        void* ptr = withBuffer ? buffer_.data() : nullptr;

        std::unique_ptr<char[]> text;
        if (const int limit = textLimit(opcode); limit > 0 && withBuffer) {
            text.reset(new char[static_cast<std::size_t>(limit) + 1]());
            ptr = text.get();
        }

        switch (opcode) {
        case effClose:
            close();
            create();
            return;
        case effEditOpen:
            ptr = nullptr;
            break;
        case effSetChunk:
            value = static_cast<VstIntPtr>(static_cast<std::size_t>(value) % (kBufferSize + 1));
            break;
        case effSetSpeakerArrangement:
        case effGetSpeakerArrangement:
            value = in.ConsumeBool() ? reinterpret_cast<VstIntPtr>(other_.data()) : 0;
            break;
        default:
            break;
        }
        consume(effect_->dispatcher(effect_, opcode, index, value, ptr, opt));
    }

    void changeHost(FuzzedDataProvider& in) {
        VstTimeInfo& time = answers.time;
        switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            time.tempo = anyDouble(in);
            break;
        case 1:
            time.ppqPos = anyDouble(in);
            break;
        case 2:
            time.flags = in.ConsumeIntegral<VstInt32>();
            break;
        case 3:
            time.sampleRate = anyDouble(in);
            time.samplePos = anyDouble(in);
            break;
        case 4:
            answers.provideTime = !answers.provideTime;
            break;
        case 5:
            answers.sampleRate = in.ConsumeIntegral<VstIntPtr>();
            break;
        case 6:
            effect_->dispatcher(effect_, effSetSampleRate, 0, 0, nullptr, anyFloat(in));
            break;
        default:
            time.barStartPos = anyDouble(in);
            time.timeSigNumerator = in.ConsumeIntegral<VstInt32>();
            time.timeSigDenominator = in.ConsumeIntegral<VstInt32>();
            break;
        }
    }

    // Input samples: mostly ordinary audio; finite ones must come out finite.
    bool fillInputs(FuzzedDataProvider& in, std::size_t frames) {
        const int kind = in.ConsumeIntegralInRange<int>(0, 3);
        const float level = in.ConsumeFloatingPointInRange<float>(0.0f, 4.0f);
        std::uint32_t seed = in.ConsumeIntegral<std::uint32_t>() | 1u;
        for (auto& channel : inputs_) {
            channel.assign(frames, 0.0f);
            for (float& sample : channel) {
                seed ^= seed << 13;
                seed ^= seed >> 17;
                seed ^= seed << 5;
                const float noise = static_cast<float>(seed) / 4294967296.0f * 2.0f - 1.0f;
                sample = kind == 0 ? 0.0f : noise * level;
            }
        }
        if (kind == 3 && frames > 0) {
            inputs_[0][frames / 2] = anyFloat(in); // one hostile sample
            return std::isfinite(inputs_[0][frames / 2]) &&
                   std::fabs(inputs_[0][frames / 2]) <= 4.0f;
        }
        return true;
    }

    std::size_t frameCount(FuzzedDataProvider& in, VstInt32& frames) {
        // Mostly short blocks, which keep the executions fast; now and then a
        // long or negative one.
        frames = in.ConsumeIntegralInRange<int>(0, 7) != 0
                     ? in.ConsumeIntegralInRange<VstInt32>(-3, 300)
                     : in.ConsumeIntegralInRange<VstInt32>(-1000000, 9000);
        return frames > 0 ? static_cast<std::size_t>(frames) : 0;
    }

    void prepareChannels(std::size_t frames) {
        const int ins = effect_->numInputs > 0 ? effect_->numInputs : 0;
        const int outs = effect_->numOutputs > 0 ? effect_->numOutputs : 0;
        inputs_.resize(static_cast<std::size_t>(ins));
        outputs_.assign(static_cast<std::size_t>(outs), std::vector<float>(frames, 7.0f));
        inputPointers_.clear();
        outputPointers_.clear();
        for (auto& channel : inputs_) {
            inputPointers_.push_back(channel.data());
        }
        for (auto& channel : outputs_) {
            outputPointers_.push_back(channel.data());
        }
    }

    void process(FuzzedDataProvider& in) {
        VstInt32 frames = 0;
        const std::size_t count = frameCount(in, frames);
        inputs_.resize(static_cast<std::size_t>(std::max(effect_->numInputs, 0)));
        const bool ordinary = fillInputs(in, count);
        prepareChannels(count);
        if (effect_->processReplacing == nullptr) {
            return;
        }
        effect_->processReplacing(effect_, inputPointers_.data(), outputPointers_.data(), frames);
        if (!ordinary) {
            return;
        }
        for (const auto& channel : outputs_) {
            for (float sample : channel) {
                // Ordinary input must never turn into garbage on the output.
                if (!std::isfinite(sample) || std::fabs(sample) > 1e6f) {
                    __builtin_trap();
                }
            }
        }
    }

    // The deprecated accumulating entry and the double-precision one.
    void processOther(FuzzedDataProvider& in) {
        VstInt32 frames = 0;
        const std::size_t count = frameCount(in, frames);
        if (in.ConsumeBool()) {
            inputs_.resize(static_cast<std::size_t>(std::max(effect_->numInputs, 0)));
            fillInputs(in, count);
            prepareChannels(count);
            if (effect_->process != nullptr) {
                effect_->process(effect_, inputPointers_.data(), outputPointers_.data(), frames);
            }
            return;
        }
        std::vector<std::vector<double>> ins(
            static_cast<std::size_t>(std::max(effect_->numInputs, 0)),
            std::vector<double>(count, 0.25));
        std::vector<std::vector<double>> outs(
            static_cast<std::size_t>(std::max(effect_->numOutputs, 0)),
            std::vector<double>(count, 0.0));
        std::vector<double*> inPointers, outPointers;
        for (auto& channel : ins) {
            inPointers.push_back(channel.data());
        }
        for (auto& channel : outs) {
            outPointers.push_back(channel.data());
        }
        if (effect_->processDoubleReplacing != nullptr) {
            effect_->processDoubleReplacing(effect_, inPointers.data(), outPointers.data(), frames);
        }
    }

    template <typename T>
    static void consume(T value) {
        // Keep the call and its answer from being optimised away.
        volatile T sink = value;
        static_cast<void>(sink);
    }

    AEffect* effect_ = nullptr;
    std::vector<FactoryProgram> programs_;
    std::vector<unsigned char> buffer_;
    std::vector<unsigned char> other_;
    std::vector<std::vector<float>> inputs_;
    std::vector<std::vector<float>> outputs_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    answers = HostAnswers{};
    answers.time.sampleRate = 44100.0;
    answers.time.tempo = 120.0;
    answers.time.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;
    FuzzedDataProvider in(data, size);
    static Session session;
    session.reset();
    session.run(in);
    return 0;
}
