// In-process helpers for the engine suites: an editor that records what the
// effect tells it, the editor factory the effect calls (switchable per test),
// and small text-buffer helpers.
#pragma once

#include "engine/tarvokin.h"
#include "host/aeff_editor.h"

#include <array>
#include <string>
#include <vector>

struct ParameterCall {
    VstInt32 index;
    float value;
};

// Attaches itself to the effect, as the real panel does, and keeps every
// setParameter call in order.
class RecordingEditor : public AEffEditor {
public:
    explicit RecordingEditor(AudioEffect* effect);
    void setParameter(VstInt32 index, float value) override;
    std::vector<ParameterCall> calls;
};

// What the test definition of createTarvokinEditor does when the effect asks.
enum class EditorFactoryMode { none, recording, throwing };
void setEditorFactoryMode(EditorFactoryMode mode);

// The byte that marks untouched parts of a text buffer.
inline constexpr char kUntouched = '#';

// A text buffer well beyond what any call may write, pre-filled with kUntouched.
struct TextBuffer {
    TextBuffer() { bytes.fill(kUntouched); }
    char* data() { return bytes.data(); }
    std::string text() const { return std::string(bytes.data()); }
    // How many leading bytes the call wrote (every write here is contiguous
    // from the start, and no text written contains kUntouched).
    std::size_t bytesWritten() const;
    bool untouched() const { return bytesWritten() == 0; }
    std::array<char, 96> bytes;
};

// A fresh effect without a host callback, with a RecordingEditor attached
// after construction.
struct EffectWithEditor {
    EffectWithEditor();
    std::string display(VstInt32 index);
    std::string name(VstInt32 index);
    std::string label(VstInt32 index);
    std::string programName();
    Tarvokin effect{nullptr};
    RecordingEditor* editor; // owned by the effect
};
