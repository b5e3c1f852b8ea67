#include "tests/editor_fixture.h"

#include "gui/cframe.h"
#include "gui/coption_menu.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

FakeHost* currentHost = nullptr;

FakeServices* fakes(void* context) {
    return static_cast<FakeServices*>(context);
}

} // namespace

FakeHost::FakeHost() {
    currentHost = this;
}
FakeHost::~FakeHost() {
    currentHost = nullptr;
}

VstIntPtr VSTCALLBACK FakeHost::callback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index,
                                         VstIntPtr value, void* ptr, float opt) {
    FakeHost* host = currentHost;
    if (host == nullptr) {
        return 0;
    }
    {
        std::lock_guard lock(host->mutex);
        host->log.push_back({opcode, index, value, opt});
    }
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterCanDo:
        return ptr != nullptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0 &&
                       host->canSizeWindow
                   ? 1
                   : 0;
    case audioMasterSizeWindow:
        return host->canSizeWindow ? 1 : 0;
    case audioMasterIdle:
        if (host->onIdle) {
            host->onIdle();
        }
        return 0;
    default:
        return 0;
    }
}

std::vector<HostRequest> FakeHost::requests() const {
    std::lock_guard lock(mutex);
    return log;
}

std::vector<HostRequest> FakeHost::requestsOf(std::initializer_list<VstInt32> opcodes) const {
    std::vector<HostRequest> picked;
    for (const HostRequest& request : requests()) {
        if (std::find(opcodes.begin(), opcodes.end(), request.opcode) != opcodes.end()) {
            picked.push_back(request);
        }
    }
    return picked;
}

void FakeHost::clear() {
    std::lock_guard lock(mutex);
    log.clear();
}

int FakeHost::count(VstInt32 opcode) const {
    return static_cast<int>(requestsOf({opcode}).size());
}

FakeServices::FakeServices() {
    platform::Services s;
    s.context = this;
    s.tickCount = [](void* c) { return fakes(c)->now; };
    s.sleep = [](void* c, std::uint32_t ms) {
        ++fakes(c)->sleeps;
        if (fakes(c)->sleepAdvancesClock) {
            fakes(c)->now += ms;
        }
    };
    s.dispatchOnePaintEvent = [](void* c) {
        ++fakes(c)->paintDispatches;
        return false;
    };
    s.cursorPosition = [](void* c, int& x, int& y) {
        x = fakes(c)->cursorX;
        y = fakes(c)->cursorY;
        return true;
    };
    s.oleInitialize = [](void* c) { ++fakes(c)->oleInits; };
    s.oleUninitialize = [](void* c) { ++fakes(c)->oleUninits; };
    platform::setServices(s);
}

FakeServices::~FakeServices() {
    platform::resetServices();
}

void PanelTest::SetUp() {
    effect = createEffectInstance(&FakeHost::callback);
    ASSERT_NE(effect, nullptr);
    editor = dynamic_cast<TKEditor*>(effect->getEditor());
    ASSERT_NE(editor, nullptr);
}

void PanelTest::TearDown() {
    if (effect != nullptr) {
        dispatch(effEditClose);
        dispatch(effClose); // deletes the effect and its editor
        effect = nullptr;
        editor = nullptr;
    }
}

VstIntPtr PanelTest::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
    return record()->dispatcher(record(), opcode, index, value, ptr, opt);
}

void PanelTest::openPanel() {
    ASSERT_EQ(dispatch(effEditOpen), 1);
    ASSERT_NE(frame(), nullptr);
    ASSERT_NE(OffscreenWindow::of(frame()), nullptr);
    dispatch(effEditIdle);
}

OffscreenWindow& PanelTest::window() const {
    return *OffscreenWindow::of(frame());
}

void PanelTest::clickAndIdle(CPoint where) {
    window().click(where);
    dispatch(effEditIdle);
}

std::string shownText(CParamDisplay* display) {
    if (auto* menu = dynamic_cast<COptionMenu*>(display)) {
        const char* entry = menu->getEntry(menu->getCurrentIndex());
        return entry != nullptr ? entry : "";
    }
    char text[256];
    display->getText(text);
    return text;
}
