#include "gui/cparam_display.h"

#include "gui/cbitmap.h"
#include "gui/cdraw_context.h"

#include <cstdio>

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background)
    : CControl(size, nullptr, -1, background) {}

void CParamDisplay::setFont(int newFont) {
    font = newFont;
    setDirty(true);
}

void CParamDisplay::setFontColor(CColor colour) {
    fontColour = colour;
    setDirty(true);
}

void CParamDisplay::setBackColor(CColor colour) {
    backColour = colour;
    setDirty(true);
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align) {
    horiAlign = align;
    setDirty(true);
}

void CParamDisplay::setStringConvert(StringConvert newConvert) {
    convert = newConvert;
    setDirty(true);
}

void CParamDisplay::getText(char* text) const {
    // Converters write into a buffer of 256 characters.
    text[0] = '\0';
    if (convert != nullptr) {
        convert(value, text);
    } else {
        std::snprintf(text, 256, "%2.2f", static_cast<double>(value));
    }
}

void CParamDisplay::drawBoxedText(CDrawContext* context, const char* text) {
    if (background != nullptr) {
        context->drawBitmap(background, size);
    } else {
        context->setFillColor(backColour);
        context->fillRect(size);
    }
    context->setFont(font);
    context->setFontColor(fontColour);
    context->drawString(text, size, horiAlign);
}

void CParamDisplay::draw(CDrawContext* context) {
    char text[256];
    getText(text);
    drawBoxedText(context, text);
}
