// Gestures on the panel as the host sees them: begin edit, automation, end
// edit, in order, with the values the controls send.
#include "engine/parameter_ids.h"
#include "gui/cbitmap.h"
#include "gui/cframe.h"
#include "gui/con_off_button.h"
#include "gui/coption_menu.h"
#include "gui/cvertical_slider.h"
#include "tests/editor_fixture.h"

namespace {

class GestureTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        openPanel();
        host.clear();
    }

    // The gesture requests only: begin, automate, end.
    std::vector<HostRequest> gestures() const {
        return host.requestsOf({audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit});
    }

    void expectOneEdit(VstInt32 index, float value) {
        const auto seen = gestures();
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[0].opcode, audioMasterBeginEdit);
        EXPECT_EQ(seen[0].index, index);
        EXPECT_EQ(seen[1].opcode, audioMasterAutomate);
        EXPECT_EQ(seen[1].index, index);
        EXPECT_EQ(seen[1].opt, value);
        EXPECT_EQ(seen[2].opcode, audioMasterEndEdit);
        EXPECT_EQ(seen[2].index, index);
    }
};

TEST_F(GestureTest, ChoosingTwelveStepsSendsElevenFifteenthsAndRecolours) {
    window().scriptChoices({11});
    clickAndIdle({320, 170});
    EXPECT_EQ(window().lastOfferedEntries().size(), 16u);
    EXPECT_EQ(window().lastOfferedCurrent(), 7);
    expectOneEdit(kParamStep, static_cast<float>(11.0 / 15.0));
    EXPECT_EQ(shownText(editor->getStepMenu()), "12");
    for (int i = 0; i < kNumSteps; ++i) {
        EXPECT_EQ(editor->getStepSlider(i)->getHandle(),
                  i < 12 ? editor->getActiveHandle() : editor->getInactiveHandle());
    }
    // Slider 11 rests at the bottom and is now drawn green.
    EXPECT_EQ(window().pixel(30 + 15 * 11 + 8, 144), (CColor{172, 210, 57, 255}));
    EXPECT_EQ(record()->getParameter(record(), kParamStep), static_cast<float>(11.0 / 15.0));
}

TEST_F(GestureTest, ChoosingTripletEighthSendsFiveSevenths) {
    window().scriptChoices({5});
    clickAndIdle({360, 170});
    expectOneEdit(kParamNote, static_cast<float>(5.0 / 7.0));
    EXPECT_EQ(shownText(editor->getNoteMenu()), "1/8T");
}

TEST_F(GestureTest, DismissedMenuSendsNothing) {
    window().scriptChoices({});
    clickAndIdle({320, 170});
    EXPECT_EQ(window().chooserOpenings(), 1);
    EXPECT_TRUE(gestures().empty());
    EXPECT_EQ(shownText(editor->getStepMenu()), "8");
}

TEST_F(GestureTest, LegatoClicksSendOneThenZeroAndShowTheLowerImage) {
    auto* images = new CBitmap(106);
    const auto& rgb = images->getPixels();
    const auto lowerCentre = (static_cast<std::size_t>(15 + 7) * 15 + 7) * 3;
    const CColor lower{rgb[lowerCentre], rgb[lowerCentre + 1], rgb[lowerCentre + 2], 255};
    images->forget();

    makeIdleDue();
    clickAndIdle({30 + 15 * 3 + 7, 172});
    expectOneEdit(kParamLegato + 3, 1.0f);
    EXPECT_EQ(editor->getLegatoButton(3)->getValue(), 1.0f);
    EXPECT_EQ(window().pixel(30 + 15 * 3 + 7, 165 + 7), lower);
    // The switch ran the idle pass (host idle) before its gesture.
    const auto all = host.requests();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front().opcode, audioMasterIdle);

    host.clear();
    clickAndIdle({30 + 15 * 3 + 7, 172});
    expectOneEdit(kParamLegato + 3, 0.0f);
    EXPECT_EQ(editor->getLegatoButton(3)->getValue(), 0.0f);
    EXPECT_NE(window().pixel(30 + 15 * 3 + 7, 165 + 7), lower);
}

