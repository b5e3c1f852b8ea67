// The editor in a real X11 window: the built plug-in module, loaded as a host
// loads it, opens its panel in a host's top-level window on a private Xvfb
// server; the pointer is moved with xdotool while the host idles the editor.
// GoogleTest before Xlib: Xlib's macros None and Bool clash with its names.
// clang-format off
#include <gtest/gtest.h>
#include "tests/x11_test_support.h"
// clang-format on

#include "editor/aeff_gui_editor.h"
#include "gui/cairo-x11/x11_window.h"
#include "gui/cbitmap.h"
#include "gui/cframe.h"
#include "gui/con_off_button.h"
#include "gui/cvertical_slider.h"
#include "host/audio_effect.h"
#include "platform/services.h"
#include "tests/recording_frame_owner.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using hosting::HostedPlugin;
using hosting::PluginModule;
using hosting::Request;
using x11test::childrenOf;
using x11test::PanelTwin;
using x11test::Pixels;

constexpr int kWidth = 440;
constexpr int kHeight = 210;
constexpr int kHostX = 40;
constexpr int kHostY = 30;

// The gesture requests for one parameter, in order.
std::vector<Request> gestureOf(const std::vector<Request>& requests, int index) {
    std::vector<Request> gesture;
    for (const Request& r : requests) {
        const bool edit = r.opcode == audioMasterBeginEdit || r.opcode == audioMasterEndEdit ||
                          r.opcode == audioMasterAutomate;
        if (edit && r.index == index) {
            gesture.push_back(r);
        }
    }
    return gesture;
}

std::string point(int x, int y) {
    return std::to_string(x) + " " + std::to_string(y);
}

CPoint centreOf(const CRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        server = x11test::XvfbServer::start();
        if (server == nullptr) {
            GTEST_SKIP() << "Xvfb is not installed or did not start";
        }
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        std::string error;
        module = PluginModule::load(TARVOKIN_MODULE_PATH, &error);
        ASSERT_NE(module, nullptr) << error;
        plugin = makePlugin();
        host = makeHostWindow(kHostX, kHostY);
    }

    void TearDown() override {
        for (auto* p : {plugin.get(), second.get()}) {
            if (p != nullptr && p->effect() != nullptr) {
                p->dispatch(effEditClose);
            }
        }
        second.reset();
        plugin.reset();
        module.reset();
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }

    std::unique_ptr<HostedPlugin> makePlugin() {
        std::string error;
        auto made = HostedPlugin::create(*module, {}, &error);
        EXPECT_NE(made, nullptr) << error;
        return made;
    }

    // A top-level window as a host makes one for the editor.
    Window makeHostWindow(int x, int y) {
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, kWidth,
                                                  kHeight, 0, 0, 0x303030);
        XStoreName(display, window, "Test host");
        XMapWindow(display, window);
        XSync(display, False);
        return window;
    }

    // Opens the editor in parent and answers its one child window.
    Window openEditor(HostedPlugin& p, Window parent) {
        EXPECT_EQ(p.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 1);
        x11test::idleFor(p, 4);
        const auto children = childrenOf(display, parent);
        EXPECT_EQ(children.size(), 1u);
        return children.empty() ? 0 : children.front();
    }

    Pixels windowPixels(Window window) {
        return x11test::readPixels(display, window, kWidth, kHeight);
    }

    // The window shows what the offscreen twin shows: the same drawing code
    // on the same fonts, so at most a few text pixels may differ slightly.
    void expectSamePicture(const Pixels& shown, PanelTwin& twin, const std::string& what) {
        const Pixels expected = twin.pixels();
        ASSERT_EQ(shown.width, expected.width);
        ASSERT_EQ(shown.height, expected.height);
        const auto difference = x11test::compare(shown, expected, {0, 0, kWidth, kHeight});
        EXPECT_LE(difference.pixels, kWidth * kHeight / 500) << what;
        EXPECT_LE(difference.largest, 64) << what;
    }

    bool havePointerTool() {
        if (!x11test::haveProgram("xdotool")) {
            return false;
        }
        return true;
    }

    std::unique_ptr<x11test::XvfbServer> server;
    Display* display = nullptr;
    std::unique_ptr<PluginModule> module;
    std::unique_ptr<HostedPlugin> plugin;
    std::unique_ptr<HostedPlugin> second;
    Window host = 0;
};

