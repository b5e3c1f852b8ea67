// A build without a platform window backend: every frame is offscreen.
#include "gui/window_backend.h"

std::unique_ptr<WindowBackend> createPlatformWindowBackend(void* /*parent*/, const CRect& /*size*/,
                                                           FrameEventSink& /*sink*/) {
    return nullptr;
}
