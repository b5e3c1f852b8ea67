// The GUI library on its own: a frame on the offscreen backend with a fake
// owner that records gestures and idle calls in order.
#include "gui/cbitmap.h"
#include "gui/cdraw_context.h"
#include "gui/cframe.h"
#include "gui/con_off_button.h"
#include "gui/coption_menu.h"
#include "gui/cparam_display.h"
#include "gui/cvertical_slider.h"
#include "gui/offscreen_window.h"
#include "tests/recording_frame_owner.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

using guitest::Recorder;

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = std::make_unique<CFrame>(CRect{0, 0, 100, 120}, nullptr, &recorder);
        window = OffscreenWindow::of(frame.get());
        ASSERT_NE(window, nullptr);
    }
    // A bitmap for a control; the control keeps its own reference.
    template <typename Make>
    auto withBitmap(int id, Make make) {
        auto* bitmap = new CBitmap(id);
        auto* control = make(bitmap);
        bitmap->forget();
        frame->addView(control);
        return control;
    }

    Recorder recorder;
    std::unique_ptr<CFrame> frame;
    OffscreenWindow* window = nullptr;
};

TEST(CBitmapTest, LoadsByNumberAndCountsReferences) {
    auto* handle = new CBitmap(105);
    EXPECT_EQ(handle->getWidth(), 14);
    EXPECT_EQ(handle->getHeight(), 8);
    EXPECT_EQ(handle->getPixels().size(), 14u * 8u * 3u);
    EXPECT_EQ(handle->referenceCount(), 1);
    handle->remember();
    EXPECT_EQ(handle->referenceCount(), 2);
    handle->forget();
    EXPECT_EQ(handle->referenceCount(), 1);
    handle->forget(); // frees it (the sanitizer run checks)

    for (int missing : {0, 100, 109, -1}) {
        auto* none = new CBitmap(missing);
        EXPECT_EQ(none->getWidth(), 0);
        EXPECT_EQ(none->getHeight(), 0);
        none->forget();
    }
}

TEST_F(GuiTest, MissingBitmapsDrawNothing) {
    auto* none = new CBitmap(999);
    frame->setBackground(none);
    none->forget();
    withBitmap(999, [](CBitmap* b) { return new COnOffButton({10, 10, 30, 30}, nullptr, 1, b); });
    frame->idle();
    for (CPoint p : {CPoint{0, 0}, CPoint{15, 15}, CPoint{99, 119}}) {
        EXPECT_EQ(window->pixel(p.x, p.y), kBlackCColor);
    }
}

TEST_F(GuiTest, SliderHandleFollowsTheValueBetweenItsPositions) {
    auto* slider = withBitmap(105, [this](CBitmap* handle) {
        return new CVerticalSlider({10, 20, 25, 117}, &recorder, 3, 20, 109, handle, nullptr);
    });
    slider->setOffsetHandle({1, 0});
    const struct {
        float value;
        int top;
    } cases[] = {{1.0f, 20}, {0.0f, 109}, {0.5f, 65}, {2.0f, 20}, {-1.0f, 109}};
    for (const auto& c : cases) {
        slider->setValue(c.value);
        EXPECT_EQ(slider->handleRect(), (CRect{11, c.top, 25, c.top + 8})) << c.value;
    }
    slider->setValue(0.0f);
    frame->idle();
    EXPECT_EQ(window->pixel(11, 109), (CColor{172, 210, 57, 255}));
    EXPECT_EQ(window->pixel(10, 109), kBlackCColor); // the offset keeps column 0 free
    EXPECT_EQ(window->pixel(11, 20), kBlackCColor);
}

TEST_F(GuiTest, WhiteIsTransparentOnlyForSliderHandles) {
    // Bitmap 101 has white corners: the slider leaves them out, a switch
    // drawing the same picture keeps them.
    withBitmap(101, [this](CBitmap* knob) {
        return new CVerticalSlider({0, 0, 17, 22}, &recorder, 1, 0, 0, knob, nullptr);
    });
    withBitmap(101, [](CBitmap* knob) {
        return new COnOffButton({40, 0, 57, 22}, nullptr, 2, knob);
    });
    frame->idle();
    EXPECT_EQ(window->pixel(0, 0), kBlackCColor);
    EXPECT_EQ(window->pixel(40, 0), kWhiteCColor);
    EXPECT_NE(window->pixel(8, 11), kBlackCColor);
}

TEST_F(GuiTest, ControlClickOnASliderReportsTheDefault) {
    auto* slider = withBitmap(105, [this](CBitmap* handle) {
        return new CVerticalSlider({10, 20, 25, 117}, &recorder, 3, 20, 109, handle, nullptr);
    });
    slider->setValue(1.0f);
    window->click({15, 60}, kLButton | kControl);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"begin 3", "value 3 0.5", "end 3"}));
}

