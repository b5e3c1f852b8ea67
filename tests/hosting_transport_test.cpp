// Song positions for the time record: exact beats at block starts, flags.
#include "hosting/transport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace hosting {
namespace {

TEST(HostingTransport, BlockStartsOnABeatGiveThatBeatExactly) {
    const struct {
        double tempo;
        double sampleRate;
        double startBeat;
        std::int64_t frame;
        double beat;
    } kCases[] = {
        {120.0, 44100.0, 0.0, 22050, 1.0},
        {120.0, 44100.0, 0.0, 22050 * 1000, 1000.0},
        {133.0, 44100.0, 0.0, 0, 0.0},
        {90.0, 48000.0, 2.0, 32000 * 3, 5.0},
        {140.0, 96000.0, -1.0, 0, -1.0},
        // 60 s at 133 bpm is 133 beats, though a beat is no whole number of frames.
        {133.0, 44100.0, 0.0, 44100 * 60, 133.0},
        {175.0, 44100.0, 0.5, 44100LL * 60 * 60 * 10, 0.5 + 175.0 * 60 * 10},
    };
    for (const auto& c : kCases) {
        const Transport transport{c.tempo, c.startBeat, true, c.sampleRate};
        const VstTimeInfo info = timeInfoAt(transport, c.frame);
        EXPECT_EQ(info.ppqPos, c.beat) << c.tempo << " bpm, frame " << c.frame;
        EXPECT_EQ(info.samplePos, static_cast<double>(c.frame));
        EXPECT_EQ(info.tempo, c.tempo);
        EXPECT_EQ(info.sampleRate, c.sampleRate);
    }
}

TEST(HostingTransport, FlagsSayWhetherTheTransportPlays) {
    Transport transport{120.0, 4.0, true, 44100.0};
    EXPECT_EQ(timeInfoAt(transport, 0).flags,
              kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid);
    transport.playing = false;
    const VstTimeInfo stopped = timeInfoAt(transport, 22050);
    EXPECT_EQ(stopped.flags, kVstPpqPosValid | kVstTempoValid);
    EXPECT_EQ(stopped.ppqPos, 5.0);
}

TEST(HostingTransport, UnusableTempoOrRateKeepsTheStartBeat) {
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kInf = std::numeric_limits<double>::infinity();
    const struct {
        double tempo;
        double sampleRate;
    } kCases[] = {{0.0, 44100.0}, {-120.0, 44100.0}, {kNaN, 44100.0}, {kInf, 44100.0},
                  {120.0, 0.0},   {120.0, -1.0},     {120.0, kNaN},   {120.0, kInf}};
    for (const auto& c : kCases) {
        const VstTimeInfo info = timeInfoAt(Transport{c.tempo, 3.0, true, c.sampleRate}, 1000);
        EXPECT_EQ(info.ppqPos, 3.0) << c.tempo << " bpm at " << c.sampleRate << " Hz";
        EXPECT_TRUE(std::isnan(c.tempo) ? std::isnan(info.tempo) : info.tempo == c.tempo);
    }
}

} // namespace
} // namespace hosting
