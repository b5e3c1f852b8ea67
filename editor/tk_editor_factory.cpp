// Placeholder until the panel exists: the effect runs without an editor.
#include "engine/editor_factory.h"

AEffEditor* createTarvokinEditor(AudioEffectX* /*effect*/) {
    return nullptr;
}
