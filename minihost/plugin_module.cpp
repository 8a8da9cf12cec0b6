#include "minihost/plugin_module.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace minihost {

std::string windows_path_of(const std::string& path)
{
    std::string result = !path.empty() && path.front() == '/' ? "Z:" + path : path;
    for (char& c : result) {
        if (c == '/') {
            c = '\\';
        }
    }
    return result;
}

#if defined(_WIN32)

namespace {

std::wstring wide_of(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace

PluginModule::PluginModule(const std::string& path)
{
    HMODULE module = LoadLibraryW(wide_of(windows_path_of(path)).c_str());
    if (module == nullptr) {
        throw std::runtime_error("minihost: cannot load " + path + " (error " + std::to_string(GetLastError()) + ")");
    }
    FARPROC symbol = GetProcAddress(module, "PluginMain");
    if (symbol == nullptr) {
        FreeLibrary(module);
        throw std::runtime_error("minihost: " + path + " has no PluginMain");
    }
    library_ = module;
    entry_ = reinterpret_cast<PF_EntryPointFunc>(reinterpret_cast<void (*)()>(symbol));
}

PluginModule::~PluginModule()
{
    FreeLibrary(static_cast<HMODULE>(library_));
}

#else

PluginModule::PluginModule(const std::string& path)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        throw std::runtime_error("minihost: cannot load " + path + ": " + dlerror());
    }
    void* symbol = dlsym(library, "PluginMain");
    if (symbol == nullptr) {
        dlclose(library);
        throw std::runtime_error("minihost: " + path + " has no PluginMain");
    }
    library_ = library;
    entry_ = reinterpret_cast<PF_EntryPointFunc>(symbol);
}

PluginModule::~PluginModule()
{
    dlclose(library_);
}

#endif

}  // namespace minihost
