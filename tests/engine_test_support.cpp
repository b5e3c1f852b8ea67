#include "tests/engine_test_support.h"

#include "engine/editor_factory.h"

#include <new>

namespace {
EditorFactoryMode factoryMode = EditorFactoryMode::none;
} // namespace

RecordingEditor::RecordingEditor(AudioEffect* effect) : AEffEditor(effect) {
    effect->setEditor(this);
}

void RecordingEditor::setParameter(VstInt32 index, float value) {
    calls.push_back({index, value});
}

void setEditorFactoryMode(EditorFactoryMode mode) {
    factoryMode = mode;
}

AEffEditor* createTarvokinEditor(AudioEffectX* effect) {
    switch (factoryMode) {
    case EditorFactoryMode::recording:
        return new RecordingEditor(effect);
    case EditorFactoryMode::throwing:
        throw std::bad_alloc();
    case EditorFactoryMode::none:
        break;
    }
    return nullptr;
}

std::size_t TextBuffer::bytesWritten() const {
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != kUntouched) {
        ++i;
    }
    return i;
}

EffectWithEditor::EffectWithEditor() : editor(new RecordingEditor(&effect)) {}

std::string EffectWithEditor::display(VstInt32 index) {
    TextBuffer buffer;
    effect.getParameterDisplay(index, buffer.data());
    return buffer.text();
}

std::string EffectWithEditor::name(VstInt32 index) {
    TextBuffer buffer;
    effect.getParameterName(index, buffer.data());
    return buffer.text();
}

std::string EffectWithEditor::label(VstInt32 index) {
    TextBuffer buffer;
    effect.getParameterLabel(index, buffer.data());
    return buffer.text();
}

std::string EffectWithEditor::programName() {
    TextBuffer buffer;
    effect.getProgramName(buffer.data());
    return buffer.text();
}
