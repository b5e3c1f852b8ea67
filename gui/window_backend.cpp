#include "gui/window_backend.h"

#include <atomic>

namespace {
std::atomic<bool> forceOffscreen{false};
}

void setForceOffscreenWindows(bool force) {
    forceOffscreen.store(force);
}

std::unique_ptr<WindowBackend> createWindowBackend(void* parent, const CRect& size,
                                                   FrameEventSink& sink) {
    if (parent != nullptr && !forceOffscreen.load()) {
        if (auto platform = createPlatformWindowBackend(parent, size, sink)) {
            return platform;
        }
    }
    return createOffscreenWindowBackend(size, sink);
}
