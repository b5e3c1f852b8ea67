#include "gui/win32/module_instance.h"

HINSTANCE moduleInstance() {
    return hInstance != nullptr ? static_cast<HINSTANCE>(hInstance) : GetModuleHandleA(nullptr);
}
