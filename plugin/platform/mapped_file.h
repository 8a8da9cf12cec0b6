#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kyrox::platform {

// A file mapped into memory, owned: the view, the file and, on Windows, the mapping object (POSIX
// has no separate mapping handle; pass -1). Destroying it unmaps the view and closes the handles.
class MappedFile {
public:
    using native_handle = std::intptr_t;

    MappedFile(void* view, std::size_t size, native_handle file, native_handle mapping) noexcept
        : view_(view), size_(size), file_(file), mapping_(mapping)
    {
    }
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> bytes() const noexcept
    {
        return {static_cast<const std::uint8_t*>(view_), view_ != nullptr ? size_ : 0};
    }

private:
    void* view_;
    std::size_t size_;
    native_handle file_;
    // Only Windows has a mapping object to close.
    [[maybe_unused]] native_handle mapping_;
};

}  // namespace kyrox::platform
