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

CFrame::Delivery::Delivery(CFrame& target) : frame(target) {
    ++frame.delivering;
}

CFrame::Delivery::~Delivery() {
    if (--frame.delivering == 0 && frame.detached) {
        delete &frame; // the caller returns without touching the frame
    }
}

void CFrame::forget() {
    if (delivering == 0) {
        delete this;
        return;
    }
    if (detached) {
        return;
    }
    detached = true;
    CFrameOwner* last = owner;
    owner = nullptr;
    // The host sees every gesture it was told of ended, newest first.
    while (openGestureCount > 0 && last != nullptr) {
        --openGestureCount;
        last->endEdit(static_cast<std::int32_t>(openGestures[openGestureCount]));
    }
    openGestureCount = 0;
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
    if (detached) {
        return;
    }
    Delivery delivery(*this);
    // A delivered event may run a tracking loop that idles the frame again:
    // events are not taken from inside an event.
    if (!polling) {
        polling = true;
        window->pollEvents();
        polling = false;
    }
    if (detached) {
        return; // an event closed the editor: nothing more to show
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

// A detached frame takes no more events. A view's handler may detach the frame
// (the editor closed meanwhile): the key is then offered to no further view.
void CFrame::onMouseDown(CPoint where, long buttons) {
    if (detached) {
        return;
    }
    Delivery delivery(*this);
    CView* view = getViewAt(where);
    if (view != nullptr) {
        CDrawContext context(this);
        view->mouse(&context, where, buttons);
    }
}

bool CFrame::onWheel(CPoint where, float distance) {
    if (detached) {
        return false;
    }
    Delivery delivery(*this);
    CView* view = getViewAt(where);
    if (view == nullptr) {
        return false;
    }
    CDrawContext context(this);
    return view->onWheel(&context, where, distance);
}

int CFrame::onKeyDown(CKeyCode& key) {
    if (detached) {
        return -1;
    }
    Delivery delivery(*this);
    for (auto it = views.rbegin(); it != views.rend() && !detached; ++it) {
        if ((*it)->onKeyDown(key) == 1) {
            return 1;
        }
    }
    return -1;
}

int CFrame::onKeyUp(CKeyCode& key) {
    if (detached) {
        return -1;
    }
    Delivery delivery(*this);
    for (auto it = views.rbegin(); it != views.rend() && !detached; ++it) {
        if ((*it)->onKeyUp(key) == 1) {
            return 1;
        }
    }
    return -1;
}

// Painting never calls out of the frame, so it cannot close the editor.
void CFrame::onPaint(const CRect& area) {
    if (detached) {
        return;
    }
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
    if (owner == nullptr) {
        return;
    }
    // Noted first: the host may close the editor while it hears of the gesture.
    if (openGestureCount < openGestures.size()) {
        openGestures[openGestureCount++] = tag;
    }
    owner->beginEdit(static_cast<std::int32_t>(tag));
}

void CFrame::endEdit(long tag) {
    if (owner == nullptr) {
        return;
    }
    // The newest open gesture of tag is over (none for an unmatched end).
    for (std::size_t i = openGestureCount; i-- > 0;) {
        if (openGestures[i] == tag) {
            for (std::size_t j = i + 1; j < openGestureCount; ++j) {
                openGestures[j - 1] = openGestures[j];
            }
            --openGestureCount;
            break;
        }
    }
    owner->endEdit(static_cast<std::int32_t>(tag));
}

void CFrame::doIdleStuff() {
    if (owner != nullptr) {
        owner->doIdleStuff();
    }
}