TEST_F(GuiTest, SliderDragRunsTheIdlePassEveryTurn) {
    auto* slider = withBitmap(105, [this](CBitmap* handle) {
        return new CVerticalSlider({10, 20, 25, 117}, &recorder, 3, 20, 109, handle, nullptr);
    });
    slider->setValue(0.0f);
    // Grabbed at the handle's top edge: the edge follows the pointer.
    window->scriptPointer({{{15, 109}, kLButton}, {{15, 65}, kLButton}, {{15, 20}, 0}});
    window->click({15, 109});
    EXPECT_EQ(recorder.log,
              (std::vector<std::string>{"begin 3", "idle", "value 3 0.494382", "idle", "end 3"}));
}

TEST_F(GuiTest, EventsAreNotTakenFromInsideATrackingLoop) {
    auto* slider = withBitmap(105, [this](CBitmap* handle) {
        return new CVerticalSlider({10, 20, 25, 117}, &recorder, 3, 20, 109, handle, nullptr);
    });
    slider->setValue(0.0f);
    recorder.idleFrame = frame.get();
    // Two presses wait in the window; the first drag idles the frame each turn.
    window->queueClick({15, 110});
    window->queueClick({15, 110});
    window->scriptPointer({{{15, 100}, kLButton}, {{15, 90}, kLButton}, {{15, 90}, 0}});
    frame->idle();
    std::vector<std::string> edits;
    for (const std::string& entry : recorder.log) {
        if (entry.rfind("begin", 0) == 0 || entry.rfind("end", 0) == 0) {
            edits.push_back(entry);
        }
    }
    EXPECT_EQ(edits, (std::vector<std::string>{"begin 3", "end 3", "begin 3", "end 3"}));
}

TEST_F(GuiTest, SwitchTogglesByTheIntegerPartAndIdlesBeforeReporting) {
    auto* button = withBitmap(106, [this](CBitmap* images) {
        return new COnOffButton({0, 0, 15, 15}, &recorder, 16, images);
    });
    const struct {
        float before;
        float after;
    } cases[] = {{0.0f, 1.0f}, {1.0f, 0.0f}, {0.7f, 1.0f}, {1.5f, 0.0f}, {-2.0f, 0.0f}};
    for (const auto& c : cases) {
        recorder.log.clear();
        button->setValue(c.before);
        window->click({5, 5});
        EXPECT_EQ(button->getValue(), c.after) << c.before;
        EXPECT_EQ(recorder.log.front(), "idle");
        EXPECT_EQ(recorder.log.at(1), "begin 16");
        EXPECT_EQ(recorder.log.back(), "end 16");
    }
    // A right click does nothing.
    recorder.log.clear();
    window->click({5, 5}, kRButton);
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(GuiTest, OptionMenuIgnoresValuesThatAreNoEntry) {
    auto* menu = new COptionMenu({0, 0, 30, 12}, &recorder, 32);
    frame->addView(menu);
    for (const char* entry : {"a", "b", "c"}) {
        menu->addEntry(entry);
    }
    menu->setValue(2.9f);
    EXPECT_EQ(menu->getCurrentIndex(), 2);
    for (float bad : {3.0f, -1.0f, 1e30f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
        menu->setValue(bad);
        EXPECT_EQ(menu->getValue(), 2.9f) << bad;
    }
    menu->setValue(-0.5f); // integer part 0: an entry
    EXPECT_EQ(menu->getCurrentIndex(), 0);

    // A choice outside the entries changes nothing.
    window->scriptChoices({7});
    window->click({5, 5});
    EXPECT_TRUE(recorder.log.empty());
    window->scriptChoices({1});
    window->click({5, 5});
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"begin 32", "value 32 1", "end 32"}));
}

TEST_F(GuiTest, IdleRedrawsOnlyWhatChanged) {
    auto* display = new CParamDisplay({0, 0, 40, 12});
    frame->addView(display);
    auto* other = new CParamDisplay({50, 0, 90, 12});
    frame->addView(other);
    frame->idle(); // the first pass draws everything
    EXPECT_EQ(window->lastDrawnArea(), (CRect{0, 0, 100, 120}));
    const int draws = window->drawCount();
    frame->idle();
    EXPECT_EQ(window->drawCount(), draws);

    display->setValue(0.25f);
    frame->idle();
    EXPECT_EQ(window->drawCount(), draws + 1);
    EXPECT_EQ(window->lastDrawnArea(), (CRect{0, 0, 40, 12}));

    other->setBackColor({255, 0, 0, 255});
    frame->idle();
    EXPECT_EQ(window->lastDrawnArea(), (CRect{50, 0, 90, 12}));
    EXPECT_EQ(window->pixel(51, 1), (CColor{255, 0, 0, 255}));

    // The same value again is no change.
    display->setValue(0.25f);
    frame->idle();
    EXPECT_EQ(window->drawCount(), draws + 2);
}

TEST_F(GuiTest, DisplayTextIsCentredInItsBox) {
    auto* display = new CParamDisplay({0, 0, 60, 20});
    frame->addView(display);
    display->setFont(kNormalFontSmall);
    display->setStringConvert([](float, char* text) { std::snprintf(text, 256, "%s", "88"); });
    frame->idle();
    int left = 60, right = -1, top = 20, bottom = -1;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (window->pixel(x, y).red > 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, left);
    EXPECT_LE(std::abs((left + right) - 59), 2); // centred within a pixel
    EXPECT_LE(std::abs((top + bottom) - 19), 3);
}

