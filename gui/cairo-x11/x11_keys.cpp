#include "gui/cairo-x11/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <iterator>

namespace x11 {

namespace {

// Virtual key numbers of the plug-in interface's key record.
struct VirtualKey {
    KeySym symbol;
    std::uint8_t virt;
};

constexpr VirtualKey kVirtualKeys[] = {
    {XK_BackSpace, 1},    {XK_Tab, 2},        {XK_Clear, 3},         {XK_Return, 4},
    {XK_Pause, 5},        {XK_Escape, 6},     {XK_space, 7},         {XK_Next, 8},
    {XK_End, 9},          {XK_Home, 10},      {XK_Left, 11},         {XK_Up, 12},
    {XK_Right, 13},       {XK_Down, 14},      {XK_Page_Up, 15},      {XK_Page_Down, 16},
    {XK_Select, 17},      {XK_Print, 18},     {XK_KP_Enter, 19},     {XK_Insert, 21},
    {XK_Delete, 22},      {XK_Help, 23},      {XK_KP_0, 24},         {XK_KP_1, 25},
    {XK_KP_2, 26},        {XK_KP_3, 27},      {XK_KP_4, 28},         {XK_KP_5, 29},
    {XK_KP_6, 30},        {XK_KP_7, 31},      {XK_KP_8, 32},         {XK_KP_9, 33},
    {XK_KP_Multiply, 34}, {XK_KP_Add, 35},    {XK_KP_Separator, 36}, {XK_KP_Subtract, 37},
    {XK_KP_Decimal, 38},  {XK_KP_Divide, 39}, {XK_F1, 40},           {XK_F2, 41},
    {XK_F3, 42},          {XK_F4, 43},        {XK_F5, 44},           {XK_F6, 45},
    {XK_F7, 46},          {XK_F8, 47},        {XK_F9, 48},           {XK_F10, 49},
    {XK_F11, 50},         {XK_F12, 51},       {XK_Num_Lock, 52},     {XK_Scroll_Lock, 53},
    {XK_Shift_L, 54},     {XK_Shift_R, 54},   {XK_Control_L, 55},    {XK_Control_R, 55},
    {XK_Alt_L, 56},       {XK_Alt_R, 56},     {XK_KP_Equal, 57},
};

// Modifier bits of the key record: shift, alternate, command, control.
std::uint8_t modifiersOf(unsigned state) {
    std::uint8_t bits = 0;
    if (state & ShiftMask) {
        bits |= 1;
    }
    if (state & Mod1Mask) {
        bits |= 2;
    }
    if (state & ControlMask) {
        bits |= 8;
    }
    return bits;
}

} // namespace

bool translateKey(const XKeyEvent& event, CKeyCode& key) {
    XKeyEvent copy = event; // XLookupString takes a mutable event
    char text[8] = {};
    KeySym symbol = NoSymbol;
    const int length = XLookupString(&copy, text, sizeof text, &symbol, nullptr);
    key = {};
    key.modifier = modifiersOf(event.state);
    for (const VirtualKey& entry : kVirtualKeys) {
        if (entry.symbol == symbol) {
            key.virt = entry.virt;
            return true;
        }
    }
    if (length == 1 && static_cast<unsigned char>(text[0]) >= 0x20) {
        key.character = static_cast<unsigned char>(text[0]);
        return true;
    }
    return false;
}

} // namespace x11
