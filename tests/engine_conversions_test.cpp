// Host value <-> stored form conversions, including host values outside the
// contract (NaN, infinities, values beyond 0..1).
#include "engine/parameter_conversions.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct SelectorCase {
    float value;
    std::int32_t top;
    std::int32_t expected;
};

TEST(ParameterConversions, SelectorTruncatesAndReachesTheTopOnlyAtOne) {
    const SelectorCase cases[] = {
        {1.0f, 15, 15},
        {0.99f, 15, 14},
        {0.0f, 15, 0},
        {0.5f, 7, 3},
        {0.999f, 7, 6},
        {1.0f, 7, 7},
        {0.9999999f, 15, 14},
        {1.0f / 15, 15, 1},
        // outside the contract: clamped, NaN selects the first entry
        {2.0f, 15, 15},
        {-0.5f, 15, 0},
        {kNaN, 15, 0},
        {kNaN, 7, 0},
        {kInf, 7, 7},
        {-kInf, 7, 0},
        {-0.0f, 7, 0},
        {3.4e38f, 15, 15},
        {-1e-45f, 15, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(selectorFromHost(c.value, c.top), c.expected)
            << "value " << c.value << " top " << c.top;
    }
}

TEST(ParameterConversions, EverySelectorSurvivesTheRoundTripThroughTheHost) {
    for (std::int32_t top : {kTopLastStep, kTopNoteValue}) {
        for (std::int32_t k = 0; k <= top; ++k) {
            const float host = hostFromSelector(k, top);
            EXPECT_GE(static_cast<double>(host) * top, static_cast<double>(k)) << k << "/" << top;
            EXPECT_EQ(selectorFromHost(host, top), k) << k << "/" << top;
        }
    }
    EXPECT_EQ(hostFromSelector(0, kTopLastStep), 0.0f);
    EXPECT_EQ(hostFromSelector(kTopLastStep, kTopLastStep), 1.0f);
}

TEST(ParameterConversions, SwitchTurnsOnFromOneHalf) {
    const std::pair<float, std::int32_t> cases[] = {
        {0.0f, 0},  {0.49f, 0}, {0.4999999f, 0}, {0.5f, 1}, {1.0f, 1},  {7.0f, 1},
        {-3.0f, 0}, {-1.5f, 0}, {kNaN, 0},       {kInf, 1}, {-kInf, 0},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(switchFromHost(value), expected) << value;
    }
}

TEST(ParameterConversions, ComplementIsFormedInDoubleAndRoundedOnce) {
    EXPECT_EQ(complementOfUnit(1.0f), 0.0f);
    EXPECT_EQ(complementOfUnit(0.0f), 1.0f);
    // 1 - 0.3f is not exactly representable: the result is the float nearest
    // to 0.7, which lies just below it, so the display truncates to 69.
    EXPECT_EQ(complementOfUnit(0.3f), 0.7f);
    EXPECT_LT(static_cast<double>(complementOfUnit(0.3f)), 0.7);
    EXPECT_EQ(displayPercent(complementOfUnit(0.3f)), 69);
    // A level survives two complements to within 2^-25.
    for (float level : {0.0f, 0.1f, 0.3f, 0.49f, 0.5f, 0.77f, 1.0f}) {
        EXPECT_NEAR(complementOfUnit(complementOfUnit(level)), level, std::ldexp(1.0, -25));
    }
    EXPECT_TRUE(std::isnan(complementOfUnit(kNaN)));
}

TEST(ParameterConversions, PercentTruncatesInDoubleAndSaturatesBeyondEightCharacters) {
    const std::pair<float, std::int32_t> cases[] = {
        {0.57f, 56}, // the float lies just below 0.57; single precision would give 57
        {1.0f, 100},
        {0.0f, 0},
        {0.999f, 99},
        {1.5f, 150},
        {-0.005f, 0},
        {-0.5f, -50},
        {kNaN, 0},
        {kInf, 99999999},
        {-kInf, -9999999},
        {1e30f, 99999999},
        {-1e30f, -9999999},
        {999999.9375f, 99999993},
        {1000000.0f, 99999999},
    };
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(displayPercent(stored), expected) << stored;
    }
}

TEST(ParameterConversions, NoteTextsCoverTheEightValuesOnly) {
    const char* expected[] = {"1/4", "1/8", "1/16", "1/32", "1/4T", "1/8T", "1/16T", "1/32T"};
    for (std::int32_t k = 0; k <= kTopNoteValue; ++k) {
        ASSERT_NE(noteValueText(k), nullptr);
        EXPECT_STREQ(noteValueText(k), expected[k]);
    }
    EXPECT_EQ(noteValueText(-1), nullptr);
    EXPECT_EQ(noteValueText(8), nullptr);
}

} // namespace
