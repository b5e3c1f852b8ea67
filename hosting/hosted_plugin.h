// One plug-in instance driven the way a host drives it: created through the
// module's entry point with this library's host callback, answered from a
// scripted HostState, with every request the plug-in sends written to a log.
//
// Threads: like a real host, one thread may call processReplacing while
// another calls dispatch and the parameter functions. The time request, which
// a plug-in sends from its audio thread, is only counted (atomics, no lock, no
// allocation); every other request is logged under a mutex. HostState is read
// by the callback on the calling thread and is not synchronised: change it
// between calls, not while another thread is inside the plug-in.
#pragma once

#include "host/vst_abi.h"
#include "hosting/host_state.h"
#include "hosting/plugin_module.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace hosting {

class HostedPlugin {
public:
    // Calls the module's entry point with the host callback. Null with *error
    // set when the entry point answers null or the record is not a VST 2.4
    // record. The module must outlive the instance.
    static std::unique_ptr<HostedPlugin> create(const PluginModule& module, HostState state = {},
                                                std::string* error = nullptr);
    // The same through a given entry point, e.g. module.entryNamed("main").
    static std::unique_ptr<HostedPlugin>
    createWith(PluginModule::EntryPoint entry, HostState state = {}, std::string* error = nullptr);

    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;
    ~HostedPlugin(); // closes the effect if it is still there

    AEffect* effect() const { return effect_; }
    HostState& state() { return state_; }

    // Every request except audioMasterGetTime, in the order they arrived.
    std::vector<Request> requests() const;
    void clearRequests();
    int timeRequestCount() const;
    VstIntPtr lastTimeFilter() const;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);

    std::string parameterName(VstInt32 index);
    std::string parameterLabel(VstInt32 index);
    std::string parameterDisplay(VstInt32 index);

    std::string programName();
    void setProgram(VstInt32 program);
    VstInt32 program();
    void setProgramName(const std::string& name);

    std::string effectName();
    std::string vendorString();
    std::string productString();
    VstInt32 vendorVersion();
    VstInt32 vstVersion();
    VstInt32 category();

    void open(); // effOpen
    // effSetSampleRate, effSetBlockSize, effMainsChanged 1. The callback keeps
    // answering from HostState; prepareToPlay sets both sides at once.
    void resume(float sampleRate, VstInt32 blockSize);
    void suspend(); // effMainsChanged 0
    // What a host does before playing: its own answers (sample rate, block
    // size, the time record's sample rate) follow the new settings, then resume.
    void prepareToPlay(double sampleRate, VstInt32 blockSize);
    void processReplacing(float** inputs, float** outputs, VstInt32 frames);
    // effClose; answers what the dispatcher answered. Afterwards effect() is null.
    VstIntPtr close();

private:
    explicit HostedPlugin(HostState state);
    friend VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32, VstInt32, VstIntPtr, void*,
                                              float);

    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    // Asks with a generous zero-filled buffer and keeps the text up to the
    // first NUL: some plug-ins write past the interface's limits.
    std::string askText(VstInt32 opcode, VstInt32 index);

    AEffect* effect_ = nullptr;
    HostState state_;
    mutable std::mutex requestsMutex_;
    std::vector<Request> requests_;
    std::atomic<int> timeRequests_{0};
    std::atomic<VstIntPtr> lastTimeFilter_{0};
};

// The host callback every HostedPlugin hands to its plug-in.
VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt);

} // namespace hosting
