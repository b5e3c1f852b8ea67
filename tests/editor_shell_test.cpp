// The editor shell: size, the editor opcodes, keys, the paced idle pass and
// the OLE set-up around the editor's life.
#include "engine/parameter_ids.h"
#include "gui/cframe.h"
#include "gui/cvertical_slider.h"
#include "tests/editor_fixture.h"

namespace {

using ShellTest = PanelTest;

TEST_F(ShellTest, RectIsThePanelSizeBeforeAnyOpen) {
    EXPECT_EQ(record()->flags, effFlagsHasEditor | effFlagsCanReplacing);
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 210);
    EXPECT_EQ(rect->right, 440);
    // The same address for the editor's whole life.
    openPanel();
    ERect* again = nullptr;
    dispatch(effEditGetRect, 0, 0, &again);
    EXPECT_EQ(again, rect);
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, nullptr), 0);
}

TEST_F(ShellTest, EditorOpcodesWithAndWithoutAWindow) {
    VstKeyCode unused{};
    // Closed: idle and keys touch nothing.
    EXPECT_EQ(dispatch(effEditIdle), 0);
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_FALSE(editor->onKeyDown(unused));
    EXPECT_FALSE(editor->onWheel(1.0f));
    EXPECT_EQ(dispatch(effEditClose), 0);

    EXPECT_EQ(dispatch(effEditOpen, 0, 0, nullptr), 1);
    EXPECT_NE(frame(), nullptr);
    EXPECT_EQ(dispatch(effEditIdle), 0);
    EXPECT_GT(window().drawCount(), 0);
    // No control of the panel uses keys, so the host keeps them.
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);

    for (VstIntPtr mode : {0, 1, 2, -7}) {
        EXPECT_EQ(dispatch(effSetEditKnobMode, 0, mode), 1);
        EXPECT_EQ(editor->getKnobMode(), mode);
    }

    EXPECT_EQ(dispatch(effEditClose), 0);
    EXPECT_EQ(frame(), nullptr);
    EXPECT_FALSE(editor->isOpen());
}

TEST_F(ShellTest, WheelMovesTheSliderUnderTheCursor) {
    openPanel();
    host.clear();
    // Step slider 1 rests at 0; the cursor is over it (offscreen origin 0, 0).
    services.cursorX = 30 + 15 + 5;
    services.cursorY = 100;
    EXPECT_TRUE(editor->onWheel(2.0f));
    EXPECT_FLOAT_EQ(editor->getStepSlider(1)->getValue(), 0.2f);
    EXPECT_EQ(host.count(audioMasterBeginEdit), 1);
    EXPECT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.count(audioMasterEndEdit), 1);
    // Over no control: not used.
    services.cursorX = 5;
    services.cursorY = 5;
    EXPECT_FALSE(editor->onWheel(1.0f));
}

// The paced idle pass, measured from the due time (construction time at first).
TEST_F(ShellTest, IdlePassPacing) {
    openPanel();
    const struct {
        int fromDue; // call time relative to the due time
        bool sleeps;
        bool passes;
    } cases[] = {
        {0, false, true},  {30, false, true},  {-1, true, true},
        {-54, true, true}, {-55, true, false}, {-400, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fromDue);
        // A pass at a known time sets the due time to that time + 100.
        services.now += 100000;
        editor->doIdleStuff();
        const std::uint32_t due = services.now + 100;
        services.now = due + static_cast<std::uint32_t>(c.fromDue);
        host.clear();
        const int sleepsBefore = services.sleeps;
        const int paintsBefore = services.paintDispatches;
        editor->doIdleStuff();
        EXPECT_EQ(services.sleeps - sleepsBefore, c.sleeps ? 1 : 0);
        EXPECT_EQ(services.paintDispatches - paintsBefore, c.passes ? 1 : 0);
        EXPECT_EQ(host.count(audioMasterIdle), c.passes ? 1 : 0);

        // The next pass is due 100 ms after this one (the sleep counted in).
        if (c.passes) {
            const std::uint32_t passTime = services.now + (c.sleeps ? 4 : 0);
            services.now = passTime + 100;
            host.clear();
            editor->doIdleStuff();
            EXPECT_EQ(host.count(audioMasterIdle), 1);
            services.now = passTime + 100 + 99 - 54;
            host.clear();
            editor->doIdleStuff();
            EXPECT_EQ(host.count(audioMasterIdle), 0);
        }
    }
}

