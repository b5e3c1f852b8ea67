// Compiled, not run: the interface header's layout checks for the compiler at hand.
#include "host/vst_abi.h"
