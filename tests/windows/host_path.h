#pragma once
// The build passes file paths as the build system sees them; under Wine those are host paths, which
// the Z: drive maps.

#include <string>

namespace kyrox_test {

inline std::wstring windows_path_of_build_file(std::string path)
{
    if (path.starts_with('/')) {
        path = "Z:" + path;
    }
    std::wstring wide(path.begin(), path.end());
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}

}  // namespace kyrox_test
