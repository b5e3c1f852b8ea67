// The speaker-arrangement tools: allocation size and contents, release,
// copying of speaker records and whole arrangements, and null arguments.
#include "tests/host_probe_effect.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class SpeakerTools : public ::testing::Test {
protected:
    ProbeJournal journal;
    ProbeEffect effect{journal};
};

bool allZero(const void* block, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

VstSpeakerProperties namedSpeaker(const char* name, float azimuth) {
    VstSpeakerProperties speaker{};
    std::strncpy(speaker.name, name, sizeof(speaker.name) - 1);
    speaker.azimuth = azimuth;
    speaker.elevation = 0.25f;
    speaker.radius = 2.0f;
    speaker.reserved = 3.0f;
    speaker.type = 7;
    for (std::size_t i = 0; i < sizeof(speaker.future); ++i) {
        speaker.future[i] = static_cast<char>(i + 1);
    }
    return speaker;
}

TEST_F(SpeakerTools, AllocateTwoChannelsGivesAZeroedBlockOf232Bytes) {
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    ASSERT_NE(arrangement, nullptr);
    EXPECT_EQ(arrangement->numChannels, 2);
    EXPECT_EQ(arrangement->type, 0);
    EXPECT_TRUE(allZero(speakerAt(arrangement, 0), 2 * sizeof(VstSpeakerProperties)));
    // The last byte of the second record belongs to the block (the sanitizer
    // build reports a write past a shorter one).
    reinterpret_cast<unsigned char*>(arrangement)[231] = 1;
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_EQ(arrangement, nullptr);
}

TEST_F(SpeakerTools, AllocateReplacesAnExistingArrangement) {
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 8));
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 0)); // the old block is released
    EXPECT_EQ(arrangement->numChannels, 0);
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
}

TEST_F(SpeakerTools, NegativeChannelCountFailsAndLeavesNothingBehind) {
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    EXPECT_FALSE(effect.allocateArrangement(&arrangement, -1));
    EXPECT_EQ(arrangement, nullptr);
}

TEST_F(SpeakerTools, NullPlacesAnswerFalse) {
    EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
    EXPECT_FALSE(effect.deallocateArrangement(nullptr));
    VstSpeakerProperties speaker{};
    EXPECT_FALSE(effect.copySpeaker(nullptr, &speaker));
    EXPECT_FALSE(effect.copySpeaker(&speaker, nullptr));
    VstSpeakerArrangement* arrangement = nullptr;
    EXPECT_FALSE(effect.matchArrangement(&arrangement, nullptr));
    VstSpeakerArrangement source{};
    EXPECT_FALSE(effect.matchArrangement(nullptr, &source));
    VstSpeakerArrangement* empty = nullptr;
    EXPECT_TRUE(effect.deallocateArrangement(&empty)) << "nothing stored is fine";
}

TEST_F(SpeakerTools, CopySpeakerCopiesEveryFieldAndBoundsTheName) {
    VstSpeakerProperties from = namedSpeaker("Left", 0.5f);
    std::memset(from.name, 'x', sizeof(from.name)); // no terminator at all
    VstSpeakerProperties to{};
    std::memset(&to, 0x55, sizeof(to));
    ASSERT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_EQ(std::string(to.name), std::string(63, 'x'));
    EXPECT_EQ(to.name[63], '\0');
    EXPECT_EQ(to.type, 7);
    EXPECT_EQ(to.azimuth, 0.5f);
    EXPECT_EQ(to.elevation, 0.25f);
    EXPECT_EQ(to.radius, 2.0f);
    EXPECT_EQ(to.reserved, 3.0f);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof(to.future)), 0);
}

TEST_F(SpeakerTools, MatchCopiesTypeAndEveryChannel) {
    VstSpeakerArrangement* source = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 2));
    source->type = 1;
    *speakerAt(source, 0) = namedSpeaker("L", -30.0f);
    *speakerAt(source, 1) = namedSpeaker("R", 30.0f);

    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&copy, 5)); // replaced by the match
    ASSERT_TRUE(effect.matchArrangement(&copy, source));
    EXPECT_EQ(copy->type, 1);
    EXPECT_EQ(copy->numChannels, 2);
    EXPECT_EQ(std::memcmp(speakerAt(copy, 0), speakerAt(source, 0), 2 * 112), 0);

    EXPECT_TRUE(effect.matchArrangement(&source, source)) << "matching itself keeps it";
    EXPECT_EQ(source->numChannels, 2);
    EXPECT_STREQ(speakerAt(source, 1)->name, "R");

    effect.deallocateArrangement(&copy);
    effect.deallocateArrangement(&source);
}

TEST_F(SpeakerTools, MatchFailsForANegativeChannelCount) {
    VstSpeakerArrangement source{};
    source.numChannels = -3;
    VstSpeakerArrangement* copy = nullptr;
    EXPECT_FALSE(effect.matchArrangement(&copy, &source));
    EXPECT_EQ(copy, nullptr);
}

TEST_F(SpeakerTools, ArrangementQueryStoresNullInBothPlaces) {
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* input = &dummy;
    VstSpeakerArrangement* output = &dummy;
    EXPECT_FALSE(effect.getSpeakerArrangement(&input, &output));
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

} // namespace
