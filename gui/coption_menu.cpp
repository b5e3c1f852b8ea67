#include "gui/coption_menu.h"

#include "gui/cdraw_context.h"
#include "gui/cframe.h"

#include <cmath>

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, long tag,
                         CBitmap* background)
    : CParamDisplay(size, background) {
    this->listener = listener;
    this->tag = tag;
}

bool COptionMenu::addEntry(const char* text) {
    if (text == nullptr) {
        return false;
    }
    entries.emplace_back(text);
    setDirty(true);
    return true;
}

const char* COptionMenu::getEntry(int index) const {
    if (index < 0 || index >= getNbEntries()) {
        return nullptr;
    }
    return entries[static_cast<std::size_t>(index)].c_str();
}

void COptionMenu::setValue(float newValue) {
    // Compared as a double first, so huge values and NaN never reach a cast.
    const double whole = std::trunc(static_cast<double>(newValue));
    if (!(whole >= 0.0 && whole < static_cast<double>(getNbEntries()))) {
        return;
    }
    value = newValue;
}

void COptionMenu::draw(CDrawContext* context) {
    const char* text = getEntry(getCurrentIndex());
    drawBoxedText(context, text != nullptr ? text : "");
}

void COptionMenu::mouse(CDrawContext* context, CPoint /*where*/, long buttons) {
    if ((buttons & kLButton) == 0 || modifierClickHandled(context, buttons) || entries.empty()) {
        return;
    }
    WindowBackend* window = frame != nullptr ? frame->getBackend() : nullptr;
    if (window == nullptr) {
        return;
    }
    const int chosen = window->choose(entries, getCurrentIndex(), size);
    if (chosen < 0 || chosen >= getNbEntries()) {
        return;
    }
    beginEdit();
    value = static_cast<float>(chosen);
    setDirty(true);
    reportValue(context);
    endEdit();
}
