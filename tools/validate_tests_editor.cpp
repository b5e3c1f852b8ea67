// The editor: opened and closed many times, opened while audio runs, driven
// by automation, idled slowly and fast, and opened in awkward states.
#include "tools/validate_parent_window.h"
#include "tools/validate_tests.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace tarvokin::validate {
namespace {

// Noise through the plug-in on a thread of its own until stopped, with
// parameter changes from that thread too, as automation playback does.
class AudioThread {
public:
    AudioThread(hosting::HostedPlugin& plugin, std::uint64_t seed, bool automate)
        : plugin_(plugin), thread_([this, seed, automate] { run(seed, automate); }) {}
    ~AudioThread() { stop(); }
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

    // Stops and answers the first fault of the output, or an empty string.
    std::string stop() {
        stop_.store(true);
        if (thread_.joinable()) {
            thread_.join();
        }
        return fault_;
    }

private:
    void run(std::uint64_t seed, bool automate) {
        std::mt19937_64 random(seed);
        const AEffect& effect = *plugin_.effect();
        AudioBuffers buffers(effect, 128);
        for (std::int64_t block = 0; !stop_.load(); ++block) {
            setTransport(plugin_, 44100.0, 120.0, true, block * 128);
            if (automate && effect.numParams > 0) {
                plugin_.setParameter(static_cast<VstInt32>(random() % effect.numParams),
                                     uniform(random, 0.0f, 1.0f));
            }
            buffers.fillNoise(random, 0.5f);
            processBlock(plugin_, buffers, 128);
            fault_ = buffers.outputFault(outputBound(plugin_, buffers.inputPeak(), true), 128);
            if (!fault_.empty()) {
                fault_ = "block " + std::to_string(block) + ": " + fault_;
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }

    hosting::HostedPlugin& plugin_;
    std::atomic<bool> stop_{false};
    std::string fault_;
    std::thread thread_;
};

bool hasEditor(Context& context, hosting::HostedPlugin& plugin) {
    if ((plugin.effect()->flags & effFlagsHasEditor) == 0) {
        context.skip("no editor (effFlagsHasEditor unset)");
        return false;
    }
    return true;
}

// The editor's rectangle, checked for a plausible size. False on a fault.
bool checkRect(Context& context, hosting::HostedPlugin& plugin, const char* when) {
    ERect* rect = nullptr;
    plugin.dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr) {
        context.note(std::string("effEditGetRect gives no rectangle ") + when);
        return true;
    }
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        context.fail(std::string("effEditGetRect ") + when + ": " + std::to_string(width) + " x " +
                     std::to_string(height));
        return false;
    }
    return true;
}

void idleFor(hosting::HostedPlugin& plugin, ParentWindow& parent, double hertz, double seconds) {
    const auto period = std::chrono::duration<double>(1.0 / hertz);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        plugin.dispatch(effEditIdle);
        parent.sync();
        std::this_thread::sleep_for(period);
    }
}

} // namespace

void testEditor(Context& context) {
    auto plugin = context.running(44100.0, 128);
    if (!hasEditor(context, *plugin)) {
        return;
    }
    std::string windowNote;
    ParentWindow parent(context.config().editorWindow, &windowNote);
    if (!windowNote.empty()) {
        context.note(windowNote);
    }
    checkRect(context, *plugin, "before opening");
    if (plugin->dispatch(effEditOpen, 0, 0, parent.handle()) == 0) {
        context.skip(parent.handle() == nullptr ? "the editor does not open without a parent window"
                                                : "the editor does not open in the parent window");
        return;
    }
    if (!checkRect(context, *plugin, "while open")) {
        plugin->dispatch(effEditClose);
        return;
    }
    plugin->dispatch(effEditClose);

    // Open and close many times.
    const int cycles = context.scaled(10, 50);
    for (int cycle = 0; cycle < cycles; ++cycle) {
        plugin->dispatch(effEditOpen, 0, 0, parent.handle());
        plugin->dispatch(effEditIdle);
        parent.sync();
        plugin->dispatch(effEditClose);
    }

    // Open and close while audio runs on another thread.
    {
        AudioThread audio(*plugin, context.config().seed + 11, false);
        for (int cycle = 0; cycle < context.scaled(3, 10); ++cycle) {
            plugin->dispatch(effEditOpen, 0, 0, parent.handle());
            idleFor(*plugin, parent, 200.0, 0.02);
            plugin->dispatch(effEditClose);
        }
        if (const std::string fault = audio.stop(); !fault.empty()) {
            context.fail("audio while opening the editor, " + fault);
        }
    }

    // Every parameter automated while the editor is open, from this thread
    // and from the audio thread, with idle calls in between.
    plugin->dispatch(effEditOpen, 0, 0, parent.handle());
    {
        AudioThread audio(*plugin, context.config().seed + 12, true);
        for (int round = 0; round < context.scaled(2, 6); ++round) {
            for (VstInt32 index = 0; index < plugin->effect()->numParams; ++index) {
                plugin->setParameter(index, uniform(context.random(), 0.0f, 1.0f));
                if (index % 4 == 0) {
                    plugin->dispatch(effEditIdle);
                }
            }
        }
        const double seconds = 0.05 * context.scaled(2, 10);
        idleFor(*plugin, parent, 15.0, seconds);
        idleFor(*plugin, parent, 1000.0, seconds);
        if (const std::string fault = audio.stop(); !fault.empty()) {
            context.fail("audio while automating the open editor, " + fault);
        }
    }
    plugin->dispatch(effEditClose);
    // Calls a careless host makes: close twice, idle while closed.
    plugin->dispatch(effEditClose);
    plugin->dispatch(effEditIdle);
}

void testEditorStress(Context& context) {
    auto plugin = context.instance();
    if (!hasEditor(context, *plugin)) {
        return;
    }
    plugin->open();
    // A host that has not set up audio yet: rate and block size 0, and the
    // editor opened before effMainsChanged.
    plugin->state().sampleRate = 0;
    plugin->state().blockSize = 0;
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
    plugin->dispatch(effSetBlockSize, 0, 0);
    std::string windowNote;
    ParentWindow parent(context.config().editorWindow, &windowNote);
    const bool opened = plugin->dispatch(effEditOpen, 0, 0, parent.handle()) != 0;
    for (VstInt32 index = 0; index < plugin->effect()->numParams; ++index) {
        plugin->setParameter(index, uniform(context.random(), 0.0f, 1.0f));
    }
    plugin->dispatch(effEditIdle);
    checkRect(context, *plugin, "at sample rate 0");
    if (opened) {
        plugin->dispatch(effEditClose);
    }

    // Now set up properly: audio must work after all that.
    plugin->prepareToPlay(44100.0, 256);
    AudioBuffers buffers(*plugin->effect(), 256);
    for (int block = 0; block < 8; ++block) {
        setTransport(*plugin, 44100.0, 120.0, true, block * 256);
        buffers.fillNoise(context.random(), 0.5f);
        processBlock(*plugin, buffers, 256);
        if (const std::string fault =
                buffers.outputFault(outputBound(*plugin, buffers.inputPeak(), false), 256);
            !fault.empty()) {
            context.fail("after the editor opened at sample rate 0: " + fault);
            return;
        }
    }
    // Editor open during processing set-up changes.
    plugin->dispatch(effEditOpen, 0, 0, parent.handle());
    plugin->suspend();
    plugin->dispatch(effEditIdle);
    plugin->prepareToPlay(96000.0, 64);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
}

} // namespace tarvokin::validate
