// Parameter changes arriving on a thread other than the panel's: they touch
// no control there and show at the next idle pass on the UI thread.
#include "engine/parameter_ids.h"
#include "gui/cframe.h"
#include "gui/coption_menu.h"
#include "gui/cvertical_slider.h"
#include "tests/editor_fixture.h"

#include <thread>

namespace {

using ThreadTest = PanelTest;

TEST_F(ThreadTest, ChangesFromAnotherThreadWaitForTheNextIdle) {
    openPanel();
    CBitmap* handleBefore = editor->getStepSlider(12)->getHandle();
    std::thread automation([this] {
        record()->setParameter(record(), kParamProbability, 0.0f);
        record()->setParameter(record(), kParamStep, 1.0f);
        record()->setParameter(record(), kParamOutput, 0.5f);
    });
    automation.join();

    // The effect has the values; the controls do not yet.
    EXPECT_EQ(record()->getParameter(record(), kParamProbability), 0.0f);
    EXPECT_EQ(editor->getStepSlider(0)->getValue(), 1.0f);
    EXPECT_EQ(editor->getStepSlider(12)->getHandle(), handleBefore);
    EXPECT_EQ(shownText(editor->getStepMenu()), "8");
    EXPECT_EQ(editor->getLevelSlider(kParamOutput)->getValue(), 1.0f);

    dispatch(effEditIdle);
    EXPECT_EQ(editor->getStepSlider(0)->getValue(), 0.0f);
    EXPECT_EQ(editor->getStepSlider(12)->getHandle(), editor->getActiveHandle());
    EXPECT_EQ(shownText(editor->getStepMenu()), "16");
    EXPECT_EQ(editor->getLevelSlider(kParamOutput)->getValue(), 0.5f);
}

TEST_F(ThreadTest, ChangesFromAnotherThreadWhileClosedShowAtOpen) {
    std::thread automation(
        [this] { record()->setParameter(record(), kParamProbability + 1, 0.75f); });
    automation.join();
    openPanel();
    EXPECT_EQ(editor->getStepSlider(1)->getValue(), 0.75f);
}

// Automation on another thread while the UI thread idles and drags: the
// ThreadSanitizer run checks that nothing is shared unsafely.
TEST_F(ThreadTest, AutomationDuringIdlePasses) {
    openPanel();
    std::atomic<bool> done{false};
    std::thread automation([&] {
        for (int i = 0; i < 2000; ++i) {
            record()->setParameter(record(), i % kNumParams, (i % 7) / 6.0f);
        }
        done = true;
    });
    while (!done) {
        dispatch(effEditIdle);
    }
    automation.join();
    dispatch(effEditIdle);
    // Every control ends at the effect's value.
    for (int i = 0; i < kNumSteps; ++i) {
        EXPECT_EQ(editor->getStepSlider(i)->getValue(), record()->getParameter(record(), i));
    }
}

} // namespace
