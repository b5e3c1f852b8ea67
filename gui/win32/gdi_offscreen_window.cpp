// The Windows offscreen backend: a frame without a window (no parent, or the
// window could not be made) draws into a GDI back buffer that nobody shows.
// It has no pointer and no pop-up list, so controls stay where they are.
#include "gui/win32/gdi_draw_surface.h"
#include "gui/window_backend.h"

#include <algorithm>

namespace {

class GdiOffscreenWindow final : public WindowBackend {
public:
    explicit GdiOffscreenWindow(const CRect& size)
        : surface(std::make_unique<GdiDrawSurface>(std::max(size.width(), 1),
                                                   std::max(size.height(), 1))) {}

    DrawSurface& beginDraw() override { return *surface; }
    void endDraw(const CRect& /*changed*/) override {}
    PointerState readPointer() override { return PointerState{}; } // no button held
    int choose(const std::vector<std::string>& /*entries*/, int /*current*/,
               const CRect& /*anchor*/) override {
        return -1;
    }
    CPoint screenOrigin() override { return {}; }
    bool resize(int width, int height) override {
        if (width <= 0 || height <= 0) {
            return false;
        }
        surface = std::make_unique<GdiDrawSurface>(width, height);
        return true;
    }

private:
    std::unique_ptr<GdiDrawSurface> surface;
};

} // namespace

std::unique_ptr<WindowBackend> createOffscreenWindowBackend(const CRect& size,
                                                            FrameEventSink& /*sink*/) {
    return std::make_unique<GdiOffscreenWindow>(size);
}
