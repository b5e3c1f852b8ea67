// The plug-in object creates its editor through this function, which the
// editor library defines; the engine itself knows no editor class.
#pragma once

class AEffEditor;
class AudioEffectX;

// Creates the panel editor for the effect. The editor attaches itself to the
// effect on construction. Answers null when it cannot be created.
AEffEditor* createTarvokinEditor(AudioEffectX* effect);
