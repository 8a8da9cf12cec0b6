#include "minihost/cli/staged_file.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace minihost {

namespace {

// ".NAME.PID.tmp": hidden, and distinct for each process writing to the folder. Built by appending,
// a form in which GCC 12 at -O3 does not misreport -Wrestrict.
std::filesystem::path temporary_name(const std::filesystem::path& destination)
{
    std::string name(".");
    name += destination.filename().string();
    name += '.';
    name += std::to_string(::getpid());
    name += ".tmp";
    return destination.parent_path() / name;
}

}  // namespace

StagedFile::StagedFile(std::filesystem::path destination)
    : destination_(std::move(destination)), temporary_(temporary_name(destination_))
{
}

StagedFile::~StagedFile()
{
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void StagedFile::commit()
{
    std::error_code error;
    std::filesystem::rename(temporary_, destination_, error);
    if (error) {
        throw std::runtime_error("cannot move " + temporary_.string() + " to " + destination_.string() + ": " +
                                 error.message());
    }
    committed_ = true;
}

void check_writable_folder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("cannot create the output folder " + folder.string() + ": " + error.message());
    }
    const StagedFile probe(folder / "write-check");
    std::ofstream file(probe.temporary());
    file << "kyrox-render\n";
    file.close();
    if (!file) {
        throw std::runtime_error("cannot write in the output folder " + folder.string());
    }
}

}  // namespace minihost
