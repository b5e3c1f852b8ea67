// The relaxed single-value helpers live with the effect base, which shares
// sampleRate and blockSize between threads the same way.
#pragma once

#include "host/relaxed.h"