TEST_F(GestureTest, SliderDragSendsIncreasingValuesInsideOneGesture) {
    // Step 1 rests at the bottom (value 0, handle top at 140).
    auto* slider = editor->getStepSlider(1);
    ASSERT_EQ(slider->getValue(), 0.0f);
    const int x = 30 + 15 + 5;
    window().scriptPointer({{{x, 142}, kLButton},
                            {{x, 130}, kLButton},
                            {{x, 110}, kLButton},
                            {{x, 110}, kLButton},
                            {{x, 80}, kLButton},
                            {{x, 20}, kLButton},
                            {{x, 20}, 0}});
    window().click({x, 142});
    EXPECT_EQ(window().pointerStatesLeft(), 0u);

    const auto seen = gestures();
    ASSERT_GE(seen.size(), 5u);
    EXPECT_EQ(seen.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(seen.back().opcode, audioMasterEndEdit);
    float previous = 0.0f;
    for (std::size_t i = 1; i + 1 < seen.size(); ++i) {
        EXPECT_EQ(seen[i].opcode, audioMasterAutomate);
        EXPECT_EQ(seen[i].index, 1);
        EXPECT_GT(seen[i].opt, previous);
        previous = seen[i].opt;
    }
    // Dragged past the top: value 1, stored by the effect, shown by the slider.
    EXPECT_EQ(previous, 1.0f);
    EXPECT_EQ(record()->getParameter(record(), 1), 1.0f);
    EXPECT_EQ(slider->getValue(), 1.0f);
}

// The panel as open builds it: every control there, showing the effect's values.
void expectCompletePanel(TKEditor* editor, AEffect* record) {
    ASSERT_NE(editor->getFrame(), nullptr);
    EXPECT_FALSE(editor->getFrame()->isDetached());
    EXPECT_EQ(editor->getFrame()->getNbViews(), 41);
    for (int i = 0; i < kNumSteps; ++i) {
        ASSERT_NE(editor->getStepSlider(i), nullptr);
        ASSERT_NE(editor->getLegatoButton(i), nullptr);
        EXPECT_EQ(editor->getStepSlider(i)->getValue(),
                  record->getParameter(record, kParamProbability + i));
    }
    for (int index : {kParamDuration, kParamGateOff, kParamOutput}) {
        EXPECT_NE(editor->getLevelSlider(index), nullptr);
        EXPECT_NE(editor->getLevelDisplay(index), nullptr);
    }
    EXPECT_NE(editor->getStepMenu(), nullptr);
    EXPECT_NE(editor->getNoteMenu(), nullptr);
    EXPECT_NE(editor->getDeclickButton(), nullptr);
}

// The host closes (or reopens) the editor from inside its idle callback while
// a step slider is being dragged: the frame whose slider loop is running must
// outlive the loop, the gesture the host was told of is ended before the
// close returns, nothing more comes from the old panel, and the editor has
// either no panel or a complete new one.
TEST_F(GestureTest, HostClosingTheEditorFromItsIdleDuringASliderDrag) {
    enum class InIdle { Close, CloseAndOpen, OpenAgain };
    for (InIdle inIdle : {InIdle::Close, InIdle::CloseAndOpen, InIdle::OpenAgain}) {
        SCOPED_TRACE(static_cast<int>(inIdle));
        if (frame() == nullptr) {
            openPanel();
        }
        // Step 1 back at the bottom (value 0, handle top at 140).
        record()->setParameter(record(), 1, 0.0f);
        dispatch(effEditIdle);
        const int x = 30 + 15 + 5;
        window().scriptPointer({{{x, 110}, kLButton},
                                {{x, 80}, kLButton},
                                {{x, 50}, kLButton},
                                {{x, 20}, kLButton},
                                {{x, 20}, 0}});
        bool inside = false;
        int endsWhenClosed = -1;
        CFrame* frameAfterIdle = nullptr;
        host.onIdle = [&] {
            if (inside) {
                return;
            }
            inside = true;
            if (inIdle != InIdle::OpenAgain) {
                dispatch(effEditClose);
                endsWhenClosed = host.count(audioMasterEndEdit);
            }
            if (inIdle != InIdle::Close) {
                EXPECT_EQ(dispatch(effEditOpen), 1);
                endsWhenClosed = host.count(audioMasterEndEdit);
            }
            frameAfterIdle = frame();
        };
        makeIdleDue();
        host.clear();
        window().click({x, 142}); // the old frame and its window are gone afterwards
        host.onIdle = nullptr;
        ASSERT_TRUE(inside) << "the drag ran the host's idle";

        const auto seen = gestures();
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[0].opcode, audioMasterBeginEdit);
        EXPECT_EQ(seen[1].opcode, audioMasterAutomate);
        EXPECT_EQ(seen[2].opcode, audioMasterEndEdit);
        for (const HostRequest& r : seen) {
            EXPECT_EQ(r.index, 1);
        }
        EXPECT_EQ(endsWhenClosed, 1) << "the gesture ends before the close returns";
        // The one value sent before the close is the effect's value.
        EXPECT_EQ(record()->getParameter(record(), 1), seen[1].opt);
        EXPECT_GT(seen[1].opt, 0.0f);
        EXPECT_LT(seen[1].opt, 1.0f);
        EXPECT_EQ(frame(), frameAfterIdle);

        if (inIdle == InIdle::Close) {
            EXPECT_EQ(frame(), nullptr);
            EXPECT_EQ(editor->getStepSlider(1), nullptr);
            EXPECT_EQ(editor->getStepMenu(), nullptr);
            openPanel();
        }
        expectCompletePanel(editor, record());
        // The new panel works: a control click is one whole gesture, and the
        // next idle pass draws step 0's handle at the middle.
        host.clear();
        window().click({30 + 5, 100}, kLButton | kControl);
        expectOneEdit(kParamProbability, 0.5f);
        dispatch(effEditIdle);
        EXPECT_EQ(window().pixel(30 + 8, 100), (CColor{172, 210, 57, 255}));
    }
}

