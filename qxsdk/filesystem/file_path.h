#pragma once
// A file path as the platform gives and takes it: a wide string of UTF-16 code units with
// backslashes, kept exactly as it is (no normalisation). An empty path means "no folder".

#include <string>
#include <utility>

namespace qxsdk::filesystem {

class file_path {
public:
    file_path() = default;
    explicit file_path(std::wstring native) : native_(std::move(native)) {}

    const std::wstring& native() const noexcept { return native_; }
    const wchar_t* c_str() const noexcept { return native_.c_str(); }
    bool empty() const noexcept { return native_.empty(); }

    // Appends text as it stands: no separator is added or removed at the joint.
    file_path operator+(std::wstring_view tail) const { return file_path(native_ + std::wstring(tail)); }

    friend bool operator==(const file_path&, const file_path&) = default;

private:
    std::wstring native_;
};

// The path in UTF-8 with every backslash turned into a slash; nothing else changes.
std::string to_generic_string(const file_path& path);

}  // namespace qxsdk::filesystem
