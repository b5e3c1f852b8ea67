#include "hosting/hosted_plugin.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace hosting {
namespace {

// The instance whose entry-point call is running on this thread. During that
// call the plug-in may send requests with a null record, or with its record
// before the host could write itself into the record's user field.
thread_local HostedPlugin* instanceBeingCreated = nullptr;

// Generous for every text the interface carries (limits are 8 to 64 bytes).
constexpr std::size_t kTextBufferSize = 1024;
// Capability texts are short; a longer one is cut here rather than read on.
constexpr std::size_t kMaxCanDoText = 256;

std::string textFrom(const void* ptr, std::size_t limit) {
    if (ptr == nullptr) {
        return {};
    }
    const char* text = static_cast<const char*>(ptr);
    return std::string(text, strnlen(text, limit));
}

// The answers a host gives from its state. Automation, edit gestures and idle
// answer 0 like everything else: tests read them back from the log.
VstIntPtr scriptedAnswer(const HostState& state, VstInt32 opcode) {
    switch (opcode) {
    case audioMasterVersion:
        return state.version;
    case audioMasterGetSampleRate:
        return state.sampleRate;
    case audioMasterGetBlockSize:
        return state.blockSize;
    case audioMasterCanDo:
        return state.canDoAnswer;
    case audioMasterSizeWindow:
        return state.sizeWindowAnswer;
    default:
        return 0;
    }
}

} // namespace

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt) {
    HostedPlugin* host = nullptr;
    if (effect != nullptr && effect->user != nullptr) {
        host = static_cast<HostedPlugin*>(effect->user);
    } else {
        host = instanceBeingCreated;
    }
    if (host == nullptr) {
        // A record this library does not know, e.g. from a thread the plug-in
        // started during its creation: default answers, nothing logged.
        static const HostState defaults;
        return opcode == audioMasterGetTime ? 0 : scriptedAnswer(defaults, opcode);
    }
    return host->answer(opcode, index, value, ptr, opt);
}

VstIntPtr HostedPlugin::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
    if (opcode == audioMasterGetTime) {
        // Audio thread: count only, no lock and no allocation.
        timeRequests_.fetch_add(1, std::memory_order_relaxed);
        lastTimeFilter_.store(value, std::memory_order_relaxed);
        return state_.provideTimeInfo ? reinterpret_cast<VstIntPtr>(&state_.timeInfo) : 0;
    }
    {
        Request request{opcode, index, value, ptr, opt, {}};
        if (opcode == audioMasterCanDo) {
            request.text = textFrom(ptr, kMaxCanDoText);
        }
        std::lock_guard lock(requestsMutex_);
        requests_.push_back(std::move(request));
    }
    return scriptedAnswer(state_, opcode);
}

HostedPlugin::HostedPlugin(HostState state) : state_(std::move(state)) {}

std::unique_ptr<HostedPlugin> HostedPlugin::create(const PluginModule& module, HostState state,
                                                   std::string* error) {
    return createWith(module.entry(), std::move(state), error);
}

std::unique_ptr<HostedPlugin> HostedPlugin::createWith(PluginModule::EntryPoint entry,
                                                       HostState state, std::string* error) {
    auto fail = [error](std::string message) {
        if (error != nullptr) {
            *error = std::move(message);
        }
        return nullptr;
    };
    if (entry == nullptr) {
        return fail("no entry point");
    }
    std::unique_ptr<HostedPlugin> plugin(new HostedPlugin(std::move(state)));
    HostedPlugin* const outer = instanceBeingCreated; // an entry point may create another host
    instanceBeingCreated = plugin.get();
    AEffect* effect = entry(&hostCallback);
    instanceBeingCreated = outer;
    if (effect == nullptr) {
        return fail("the entry point created no effect");
    }
    if (effect->magic != kEffectMagic) {
        // Not a record this host can talk to: calling its dispatcher, even to
        // close it, would be a guess.
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(effect->magic));
        return fail(std::string("the entry point returned a record with magic ") + hex +
                    ", not a VST 2.4 effect");
    }
    effect->user = plugin.get();
    plugin->effect_ = effect;
    return plugin;
}

