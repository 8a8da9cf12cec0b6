#pragma once

#include <string>

#include "hostapi/pf_entry.h"

namespace minihost {

// A loaded plug-in file and its entry point; the file is unloaded when the module goes.
class PluginModule {
public:
    // Throws std::runtime_error when the file does not load or has no PluginMain.
    explicit PluginModule(const std::string& path);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    PF_EntryPointFunc entry() const noexcept { return entry_; }

private:
    void* library_ = nullptr;
    PF_EntryPointFunc entry_ = nullptr;
};

// A path as Windows takes it: absolute Unix paths (as the build names its files under Wine) go
// through drive Z:, which Wine maps to the root; separators become backslashes.
std::string windows_path_of(const std::string& path);

}  // namespace minihost
