// CFrameOwner: what a frame needs from the editor that owns it. The editor
// shell implements it; the GUI library never sees the editor or the effect.
#pragma once

#include <cstdint>

class CFrameOwner {
public:
    virtual ~CFrameOwner() = default;

    // A control starts and ends a gesture; tag is the control's tag.
    virtual void beginEdit(std::int32_t tag) = 0;
    virtual void endEdit(std::int32_t tag) = 0;
    // The paced idle pass, called over and over while a control tracks the
    // mouse and once before a switch reports its change.
    virtual void doIdleStuff() = 0;
    // Asks the host whether it can resize the editor window ("sizeWindow"),
    // then to resize it. Each answers false when the host cannot.
    virtual bool hostCanSizeWindow() = 0;
    virtual bool hostSizeWindow(int width, int height) = 0;
};
