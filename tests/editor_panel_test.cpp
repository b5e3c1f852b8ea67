// The panel as the user sees it: controls and pixels after opening, after
// host changes, and across close and open.
#include "editor/format_percent.h"
#include "engine/parameter_ids.h"
#include "gui/cbitmap.h"
#include "gui/cframe.h"
#include "gui/con_off_button.h"
#include "gui/coption_menu.h"
#include "gui/cparam_display.h"
#include "gui/cvertical_slider.h"
#include "tests/editor_fixture.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr CColor kActiveGreen{172, 210, 57, 255};
constexpr CColor kInactiveGrey{128, 128, 128, 255};

// The centre of step slider i's handle at value 1 (top) or 0 (bottom).
CPoint handleCentre(int step, bool top) {
    return {30 + 15 * step + 1 + 7, (top ? 51 : 140) + 4};
}

// One pixel of a panel bitmap, loaded for the comparison.
CColor bitmapPixel(int id, int x, int y) {
    auto* bitmap = new CBitmap(id);
    const auto& rgb = bitmap->getPixels();
    const std::size_t i = (static_cast<std::size_t>(y) * bitmap->getWidth() + x) * 3;
    const CColor colour{rgb.at(i), rgb.at(i + 1), rgb.at(i + 2), 255};
    bitmap->forget();
    return colour;
}

// Whether any pixel of rect is (close to) white: text drawn in a display.
bool hasWhiteText(const OffscreenWindow& window, const CRect& rect) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const CColor c = window.pixel(x, y);
            if (c.red > 200 && c.green > 200 && c.blue > 200) {
                return true;
            }
        }
    }
    return false;
}

class PanelViewTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        openPanel();
    }

    // Handles in the step count wear the active bitmap, the rest the inactive one.
    void expectGreenHandles(int count) {
        for (int i = 0; i < kNumSteps; ++i) {
            EXPECT_EQ(editor->getStepSlider(i)->getHandle(),
                      i < count ? editor->getActiveHandle() : editor->getInactiveHandle())
                << "step " << i;
        }
    }

    void hostSets(VstInt32 index, float value) {
        record()->setParameter(record(), index, value);
        dispatch(effEditIdle);
    }
};

TEST_F(PanelViewTest, DefaultProgramShowsEveryControlAsStored) {
    EXPECT_EQ(frame()->getNbViews(), 41);
    EXPECT_EQ(frame()->getViewSize(), (CRect{0, 0, 440, 210}));
    expectGreenHandles(8);
    for (int i = 0; i < kNumSteps; ++i) {
        const bool top = i % 2 == 0;
        EXPECT_EQ(editor->getStepSlider(i)->getValue(), top ? 1.0f : 0.0f) << "step " << i;
        // The handle is drawn where its value puts it, in its colour.
        const CColor expected = i < 8 ? kActiveGreen : kInactiveGrey;
        EXPECT_EQ(window().pixel(handleCentre(i, top).x, handleCentre(i, top).y), expected)
            << "step " << i;
        EXPECT_NE(window().pixel(handleCentre(i, !top).x, handleCentre(i, !top).y), expected)
            << "step " << i;
        EXPECT_EQ(editor->getLegatoButton(i)->getValue(), 0.0f);
    }
    for (int index : {kParamDuration, kParamGateOff, kParamOutput}) {
        EXPECT_EQ(editor->getLevelSlider(index)->getValue(), 1.0f);
        EXPECT_EQ(editor->getLevelSlider(index)->handleRect().top, 40);
        EXPECT_EQ(shownText(editor->getLevelDisplay(index)), "100");
        EXPECT_TRUE(hasWhiteText(window(), editor->getLevelDisplay(index)->getViewSize()));
    }
    EXPECT_EQ(shownText(editor->getStepMenu()), "8");
    EXPECT_EQ(shownText(editor->getNoteMenu()), "1/16");
    EXPECT_TRUE(hasWhiteText(window(), editor->getStepMenu()->getViewSize()));
    EXPECT_EQ(editor->getDeclickButton()->getValue(), 1.0f);
    // The Declick switch shows its lower (on) image.
    EXPECT_EQ(window().pixel(394 + 15, 165 + 7), bitmapPixel(102, 15, 15 + 7));
}

TEST_F(PanelViewTest, KnobCornersShowTheBackgroundBehindThem) {
    // Bitmap 101's top-left corner is white; the Duration knob sits at (316, 40)
    // over a copy of the panel background taken at that same corner.
    ASSERT_EQ(bitmapPixel(101, 0, 0), kWhiteCColor);
    EXPECT_EQ(window().pixel(316, 40), bitmapPixel(103, 316, 40));
    EXPECT_NE(window().pixel(316, 40), kWhiteCColor);
    // The knob's middle is the knob's own colour.
    EXPECT_EQ(window().pixel(316 + 8, 40 + 11), bitmapPixel(101, 8, 11));
}

