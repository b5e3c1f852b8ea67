// sampleRate and blockSize are written on the host's UI thread and read on
// its audio thread. Every value read must be one that was written whole; the
// ThreadSanitizer build also checks that the accesses do not race.
#include "tests/host_fake_host.h"
#include "tests/host_probe_effect.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(HostThreads, SampleRateAndBlockSizeAreSharedWhole) {
    FakeHost host;
    host.answer = 96000;
    ProbeJournal journal;
    ProbeEffect effect(journal, &FakeHost::callback);
    AudioEffect& base = effect;
    std::atomic<bool> done{false};

    std::thread audio([&] {
        int odd = 0;
        while (!done.load()) {
            const float rate = base.getSampleRate();
            const VstInt32 size = base.getBlockSize();
            odd += (rate != 44100.0f && rate != 48000.0f && rate != 96000.0f) ? 1 : 0;
            odd += (size != 1024 && size != 64 && size != 96000) ? 1 : 0;
        }
        EXPECT_EQ(odd, 0);
    });
    for (int i = 0; i < 20000; ++i) {
        base.setSampleRate(48000.0f);
        base.setBlockSize(64);
        effect.updateSampleRate();
        effect.updateBlockSize();
        effect.setBlockSizeAndSampleRate(1024, 44100.0f);
    }
    done.store(true);
    audio.join();
}

} // namespace
