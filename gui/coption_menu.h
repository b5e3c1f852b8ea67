// COptionMenu: shows the text of the entry whose index is the integer part of
// its value; a click opens a pop-up list of the entries, and choosing one
// sets the value to its index and reports it inside a gesture.
#pragma once

#include "gui/cparam_display.h"

#include <string>
#include <vector>

class COptionMenu : public CParamDisplay {
public:
    COptionMenu(const CRect& size, CControlListener* listener, long tag,
                CBitmap* background = nullptr);

    // Appends an entry; its index is the number of entries before it.
    bool addEntry(const char* text);
    int getNbEntries() const { return static_cast<int>(entries.size()); }
    // The entry's text, or null for an index outside the entries.
    const char* getEntry(int index) const;
    // The index the menu shows (the integer part of its value).
    int getCurrentIndex() const { return static_cast<int>(value); }

    // A value whose integer part is not an entry index is ignored.
    void setValue(float newValue) override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint where, long buttons) override;

private:
    std::vector<std::string> entries;
};