TEST_F(PanelViewTest, HostStepCountRecoloursHandlesAndMenu) {
    hostSets(kParamStep, 1.0f);
    expectGreenHandles(16);
    EXPECT_EQ(shownText(editor->getStepMenu()), "16");
    EXPECT_EQ(window().pixel(handleCentre(15, false).x, handleCentre(15, false).y), kActiveGreen);

    hostSets(kParamStep, 0.0f);
    expectGreenHandles(1);
    EXPECT_EQ(shownText(editor->getStepMenu()), "1");
    EXPECT_EQ(window().pixel(handleCentre(1, false).x, handleCentre(1, false).y), kInactiveGrey);
    EXPECT_EQ(window().pixel(handleCentre(0, true).x, handleCentre(0, true).y), kActiveGreen);
}

TEST_F(PanelViewTest, HostChangesMoveTheirControls) {
    hostSets(kParamDeclick, 0.0f);
    EXPECT_EQ(editor->getDeclickButton()->getValue(), 0.0f);
    EXPECT_EQ(window().pixel(394 + 15, 165 + 7), bitmapPixel(102, 15, 7));
    hostSets(kParamDeclick, 1.0f);
    EXPECT_EQ(editor->getDeclickButton()->getValue(), 1.0f);

    hostSets(kParamDuration, 0.125f);
    EXPECT_EQ(shownText(editor->getLevelDisplay(kParamDuration)), "13");
    EXPECT_EQ(editor->getLevelSlider(kParamDuration)->getValue(), 0.125f);

    hostSets(kParamNote, 5.0f / 7.0f);
    EXPECT_EQ(shownText(editor->getNoteMenu()), "1/8T");

    hostSets(kParamLegato + 4, 1.0f);
    EXPECT_EQ(editor->getLegatoButton(4)->getValue(), 1.0f);

    hostSets(kParamProbability + 2, 0.0f);
    EXPECT_EQ(editor->getStepSlider(2)->getValue(), 0.0f);
    EXPECT_EQ(window().pixel(handleCentre(2, false).x, handleCentre(2, false).y), kActiveGreen);
}

TEST_F(PanelViewTest, ChangesWhileClosedShowAtTheNextOpen) {
    dispatch(effEditClose);
    ASSERT_EQ(frame(), nullptr);
    record()->setParameter(record(), kParamStep, 1.0f);
    record()->setParameter(record(), kParamProbability, 0.0f);
    dispatch(effEditIdle); // nothing to draw, nothing to crash on
    EXPECT_EQ(editor->getStepSlider(0), nullptr);

    openPanel();
    EXPECT_EQ(shownText(editor->getStepMenu()), "16");
    expectGreenHandles(16);
    EXPECT_EQ(editor->getStepSlider(0)->getValue(), 0.0f);
}

TEST_F(PanelViewTest, ReopeningBuildsANewPanelWithoutReloadingTheEditorsBitmaps) {
    const std::uint64_t loadsBefore = CBitmap::loadCount();
    dispatch(effEditClose);
    openPanel();
    // Only the four control bitmaps (102, 106, 104, 101) are loaded again.
    EXPECT_EQ(CBitmap::loadCount() - loadsBefore, 4u);
    EXPECT_EQ(frame()->getNbViews(), 41);
    EXPECT_EQ(window().pixel(handleCentre(0, true).x, handleCentre(0, true).y), kActiveGreen);
    // The editor holds one reference to each handle, plus one per slider wearing it.
    EXPECT_EQ(editor->getActiveHandle()->referenceCount(), 1 + 8);
    EXPECT_EQ(editor->getInactiveHandle()->referenceCount(), 1 + 8);
}

TEST_F(PanelViewTest, OpeningWhileOpenReplacesTheFrame) {
    const std::uint64_t loadsBefore = CBitmap::loadCount();
    ASSERT_EQ(dispatch(effEditOpen), 1);
    EXPECT_EQ(CBitmap::loadCount() - loadsBefore, 4u);
    EXPECT_EQ(frame()->getNbViews(), 41);
    // The first frame's sliders let go of their handles.
    EXPECT_EQ(editor->getActiveHandle()->referenceCount(), 1 + 8);
}

TEST(FormatPercent, RoundsHalfUpAndGuardsAbsurdValues) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.0f, "0"},
        {0.125f, "13"},
        {0.5f, "50"},
        {1.0f, "100"},
        {0.004f, "0"},
        {0.006f, "1"},
        {-0.004f, "0"},
        {-0.5f, "-49"},
        {std::numeric_limits<float>::quiet_NaN(), "0"},
        {std::numeric_limits<float>::infinity(), "2147483647"},
        {-std::numeric_limits<float>::infinity(), "-2147483648"},
        {1e30f, "2147483647"},
    };
    for (const auto& c : cases) {
        char text[16] = "junk";
        formatPercent(c.value, text);
        EXPECT_STREQ(text, c.text) << "value " << c.value;
    }
}

TEST(StepCount, LimitsOutOfRangeValues) {
    EXPECT_EQ(stepCountFor(0.0f), 1);
    EXPECT_EQ(stepCountFor(7.0f / 15.0f), 8);
    EXPECT_EQ(stepCountFor(1.0f), 16);
    EXPECT_EQ(stepCountFor(2.0f), 17);
    EXPECT_EQ(stepCountFor(-1.0f), 0);
    EXPECT_EQ(stepCountFor(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(stepCountFor(std::numeric_limits<float>::infinity()), 17);
}

} // namespace