TEST_F(X11Editor, ChildWindowIsThePanelSizeAndShowsTheOffscreenPicture) {
    const Window child = openEditor(*plugin, host);
    ASSERT_NE(child, 0u);
    XWindowAttributes attributes;
    ASSERT_NE(XGetWindowAttributes(display, child, &attributes), 0);
    EXPECT_EQ(attributes.width, kWidth);
    EXPECT_EQ(attributes.height, kHeight);
    EXPECT_EQ(attributes.map_state, IsViewable);

    const Pixels shown = windowPixels(child);
    ASSERT_TRUE(x11test::writePng(shown, x11test::artifactPath("x11_panel_default.png")));
    PanelTwin twin;
    expectSamePicture(shown, twin, "default program");
}

TEST_F(X11Editor, ExposedPartsAreRedrawnFromThePanel) {
    const Window child = openEditor(*plugin, host);
    ASSERT_NE(child, 0u);
    // Another window over the editor, then gone: the server asks for a repaint.
    const Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), kHostX + 50,
                                             kHostY + 40, 200, 100, 0, 0, 0xFF00FF);
    XMapRaised(display, cover);
    XSync(display, False);
    x11test::idleFor(*plugin, 3);
    XDestroyWindow(display, cover);
    XSync(display, False);
    x11test::idleFor(*plugin, 5);
    PanelTwin twin;
    expectSamePicture(windowPixels(child), twin, "after expose");
}

