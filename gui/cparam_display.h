// CParamDisplay: a box filled with its back colour showing its value as text,
// made by a string-convert function, in its font and font colour.
#pragma once

#include "gui/cview.h"

class CParamDisplay : public CControl {
public:
    using StringConvert = void (*)(float value, char* text);

    // Centred text, font kSystemFont, white on black until set otherwise.
    explicit CParamDisplay(const CRect& size, CBitmap* background = nullptr);

    void setFont(int font);
    int getFont() const { return font; }
    void setFontColor(CColor colour);
    CColor getFontColor() const { return fontColour; }
    void setBackColor(CColor colour);
    CColor getBackColor() const { return backColour; }
    void setHoriAlign(CHoriTxtAlign align);
    CHoriTxtAlign getHoriAlign() const { return horiAlign; }
    // Null: the value with two decimals.
    void setStringConvert(StringConvert convert);

    // The text the display shows for its value (at most 255 characters).
    void getText(char* text) const;

    void draw(CDrawContext* context) override;

protected:
    // Draws text in the display's font, colours and alignment.
    void drawBoxedText(CDrawContext* context, const char* text);

    int font = kSystemFont;
    CColor fontColour = kWhiteCColor;
    CColor backColour = kBlackCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    StringConvert convert = nullptr;
};
