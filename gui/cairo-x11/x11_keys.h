// Key events of the editor window as the frame's key records: the character
// for printable keys, the interface's virtual key numbers for the others and
// its modifier bits.
#pragma once

#include "gui/gui_types.h"

#include <X11/Xlib.h>

namespace x11 {

// False for keys that have neither a character nor a virtual key number
// (a lone modifier like Caps Lock, unknown keys).
bool translateKey(const XKeyEvent& event, CKeyCode& key);

} // namespace x11
