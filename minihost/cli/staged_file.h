#pragma once

#include <filesystem>

namespace minihost {

// A file written under a temporary name in its destination's folder and renamed into place only when
// complete: a full disk, a failed write or a killed run leaves either the whole file or none at the
// destination. The temporary file is removed unless committed.
class StagedFile {
public:
    explicit StagedFile(std::filesystem::path destination);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Where to write: hidden, next to the destination, so that the rename stays on one file system.
    const std::filesystem::path& temporary() const noexcept { return temporary_; }

    // Renames the written file to the destination. Throws std::runtime_error when it cannot.
    void commit();

private:
    std::filesystem::path destination_;
    std::filesystem::path temporary_;
    bool committed_ = false;
};

// Creates the folder when missing and writes and removes a small file in it, so that a long render
// fails at once rather than at its end. Throws std::runtime_error naming the folder and the reason.
void check_writable_folder(const std::filesystem::path& folder);

}  // namespace minihost
