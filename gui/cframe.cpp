#include "gui/cframe.h"

#include "gui/cbitmap.h"
#include "gui/cdraw_context.h"
#include "gui/cview.h"
#include "gui/draw_surface.h"

CFrame::CFrame(const CRect& size, void* systemWindow, CFrameOwner* owner)
    : size(size), systemWindow(systemWindow), owner(owner),
      window(createWindowBackend(systemWindow, size, *this)) {}

CFrame::~CFrame() {
    // Views first (they hold bitmaps), newest first; then the window.
    while (!views.empty()) {
        views.pop_back();
    }
    if (background != nullptr) {
        background->forget();
    }
}

void CFrame::setBackground(CBitmap* bitmap) {
    if (bitmap == background) {
        return;
    }
    if (bitmap != nullptr) {
        bitmap->remember();
    }
    if (background != nullptr) {
        background->forget();
    }
    background = bitmap;
    fullRedrawPending = true;
}

bool CFrame::addView(CView* view) {
    if (view == nullptr) {
        return false;
    }
    std::unique_ptr<CView> owned(view);
    try {
        views.push_back(std::move(owned));
    } catch (...) {
        return false; // owned deletes the view
    }
    view->setFrame(this);
    view->setDirty(true);
    return true;
}

CView* CFrame::getView(int index) const {
    if (index < 0 || index >= getNbViews()) {
        return nullptr;
    }
    return views[static_cast<std::size_t>(index)].get();
}

CView* CFrame::getViewAt(CPoint where) const {
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        if ((*it)->getViewSize().pointInside(where)) {
            return it->get();
        }
    }
    return nullptr;
}

void CFrame::drawArea(const CRect& area) {
    DrawSurface& surface = window->beginDraw();
    CDrawContext context(this, &surface);
    if (background != nullptr) {
        context.drawBitmap(background, area, {area.left - size.left, area.top - size.top});
    }
    for (const auto& view : views) {
        if (!view->getViewSize().intersected(area).isEmpty()) {
            view->redraw(&context);
        }
    }
    window->endDraw(area);
}

void CFrame::idle() {
    // A delivered event may run a tracking loop that idles the frame again:
    // events are not taken from inside an event.
    if (!polling) {
        polling = true;
        window->pollEvents();
        polling = false;
    }
    if (fullRedrawPending) {
        fullRedrawPending = false;
        drawArea({0, 0, size.width(), size.height()});
        return;
    }
    CRect changed;
    bool anyDirty = false;
    for (const auto& view : views) {
        if (view->isDirty()) {
            changed = changed.united(view->getViewSize());
            anyDirty = true;
        }
    }
    if (!anyDirty) {
        return;
    }
    DrawSurface& surface = window->beginDraw();
    CDrawContext context(this, &surface);
    for (const auto& view : views) {
        if (view->isDirty()) {
            // The background first, so a view that draws nothing leaves no trace.
            const CRect& area = view->getViewSize();
            if (background != nullptr) {
                context.drawBitmap(background, area, {area.left - size.left, area.top - size.top});
            }
            view->redraw(&context);
        }
    }
    window->endDraw(changed);
}

void CFrame::onMouseDown(CPoint where, long buttons) {
    CView* view = getViewAt(where);
    if (view != nullptr) {
        CDrawContext context(this);
        view->mouse(&context, where, buttons);
    }
}

bool CFrame::onWheel(CPoint where, float distance) {
    CView* view = getViewAt(where);
    if (view == nullptr) {
        return false;
    }
    CDrawContext context(this);
    return view->onWheel(&context, where, distance);
}

int CFrame::onKeyDown(CKeyCode& key) {
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        if ((*it)->onKeyDown(key) == 1) {
            return 1;
        }
    }
    return -1;
}

int CFrame::onKeyUp(CKeyCode& key) {
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        if ((*it)->onKeyUp(key) == 1) {
            return 1;
        }
    }
    return -1;
}

void CFrame::onPaint(const CRect& area) {
    const CRect clipped = area.intersected({0, 0, size.width(), size.height()});
    if (!clipped.isEmpty()) {
        drawArea(clipped);
    }
}

bool CFrame::setSize(int width, int height) {
    if (width <= 0 || height <= 0 || owner == nullptr) {
        return false;
    }
    if (!owner->hostCanSizeWindow() || !owner->hostSizeWindow(width, height)) {
        return false;
    }
    window->resize(width, height);
    size.right = size.left + width;
    size.bottom = size.top + height;
    fullRedrawPending = true;
    return true;
}

void CFrame::beginEdit(long tag) {
    if (owner != nullptr) {
        owner->beginEdit(static_cast<std::int32_t>(tag));
    }
}

void CFrame::endEdit(long tag) {
    if (owner != nullptr) {
        owner->endEdit(static_cast<std::int32_t>(tag));
    }
}

void CFrame::doIdleStuff() {
    if (owner != nullptr) {
        owner->doIdleStuff();
    }
}
