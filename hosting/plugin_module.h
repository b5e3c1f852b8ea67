// A loaded plug-in library and its entry point. The entry point is looked up
// as "VSTPluginMain" first and as "main" (the older name) when that is missing.
#pragma once

#include "host/vst_abi.h"

#include <memory>
#include <string>

namespace hosting {

class PluginModule {
public:
    using EntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback);

    // Null with *error set when the library cannot be loaded or exports
    // neither entry name.
    static std::unique_ptr<PluginModule> load(const std::string& path, std::string* error);

    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    // Releases the library (on Linux its code stays mapped, see load). Every
    // instance must be closed by then.
    ~PluginModule();

    EntryPoint entry() const { return entry_; }
    // The name entry() was found under: "VSTPluginMain" or "main".
    const std::string& entryName() const { return entryName_; }
    // Any export by name, as an entry point; null when it is missing.
    EntryPoint entryNamed(const char* name) const;
    // Any exported symbol's address; null when it is missing.
    void* symbol(const char* name) const;
    const std::string& path() const { return path_; }
    // The dlopen handle or the HMODULE.
    void* nativeHandle() const { return handle_; }

private:
    PluginModule(void* handle, std::string path);

    void* handle_;
    std::string path_;
    EntryPoint entry_ = nullptr;
    std::string entryName_;
};

} // namespace hosting