TEST_F(X11Editor, DraggingDurationFromTopToBottomAutomatesDownToZero) {
    if (!havePointerTool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    const Window child = openEditor(*plugin, host);
    ASSERT_NE(child, 0u);
    PanelTwin twin;
    const CRect slider = twin.controlRect(35);
    ASSERT_FALSE(slider.isEmpty());
    plugin->clearRequests();
    const int x = kHostX + centreOf(slider).x;
    x11test::runWhileIdling(*plugin, [&] {
        x11test::xdotool("mousemove " + point(x, kHostY + slider.top + 4));
        x11test::xdotool("mousedown 1");
        for (int y = slider.top + 4; y <= slider.bottom + 30; y += 8) {
            x11test::xdotool("mousemove " + point(x, kHostY + y));
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
        x11test::xdotool("mouseup 1");
    });

    const auto gesture = gestureOf(plugin->requests(), 35);
    ASSERT_GE(gesture.size(), 4u);
    EXPECT_EQ(gesture.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(gesture.back().opcode, audioMasterEndEdit);
    float previous = 1.0f;
    int automates = 0;
    for (std::size_t i = 1; i + 1 < gesture.size(); ++i) {
        ASSERT_EQ(gesture[i].opcode, audioMasterAutomate) << "one gesture, no nesting";
        EXPECT_LE(gesture[i].opt, previous);
        previous = gesture[i].opt;
        ++automates;
    }
    EXPECT_GE(automates, 2);
    EXPECT_EQ(previous, 0.0f);
    EXPECT_EQ(plugin->getParameter(35), 0.0f);

    twin.setParameter(35, 0.0f); // the slider at the bottom, the display reading "0"
    const Pixels shown = windowPixels(child);
    x11test::writePng(shown, x11test::artifactPath("x11_duration_dragged.png"));
    expectSamePicture(shown, twin, "duration at 0");
}

TEST_F(X11Editor, ClickingALegatoSwitchAutomatesOneAndDrawsItOn) {
    if (!havePointerTool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    const Window child = openEditor(*plugin, host);
    ASSERT_NE(child, 0u);
    PanelTwin twin;
    const CRect legato = twin.controlRect(16 + 3);
    ASSERT_FALSE(legato.isEmpty());
    plugin->clearRequests();
    const CPoint c = centreOf(legato);
    x11test::runWhileIdling(*plugin, [&] {
        x11test::xdotool("mousemove " + point(kHostX + c.x, kHostY + c.y) + " click 1");
    });
    const auto gesture = gestureOf(plugin->requests(), 19);
    ASSERT_EQ(gesture.size(), 3u);
    EXPECT_EQ(gesture[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(gesture[1].opcode, audioMasterAutomate);
    EXPECT_EQ(gesture[1].opt, 1.0f);
    EXPECT_EQ(gesture[2].opcode, audioMasterEndEdit);
    twin.setParameter(19, 1.0f);
    expectSamePicture(windowPixels(child), twin, "legato 4 on");
}

TEST_F(X11Editor, StepMenuPopupChoosesTwelveAndDismissesWithoutChange) {
    if (!havePointerTool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    const Window child = openEditor(*plugin, host);
    ASSERT_NE(child, 0u);
    PanelTwin twin;
    const CPoint menu = centreOf(twin.controlRect(32));
    const std::string onMenu = point(kHostX + menu.x, kHostY + menu.y);

    // Escape, then a click far outside: the list goes away, nothing changes.
    plugin->clearRequests();
    bool listSeen = false;
    x11test::runWhileIdling(*plugin, [&] {
        CRect list;
        x11test::xdotool("mousemove " + onMenu + " click 1");
        listSeen = x11test::findWindowByName("Tarvokin menu", list);
        x11test::xdotool("key Escape");
        x11test::xdotool("mousemove " + onMenu + " click 1");
        listSeen = listSeen && x11test::findWindowByName("Tarvokin menu", list);
        x11test::xdotool("mousemove 1000 700 click 1");
    });
    EXPECT_TRUE(listSeen);
    EXPECT_TRUE(gestureOf(plugin->requests(), 32).empty());
    EXPECT_FLOAT_EQ(plugin->getParameter(32), 7.0f / 15.0f);

    // Open it again and pick the twelfth entry, "12".
    plugin->clearRequests();
    CRect list;
    bool found = false;
    Pixels withList;
    x11test::runWhileIdling(*plugin, [&] {
        x11test::xdotool("mousemove " + onMenu + " click 1");
        found = x11test::findWindowByName("Tarvokin menu", list);
        if (!found) {
            return;
        }
        const int rowHeight = (list.height() - 2) / 16;
        const int y = list.top + 1 + 11 * rowHeight + rowHeight / 2;
        x11test::xdotool("mousemove " + point(list.left + list.width() / 2, y));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        if (Display* own = XOpenDisplay(nullptr)) { // this thread's own connection
            withList = x11test::readPixels(own, DefaultRootWindow(own), 1024, 768);
            XCloseDisplay(own);
        }
        x11test::xdotool("click 1");
    });
    ASSERT_TRUE(found) << "the pop-up list did not appear";
    EXPECT_EQ(list.top, kHostY + twin.controlRect(32).bottom) << "just below the menu";
    if (withList.width > 0) {
        x11test::writePng(withList, x11test::artifactPath("x11_step_menu_open.png"));
    }
    const auto gesture = gestureOf(plugin->requests(), 32);
    ASSERT_EQ(gesture.size(), 3u);
    EXPECT_EQ(gesture[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(gesture[1].opcode, audioMasterAutomate);
    EXPECT_FLOAT_EQ(gesture[1].opt, 11.0f / 15.0f);
    EXPECT_EQ(gesture[2].opcode, audioMasterEndEdit);
    // The list is gone and its grabs are given back: another client can grab.
    EXPECT_FALSE(x11test::findWindowByName("Tarvokin menu", list, 1));
    EXPECT_EQ(XGrabPointer(display, host, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0,
                           0, CurrentTime),
              GrabSuccess);
    EXPECT_EQ(XGrabKeyboard(display, host, False, GrabModeAsync, GrabModeAsync, CurrentTime),
              GrabSuccess);
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    XSync(display, False);

    twin.setParameter(32, 11.0f / 15.0f); // handles 0-11 green, the menu reads "12"
    const Pixels shown = windowPixels(child);
    x11test::writePng(shown, x11test::artifactPath("x11_step_12.png"));
    expectSamePicture(shown, twin, "step count 12");
}

TEST_F(X11Editor, WheelOverASliderReachesIt) {
    if (!havePointerTool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    ASSERT_NE(openEditor(*plugin, host), 0u);
    PanelTwin twin;
    const CPoint c = centreOf(twin.controlRect(37));
    plugin->clearRequests();
    x11test::runWhileIdling(*plugin, [&] {
        x11test::xdotool("mousemove " + point(kHostX + c.x, kHostY + c.y) + " click 5");
    });
    const auto gesture = gestureOf(plugin->requests(), 37);
    ASSERT_EQ(gesture.size(), 3u) << "the wheel reaches the Output slider as one gesture";
    EXPECT_EQ(gesture[0].opcode, audioMasterBeginEdit);
    EXPECT_LT(gesture[1].opt, 1.0f) << "wheel towards the user lowers the slider";
    EXPECT_EQ(gesture[2].opcode, audioMasterEndEdit);
}

TEST_F(X11Editor, ReopeningWithOrWithoutCloseLeavesOneWindow) {
    const Window first = openEditor(*plugin, host);
    ASSERT_NE(first, 0u);
    plugin->dispatch(effEditClose);
    plugin->dispatch(effEditIdle); // idle with the editor closed does nothing
    XSync(display, False);
    EXPECT_TRUE(childrenOf(display, host).empty());

    const Window again = openEditor(*plugin, host);
    ASSERT_NE(again, 0u);
    // A second open without a close replaces the window.
    const Window replaced = openEditor(*plugin, host);
    ASSERT_NE(replaced, 0u);
    EXPECT_EQ(childrenOf(display, host).size(), 1u);
    PanelTwin twin;
    expectSamePicture(windowPixels(replaced), twin, "reopened");
}

TEST_F(X11Editor, HundredOpenCloseCyclesLeaveNoWindowsBehind) {
    const auto rootWindowsBefore = childrenOf(display, DefaultRootWindow(display)).size();
    for (int cycle = 0; cycle < 100; ++cycle) {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)), 1);
        plugin->dispatch(effEditIdle);
        XSync(display, False);
        ASSERT_EQ(childrenOf(display, host).size(), 1u) << "cycle " << cycle;
        plugin->dispatch(effEditClose);
        XSync(display, False);
        ASSERT_TRUE(childrenOf(display, host).empty()) << "cycle " << cycle;
    }
    EXPECT_EQ(childrenOf(display, DefaultRootWindow(display)).size(), rootWindowsBefore);
}

TEST_F(X11Editor, TwoInstancesWithEditorsOpenWorkIndependently) {
    if (!havePointerTool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    second = makePlugin();
    ASSERT_NE(second, nullptr);
    const Window otherHost = makeHostWindow(kHostX, kHostY + kHeight + 20);
    const Window a = openEditor(*plugin, host);
    const Window b = openEditor(*second, otherHost);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    PanelTwin twin;
    const CPoint c = centreOf(twin.controlRect(16));
    plugin->clearRequests();
    second->clearRequests();
    // The second instance's switch: only the second host hears about it.
    std::atomic<bool> done{false};
    std::thread mover([&] {
        x11test::xdotool("mousemove " + point(kHostX + c.x, kHostY + kHeight + 20 + c.y) +
                         " click 1");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        done.store(true);
    });
    while (!done.load()) {
        plugin->dispatch(effEditIdle);
        second->dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    mover.join();
    for (int i = 0; i < 5; ++i) {
        plugin->dispatch(effEditIdle);
        second->dispatch(effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(gestureOf(plugin->requests(), 16).empty());
    const auto gesture = gestureOf(second->requests(), 16);
    ASSERT_EQ(gesture.size(), 3u);
    EXPECT_EQ(gesture[1].opt, 1.0f);
    EXPECT_EQ(plugin->getParameter(16), 0.0f);

    // Closing one leaves the other working on the shared connection.
    plugin->dispatch(effEditClose);
    x11test::idleFor(*second, 2);
    PanelTwin onTwin;
    onTwin.setParameter(16, 1.0f);
    expectSamePicture(windowPixels(b), onTwin, "second instance after the first closed");
}

int hostErrors = 0;
int countHostError(Display* /*display*/, XErrorEvent* /*error*/) {
    ++hostErrors;
    return 0;
}

TEST_F(X11Editor, HostDestroyingItsWindowBeforeCloseDoesNotHurtTheHost) {
    hostErrors = 0;
    XSetErrorHandler(&countHostError);
    ASSERT_NE(openEditor(*plugin, host), 0u);
    XDestroyWindow(display, host);
    XSync(display, False);
    // Every later call meets a window that is gone.
    x11test::idleFor(*plugin, 3);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    plugin->dispatch(effEditClose);
    plugin->dispatch(effEditIdle);
    // The plug-in's errors stayed on its own connection, and the host's
    // handler is in place again.
    EXPECT_EQ(XSetErrorHandler(nullptr), &countHostError);
    EXPECT_EQ(hostErrors, 0);
    // The editor opens again in a new window afterwards.
    host = makeHostWindow(kHostX, kHostY);
    EXPECT_NE(openEditor(*plugin, host), 0u);
}

TEST_F(X11Editor, AParentThatIsNoWindowGivesAnOffscreenEditor) {
    const auto rootWindowsBefore = childrenOf(display, DefaultRootWindow(display)).size();
    const auto bogus = reinterpret_cast<void*>(std::uintptr_t{0x7FFFFF0});
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, bogus), 1);
    x11test::idleFor(*plugin, 2);
    plugin->dispatch(effEditClose);
    XSync(display, False);
    EXPECT_EQ(childrenOf(display, DefaultRootWindow(display)).size(), rootWindowsBefore);
    EXPECT_TRUE(childrenOf(display, host).empty());
}

void ignoreLostConnection(Display* /*display*/, void* /*data*/) {}
int returnFromIoError(Display* /*display*/) {
    return 0;
}

// A button event as the host hands it to the _XEventProc function.
XEvent buttonPress(Display* display, Window window, CPoint where, unsigned button, Time time) {
    XEvent press{};
    press.xbutton.type = ButtonPress;
    press.xbutton.display = display;
    press.xbutton.window = window;
    press.xbutton.x = where.x;
    press.xbutton.y = where.y;
    press.xbutton.button = button;
    press.xbutton.time = time;
    return press;
}

// An expose of a whole panel-sized window, as the host hands it on.
XEvent wholeExpose(Display* display, Window window) {
    XEvent expose{};
    expose.xexpose.type = Expose;
    expose.xexpose.display = display;
    expose.xexpose.window = window;
    expose.xexpose.width = kWidth;
    expose.xexpose.height = kHeight;
    return expose;
}

TEST_F(X11Editor, LosingTheServerLeavesTheHostRunning) {
    // The test's own connection breaks too; as a host it survives that itself.
    const XIOErrorHandler hostIoHandler = XSetIOErrorHandler(&returnFromIoError);
    XSetIOErrorExitHandler(display, &ignoreLostConnection, nullptr);
    ASSERT_NE(openEditor(*plugin, host), 0u);
    server.reset(); // the X server goes away with the editor open
    x11test::idleFor(*plugin, 3);
    plugin->dispatch(effEditClose);
    plugin->dispatch(effEditIdle);
    // Without a server the editor still opens, offscreen.
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host)), 1);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(XSetIOErrorHandler(hostIoHandler), &returnFromIoError) << "handler restored";
    XSetIOErrorHandler(&returnFromIoError); // for closing the test's connection
}

TEST_F(X11Editor, EventProcPropertyHandlesEventsTheHostForwards) {
    const Window child = openEditor(*plugin, host);
    ASSERT_NE(child, 0u);
    const Atom atom = XInternAtom(display, "_XEventProc", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(display, child, atom, 0, 2, False, AnyPropertyType, &type, &format,
                                 &count, &after, &data),
              Success);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(format, 32);
    ASSERT_EQ(count, sizeof(void*) / 4) << "32-bit items, low half first";
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    std::uintptr_t address = items[0] & 0xFFFFFFFFu;
    if (count == 2) {
        address |= static_cast<std::uintptr_t>(items[1] & 0xFFFFFFFFu) << 32;
    }
    XFree(data);
    auto* eventProc = reinterpret_cast<void (*)(XEvent*)>(address);
    ASSERT_NE(eventProc, nullptr);

    // A host delivers a click on legato switch 1 through the function.
    PanelTwin twin;
    const CPoint c = centreOf(twin.controlRect(16));
    plugin->clearRequests();
    XEvent press = buttonPress(display, child, c, Button1, 12345);
    eventProc(&press);
    eventProc(&press); // the same press again (it also came through the queue) counts once
    const auto gesture = gestureOf(plugin->requests(), 16);
    ASSERT_EQ(gesture.size(), 3u);
    EXPECT_EQ(gesture[1].opt, 1.0f);

    XEvent expose = wholeExpose(display, child);
    eventProc(&expose);
    XEvent foreign = expose;
    foreign.xexpose.window = host; // not an editor window: ignored
    eventProc(&foreign);
    eventProc(nullptr);
    twin.setParameter(16, 1.0f);
    expectSamePicture(windowPixels(child), twin, "legato 1 through the event function");
}

// Counts how often the frame draws it.
class PaintCounter : public CView {
public:
    PaintCounter(const CRect& size, int& paints) : CView(size), paints(paints) {}
    void draw(CDrawContext*) override { ++paints; }

private:
    int& paints;
};

// While a switch click delivered through _XEventProc runs, the host hands over
// a press on another switch, a wheel step and an expose: only the expose is
// handled then. The press and the wheel step are not taken as seen, so the
// same events handed over after the gesture are handled normally.
TEST_F(X11Editor, EventProcInputInsideAGestureIsDroppedExceptExposes) {
    guitest::Recorder owner;
    int paints = 0;
    CFrame frame({0, 0, kWidth, kHeight}, reinterpret_cast<void*>(host), &owner);
    frame.addView(new COnOffButton({0, 0, 20, 20}, &owner, 1, nullptr));
    frame.addView(new COnOffButton({30, 0, 50, 20}, &owner, 2, nullptr));
    auto* slider = new CVerticalSlider({60, 0, 80, 100}, &owner, 3, 0, 90, nullptr, nullptr);
    frame.addView(slider);
    frame.addView(new PaintCounter({100, 0, 120, 20}, paints));
    frame.idle();
    XSync(display, False);
    const auto children = childrenOf(display, host);
    ASSERT_EQ(children.size(), 1u) << "the frame has a real window";
    const Window child = children.front();

    XEvent first = buttonPress(display, child, {10, 10}, Button1, 100);
    XEvent other = buttonPress(display, child, {40, 10}, Button1, 101);
    XEvent wheel = buttonPress(display, child, {70, 50}, Button4, 102);
    XEvent expose = wholeExpose(display, child);
    int paintsInside = -1;
    // The first idle pass, inside the gesture, is where the host hands on more.
    owner.afterNote = [&, handed = false](const std::string& entry) mutable {
        if (entry != "idle" || std::exchange(handed, true)) {
            return;
        }
        const int before = paints;
        tarvokinX11EventProc(&other);
        tarvokinX11EventProc(&wheel);
        tarvokinX11EventProc(&expose);
        paintsInside = paints - before;
    };
    tarvokinX11EventProc(&first);
    EXPECT_EQ(owner.log, (std::vector<std::string>{"idle", "begin 1", "value 1 1", "end 1"}));
    EXPECT_EQ(paintsInside, 1);
    EXPECT_EQ(slider->getValue(), 0.0f);

    owner.log.clear();
    tarvokinX11EventProc(&other);
    tarvokinX11EventProc(&wheel);
    EXPECT_EQ(owner.log, (std::vector<std::string>{"idle", "begin 2", "value 2 1", "end 2",
                                                   "begin 3", "value 3 0.1", "end 3"}));
}

AEffect* closeOnIdleOf = nullptr;
std::vector<VstInt32> closingHostRequests;

// A host that closes the editor of closeOnIdleOf from its idle callback, once.
VstIntPtr VSTCALLBACK closingHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/,
                                  VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/) {
    closingHostRequests.push_back(opcode);
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    if (opcode == audioMasterIdle && closeOnIdleOf != nullptr) {
        AEffect* effect = std::exchange(closeOnIdleOf, nullptr);
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    }
    return 0;
}

// The panel in a real window, in this process: a switch click handed over
// through _XEventProc runs the host's idle, and the host closes the editor
// there. The window goes when the click returns, nothing of the click reaches
// the host, and the editor opens again in a new window.
TEST_F(X11Editor, HostClosingTheEditorDuringAnEventProcClickRemovesTheWindow) {
    CRect legato;
    {
        PanelTwin twin;
        legato = twin.controlRect(16);
    }
    AudioEffect* effect = createEffectInstance(&closingHost);
    ASSERT_NE(effect, nullptr);
    AEffect* record = effect->getAeffect();
    auto* editor = dynamic_cast<AEffGUIEditor*>(effect->getEditor());
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(record->dispatcher(record, effEditOpen, 0, 0, reinterpret_cast<void*>(host), 0.0f),
              1);
    XSync(display, False);
    auto children = childrenOf(display, host);
    ASSERT_EQ(children.size(), 1u);

    closingHostRequests.clear();
    closeOnIdleOf = record;
    XEvent click = buttonPress(display, children.front(), centreOf(legato), Button1, 777);
    tarvokinX11EventProc(&click);
    EXPECT_EQ(closeOnIdleOf, nullptr) << "the click ran the host's idle";
    EXPECT_EQ(editor->getFrame(), nullptr);
    for (VstInt32 opcode : closingHostRequests) {
        EXPECT_NE(opcode, audioMasterBeginEdit);
        EXPECT_NE(opcode, audioMasterAutomate);
        EXPECT_NE(opcode, audioMasterEndEdit);
    }
    EXPECT_EQ(record->getParameter(record, 16), 0.0f);
    XSync(display, False);
    EXPECT_TRUE(childrenOf(display, host).empty());
    tarvokinX11EventProc(&click); // its window is gone: nobody takes it

    ASSERT_EQ(record->dispatcher(record, effEditOpen, 0, 0, reinterpret_cast<void*>(host), 0.0f),
              1);
    XSync(display, False);
    EXPECT_EQ(childrenOf(display, host).size(), 1u);
    ASSERT_NE(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getFrame()->getNbViews(), 41);
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

// Without an X server the editor still opens (offscreen: nothing on screen).
TEST(X11EditorWithoutServer, OpensOffscreenWithNoDisplayOrAnUnreachableOne) {
    std::string error;
    auto module = PluginModule::load(TARVOKIN_MODULE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    for (const char* displayName : {static_cast<const char*>(nullptr), ":4093"}) {
        if (displayName == nullptr) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", displayName, 1);
        }
        auto plugin = HostedPlugin::create(*module, {}, &error);
        ASSERT_NE(plugin, nullptr) << error;
        EXPECT_EQ(
            plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{0x1234})),
            1);
        plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
        plugin->dispatch(effEditIdle);
    }
}

} // namespace

// The platform's "one pending paint event" on X11, in this process: a frame
// of the GUI library in a real window, exposed by a window passing over it.
TEST_F(X11Editor, PaintServiceTakesOneExposeOfOurWindowsAtATime) {
    auto* background = new CBitmap(103);
    {
        CFrame frame({0, 0, kWidth, kHeight}, reinterpret_cast<void*>(host), nullptr);
        frame.setBackground(background);
        background->forget();
        frame.idle();
        const auto children = childrenOf(display, host);
        ASSERT_EQ(children.size(), 1u) << "the frame has a real window";
        const Window child = children.front();
        EXPECT_FALSE(platform::dispatchOnePaintEvent()) << "nothing pending";

        const Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), kHostX + 20,
                                                 kHostY + 20, 100, 60, 0, 0, 0xFF00FF);
        XMapRaised(display, cover);
        XSync(display, False);
        XDestroyWindow(display, cover);
        XSync(display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        int handled = 0;
        while (platform::dispatchOnePaintEvent() && handled < 100) {
            ++handled;
        }
        EXPECT_GE(handled, 1);
        const Pixels shown = windowPixels(child);
        int magenta = 0;
        for (std::uint32_t pixel : shown.rgb) {
            magenta += pixel == 0xFF00FFu ? 1 : 0;
        }
        EXPECT_EQ(magenta, 0) << "the exposed part is painted again";
    }
    XSync(display, False);
    EXPECT_TRUE(childrenOf(display, host).empty());
    EXPECT_FALSE(platform::dispatchOnePaintEvent()) << "no window, no connection";
}

TEST_F(X11Editor, KeysThePanelDoesNotUseReachTheHostsWindow) {
    if (!havePointerTool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    XSelectInput(display, host, KeyPressMask);
    ASSERT_NE(openEditor(*plugin, host), 0u);
    plugin->clearRequests();
    x11test::runWhileIdling(*plugin, [&] {
        // The focus follows the pointer (no window manager): the key goes
        // to the editor's window first.
        x11test::xdotool("mousemove " + point(kHostX + 200, kHostY + 100) + " key space");
    });
    XSync(display, False);
    XEvent event;
    ASSERT_TRUE(XCheckTypedWindowEvent(display, host, KeyPress, &event));
    EXPECT_EQ(XLookupKeysym(&event.xkey, 0), static_cast<KeySym>(XK_space));
}
