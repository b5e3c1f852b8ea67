#include "gui/cbitmap.h"

namespace {
std::atomic<std::uint64_t> loads{0};
}

CBitmap::CBitmap(int resourceId) : resourceId(resourceId) {
    loads.fetch_add(1);
    if (!loadBitmapResource(resourceId, width, height, rgb)) {
        width = 0;
        height = 0;
        rgb.clear();
    }
}

void CBitmap::remember() {
    references.fetch_add(1);
}

void CBitmap::forget() {
    if (references.fetch_sub(1) == 1) {
        delete this;
    }
}

std::uint64_t CBitmap::loadCount() {
    return loads.load();
}