// Around the wrap of the 32-bit tick count passes may come more often, but
// never more than one interval apart.
TEST_F(ShellTest, IdlePassesContinueAcrossTheTickWrap) {
    openPanel();
    services.sleepAdvancesClock = true;
    for (std::uint32_t start : {0xFFFFFF00u, 0xFFFFFFC0u, 0xFFFFFFE0u}) {
        SCOPED_TRACE(start);
        services.now = start;
        editor->doIdleStuff(); // a pass when due, else a sleep
        host.clear();
        std::uint32_t lastPass = services.now;
        for (int turn = 0; turn < 200; ++turn) {
            services.now += 3; // a tracking loop's own work between calls
            const int before = host.count(audioMasterIdle);
            editor->doIdleStuff();
            if (host.count(audioMasterIdle) > before) {
                EXPECT_LE(services.now - lastPass, 104u);
                lastPass = services.now;
            }
            ASSERT_LE(services.now - lastPass, 104u) << "no pass for too long at turn " << turn;
        }
    }
}

TEST_F(ShellTest, IdlePassRedrawsOnlyWhenItRuns) {
    openPanel();
    makeIdleDue();
    editor->doIdleStuff();
    const int drawsBefore = window().drawCount();
    // A change, then an early call: no redraw yet.
    record()->setParameter(record(), kParamProbability, 0.25f);
    editor->doIdleStuff();
    EXPECT_EQ(window().drawCount(), drawsBefore);
    makeIdleDue();
    editor->doIdleStuff();
    EXPECT_EQ(window().drawCount(), drawsBefore + 1);
}

TEST_F(ShellTest, NothingIsRedrawnFromInsideTheHostsIdle) {
    openPanel();
    int drawsInside = -1;
    int drawsAfterChange = -1;
    host.onIdle = [&] {
        // The host changes a parameter and idles the editor from its idle request.
        record()->setParameter(record(), kParamProbability, 0.25f);
        drawsAfterChange = window().drawCount();
        dispatch(effEditIdle);
        drawsInside = window().drawCount();
    };
    makeIdleDue();
    editor->doIdleStuff();
    host.onIdle = nullptr;
    EXPECT_EQ(drawsInside, drawsAfterChange);
    const int before = window().drawCount();
    dispatch(effEditIdle);
    EXPECT_EQ(window().drawCount(), before + 1);
}

TEST(EditorLife, OleIsSetUpOnceAndTornDownOncePerEditor) {
    FakeServices services;
    FakeHost host;
    for (bool opened : {false, true}) {
        const int initsBefore = services.oleInits;
        const int uninitsBefore = services.oleUninits;
        AudioEffect* effect = createEffectInstance(&FakeHost::callback);
        ASSERT_NE(effect, nullptr);
        AEffect* record = effect->getAeffect();
        EXPECT_EQ(services.oleInits - initsBefore, 1);
        if (opened) {
            record->dispatcher(record, effEditOpen, 0, 0, nullptr, 0.0f);
            record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
        }
        EXPECT_EQ(services.oleUninits - uninitsBefore, 0);
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        EXPECT_EQ(services.oleUninits - uninitsBefore, 1);
    }
}

TEST(EditorLife, EffectClosedWithThePanelStillOpenFreesEverything) {
    FakeServices services;
    FakeHost host;
    AudioEffect* effect = createEffectInstance(&FakeHost::callback);
    ASSERT_NE(effect, nullptr);
    AEffect* record = effect->getAeffect();
    record->dispatcher(record, effEditOpen, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f); // the sanitizer run checks leaks
    EXPECT_EQ(services.oleUninits, 1);
}

TEST(EditorLife, ShellWithoutAnEffectStillPacesAndPaints) {
    FakeServices services;
    TKEditor editor(nullptr);
    ASSERT_TRUE(editor.open(nullptr));
    EXPECT_EQ(editor.getFrame()->getNbViews(), 41);
    services.now += 1000;
    editor.doIdleStuff();
    EXPECT_EQ(services.paintDispatches, 1);
    EXPECT_GT(OffscreenWindow::of(editor.getFrame())->drawCount(), 0);
    editor.close();
}

TEST(EditorLife, FrameResizeAsksTheHostFirst) {
    FakeServices services;
    FakeHost host;
    AudioEffect* effect = createEffectInstance(&FakeHost::callback);
    ASSERT_NE(effect, nullptr);
    AEffect* record = effect->getAeffect();
    auto* editor = dynamic_cast<TKEditor*>(effect->getEditor());
    ASSERT_TRUE(editor->open(nullptr));

    host.clear();
    EXPECT_FALSE(editor->getFrame()->setSize(500, 300));
    EXPECT_EQ(host.count(audioMasterCanDo), 1);
    EXPECT_EQ(host.count(audioMasterSizeWindow), 0);
    EXPECT_EQ(editor->getFrame()->getViewSize().width(), 440);

    host.canSizeWindow = true;
    host.clear();
    EXPECT_TRUE(editor->getFrame()->setSize(500, 300));
    const auto sized = host.requestsOf({audioMasterSizeWindow});
    ASSERT_EQ(sized.size(), 1u);
    EXPECT_EQ(sized[0].index, 500);
    EXPECT_EQ(sized[0].value, 300);
    EXPECT_EQ(OffscreenWindow::of(editor->getFrame())->width(), 500);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

} // namespace