HostedPlugin::~HostedPlugin() {
    close();
}

std::vector<Request> HostedPlugin::requests() const {
    std::lock_guard lock(requestsMutex_);
    return requests_;
}

void HostedPlugin::clearRequests() {
    std::lock_guard lock(requestsMutex_);
    requests_.clear();
}

int HostedPlugin::timeRequestCount() const {
    return timeRequests_.load(std::memory_order_relaxed);
}

VstIntPtr HostedPlugin::lastTimeFilter() const {
    return lastTimeFilter_.load(std::memory_order_relaxed);
}

VstIntPtr HostedPlugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    return effect_ != nullptr ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

void HostedPlugin::setParameter(VstInt32 index, float value) {
    if (effect_ != nullptr) {
        effect_->setParameter(effect_, index, value);
    }
}

float HostedPlugin::getParameter(VstInt32 index) {
    return effect_ != nullptr ? effect_->getParameter(effect_, index) : 0.0f;
}

std::string HostedPlugin::askText(VstInt32 opcode, VstInt32 index) {
    std::array<char, kTextBufferSize> buffer{};
    dispatch(opcode, index, 0, buffer.data());
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

std::string HostedPlugin::parameterName(VstInt32 index) {
    return askText(effGetParamName, index);
}
std::string HostedPlugin::parameterLabel(VstInt32 index) {
    return askText(effGetParamLabel, index);
}
std::string HostedPlugin::parameterDisplay(VstInt32 index) {
    return askText(effGetParamDisplay, index);
}
std::string HostedPlugin::programName() {
    return askText(effGetProgramName, 0);
}
std::string HostedPlugin::effectName() {
    return askText(effGetEffectName, 0);
}
std::string HostedPlugin::vendorString() {
    return askText(effGetVendorString, 0);
}
std::string HostedPlugin::productString() {
    return askText(effGetProductString, 0);
}

void HostedPlugin::setProgram(VstInt32 program) {
    dispatch(effSetProgram, 0, program);
}

VstInt32 HostedPlugin::program() {
    return static_cast<VstInt32>(dispatch(effGetProgram));
}

void HostedPlugin::setProgramName(const std::string& name) {
    // The plug-in may read up to its own limit whatever the name's length.
    std::array<char, kTextBufferSize> buffer{};
    name.copy(buffer.data(), buffer.size() - 1);
    dispatch(effSetProgramName, 0, 0, buffer.data());
}

VstInt32 HostedPlugin::vendorVersion() {
    return static_cast<VstInt32>(dispatch(effGetVendorVersion));
}
VstInt32 HostedPlugin::vstVersion() {
    return static_cast<VstInt32>(dispatch(effGetVstVersion));
}
VstInt32 HostedPlugin::category() {
    return static_cast<VstInt32>(dispatch(effGetPlugCategory));
}

void HostedPlugin::open() {
    dispatch(effOpen);
}

void HostedPlugin::resume(float sampleRate, VstInt32 blockSize) {
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

void HostedPlugin::suspend() {
    dispatch(effMainsChanged, 0, 0);
}

void HostedPlugin::prepareToPlay(double sampleRate, VstInt32 blockSize) {
    state_.sampleRate = static_cast<VstIntPtr>(std::lround(sampleRate));
    state_.blockSize = blockSize;
    state_.timeInfo.sampleRate = sampleRate;
    resume(static_cast<float>(sampleRate), blockSize);
}

void HostedPlugin::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    if (effect_ != nullptr) {
        effect_->processReplacing(effect_, inputs, outputs, frames);
    }
}

VstIntPtr HostedPlugin::close() {
    if (effect_ == nullptr) {
        return 0;
    }
    AEffect* const effect = effect_;
    effect_ = nullptr; // the record dies inside this call
    return effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

} // namespace hosting
