// A fake host callback for the effect base tests: it records every request
// and answers a scripted value. One fake host exists at a time.
#pragma once

#include "host/vst_abi.h"

#include <vector>

struct HostRequest {
    AEffect* effect = nullptr;
    VstInt32 opcode = 0;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    void* ptr = nullptr;
    float opt = 0.0f;
    bool operator==(const HostRequest&) const = default;
};

class FakeHost {
public:
    FakeHost() { current = this; }
    ~FakeHost() { current = nullptr; }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    std::vector<HostRequest> requests;
    VstIntPtr answer = 0;

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt) {
        current->requests.push_back({effect, opcode, index, value, ptr, opt});
        return current->answer;
    }

private:
    static inline FakeHost* current = nullptr;
};
