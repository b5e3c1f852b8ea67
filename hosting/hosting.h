// The whole hosting library: load a module, host instances of it, and
// describe a song position for them.
#pragma once

#include "hosting/host_state.h"
#include "hosting/hosted_plugin.h"
#include "hosting/plugin_module.h"
#include "hosting/transport.h"
