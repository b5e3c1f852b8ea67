// The plug-in's editor: the panel. It attaches itself to the effect.
#include "editor/tk_editor.h"
#include "engine/editor_factory.h"
#include "host/audio_effect_x.h"

#include <new>

AEffEditor* createTarvokinEditor(AudioEffectX* effect) {
    return new (std::nothrow) TKEditor(effect);
}