// A switch runs the host's idle before its gesture: closed there, it sends
// nothing at all, so the host sees no gesture and the parameter stays.
TEST_F(GestureTest, HostClosingTheEditorBeforeASwitchsGestureSendsNothing) {
    bool closed = false;
    host.onIdle = [&] {
        if (!closed) {
            closed = true;
            dispatch(effEditClose);
        }
    };
    makeIdleDue();
    window().click({30 + 15 * 3 + 7, 172});
    host.onIdle = nullptr;
    ASSERT_TRUE(closed);
    EXPECT_TRUE(gestures().empty());
    EXPECT_EQ(record()->getParameter(record(), kParamLegato + 3), 0.0f);
    EXPECT_EQ(frame(), nullptr);
    openPanel();
    expectCompletePanel(editor, record());
    EXPECT_EQ(editor->getLegatoButton(3)->getValue(), 0.0f);
}

TEST_F(GestureTest, ControlClickSetsTheDefaultHalf) {
    window().click({30 + 5, 100}, kLButton | kControl);
    expectOneEdit(kParamProbability, 0.5f);
    EXPECT_EQ(editor->getStepSlider(0)->getValue(), 0.5f);
    EXPECT_EQ(record()->getParameter(record(), 0), 0.5f);
}

TEST_F(GestureTest, ValuesFromControlsWithForeignTagsAreIgnored) {
    for (long tag : {38L, 1000L, -1L}) {
        COnOffButton stray({0, 0, 10, 10}, editor, tag, nullptr);
        stray.setValue(1.0f);
        editor->valueChanged(nullptr, &stray);
    }
    EXPECT_TRUE(gestures().empty());
}

} // namespace
