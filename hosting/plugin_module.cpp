#include "hosting/plugin_module.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace hosting {
namespace {

#if defined(_WIN32)
void* openLibrary(const std::string& path, std::string* error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr && error != nullptr) {
        *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    }
    return reinterpret_cast<void*>(module);
}
void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void closeLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* openLibrary(const std::string& path, std::string* error) {
    // A bare file name would make dlopen search the library path instead of
    // the current folder, which is never what a caller naming a file means.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    // RTLD_NODELETE: unloading only drops the reference and the code stays
    // mapped. A plug-in's threads and exit handlers, and the caches of the
    // libraries it pulled in, may outlive its last instance; and the leak
    // checker can only name (and see through) code that is still mapped.
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr && error != nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : "cannot load " + path;
    }
    return handle;
}
void* findSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
void closeLibrary(void* handle) {
    dlclose(handle);
}
#endif

} // namespace

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string* error) {
    void* handle = openLibrary(path, error);
    if (handle == nullptr) {
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule(handle, path));
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (EntryPoint entry = module->entryNamed(name)) {
            module->entry_ = entry;
            module->entryName_ = name;
            return module;
        }
    }
    if (error != nullptr) {
        *error = path + " exports neither VSTPluginMain nor main: not a VST 2.4 plug-in";
    }
    return nullptr;
}

PluginModule::PluginModule(void* handle, std::string path)
    : handle_(handle), path_(std::move(path)) {}

PluginModule::~PluginModule() {
    closeLibrary(handle_);
}

PluginModule::EntryPoint PluginModule::entryNamed(const char* name) const {
    return reinterpret_cast<EntryPoint>(findSymbol(handle_, name));
}

void* PluginModule::symbol(const char* name) const {
    return findSymbol(handle_, name);
}

} // namespace hosting