TEST_F(GuiTest, KeysAreUsedOnlyByViewsThatWantThem) {
    class KeyView : public CView {
    public:
        using CView::CView;
        void draw(CDrawContext*) override {}
        int onKeyDown(CKeyCode& key) override { return key.character == 'k' ? 1 : -1; }
    };
    CKeyCode other{'x', 0, 0};
    EXPECT_EQ(frame->onKeyDown(other), -1);
    frame->addView(new KeyView({0, 0, 5, 5}));
    EXPECT_EQ(frame->onKeyDown(other), -1);
    CKeyCode used{'k', 0, 0};
    EXPECT_EQ(frame->onKeyDown(used), 1);
    EXPECT_EQ(frame->onKeyUp(used), -1);
}

// The owner lets go of the frame while the frame delivers an event (a slider
// drag, a wheel step, a switch click, a key): the frame lives on until the
// event returns, ends the gestures it began at once, reports nothing more,
// and the tracking loop stops reading the pointer.
TEST(FrameForget, AFrameForgottenDuringAnEventGoesWhenTheEventReturns) {
    // Notes its deletion, so the test sees when the frame holding it goes.
    class DeletionWatch : public CView {
    public:
        explicit DeletionWatch(bool& gone) : CView({99, 119, 100, 120}), gone(gone) {}
        ~DeletionWatch() override { gone = true; }
        void draw(CDrawContext*) override {}

    private:
        bool& gone;
    };
    class KeyView : public CView {
    public:
        KeyView(const CRect& size, Recorder& recorder, const char* name)
            : CView(size), recorder(recorder), name(name) {}
        void draw(CDrawContext*) override {}
        int onKeyDown(CKeyCode&) override {
            recorder.note(name);
            return -1;
        }

    private:
        Recorder& recorder;
        std::string name;
    };
    const struct {
        const char* what;
        const char* forgetAt; // the owner's entry at which it lets go
        std::function<void(CFrame&)> deliver;
        std::vector<std::string> expected;
    } cases[] = {
        {"drag",
         "idle",
         [](CFrame& frame) {
             OffscreenWindow* window = OffscreenWindow::of(&frame);
             window->scriptPointer(
                 {{{15, 65}, kLButton}, {{15, 40}, kLButton}, {{15, 30}, kLButton}, {{15, 30}, 0}});
             window->click({15, 65});
         },
         {"begin 3", "value 3 0.494382", "idle", "end 3"}},
        {"wheel",
         "begin 3",
         [](CFrame& frame) {
             EXPECT_TRUE(frame.onWheel({15, 65}, 1.0f));
         },
         {"begin 3", "end 3"}},
        {"switch",
         "idle",
         [](CFrame& frame) {
             OffscreenWindow::of(&frame)->click({40, 5});
         },
         {"idle"}},
        {"key",
         "key upper",
         [](CFrame& frame) {
             CKeyCode key{'k', 0, 0};
             EXPECT_EQ(frame.onKeyDown(key), -1);
         },
         {"key upper"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorder recorder;
        bool gone = false;
        auto* frame = new CFrame({0, 0, 100, 120}, nullptr, &recorder);
        frame->addView(
            new CVerticalSlider({10, 20, 25, 117}, &recorder, 3, 20, 109, nullptr, nullptr));
        frame->addView(new COnOffButton({35, 0, 50, 15}, &recorder, 16, nullptr));
        frame->addView(new KeyView({60, 0, 70, 10}, recorder, "key lower"));
        frame->addView(new KeyView({70, 0, 80, 10}, recorder, "key upper"));
        frame->addView(new DeletionWatch(gone));
        bool forgotten = false;
        recorder.afterNote = [&](const std::string& entry) {
            if (!forgotten && entry == c.forgetAt) {
                forgotten = true;
                frame->forget();
                EXPECT_FALSE(gone) << "deleted under the running event";
                EXPECT_TRUE(frame->isDetached());
            }
        };
        c.deliver(*frame);
        EXPECT_TRUE(forgotten);
        EXPECT_TRUE(gone) << "deleted when the event returned";
        EXPECT_EQ(recorder.log, c.expected);
    }

    // Outside any event the frame goes at once.
    bool gone = false;
    auto* idleFrame = new CFrame({0, 0, 100, 120}, nullptr, nullptr);
    idleFrame->addView(new DeletionWatch(gone));
    idleFrame->idle();
    idleFrame->forget();
    EXPECT_TRUE(gone);
}

TEST_F(GuiTest, WheelOnASliderIsOneGesture) {
    auto* slider = withBitmap(105, [this](CBitmap* handle) {
        return new CVerticalSlider({10, 20, 25, 117}, &recorder, 3, 20, 109, handle, nullptr);
    });
    slider->setValue(0.95f);
    EXPECT_TRUE(frame->onWheel({15, 50}, 1.0f));
    EXPECT_EQ(slider->getValue(), 1.0f);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"begin 3", "value 3 1", "end 3"}));
    EXPECT_FALSE(frame->onWheel({15, 50}, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(frame->onWheel({90, 5}, 1.0f));
}

} // namespace
