// The library's module handle, kept by the load hook (host/module_handle.cpp).
// The Win32 backend registers its window class and loads the panel bitmaps
// through it.
#pragma once

#include <windows.h>

extern void* hInstance;

// hInstance as a module handle; the running program's when no load hook ran
// (a test program that links the GUI library statically).
HINSTANCE moduleInstance();
