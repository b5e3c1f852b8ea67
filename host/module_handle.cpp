// The library's module handle, written by the load hook in the entry point.
#include "host/audio_effect.h"

void* hInstance = nullptr;
