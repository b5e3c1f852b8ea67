// tarvokin panel in a build without cairo (the Windows cross build): the
// command is listed, and says why it cannot draw.
#include "tools/command.h"

namespace tarvokin {

int runPanel(std::span<const std::string> /*args*/) {
    throw std::runtime_error("this build of tarvokin cannot draw the panel (no cairo)");
}

} // namespace tarvokin
