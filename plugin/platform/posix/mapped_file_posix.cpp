#include "plugin/platform/mapped_file.h"

#include <sys/mman.h>
#include <unistd.h>

namespace kyrox::platform {

MappedFile::~MappedFile()
{
    if (view_ != nullptr) {
        munmap(view_, size_);
    }
    if (file_ >= 0) {
        close(static_cast<int>(file_));
    }
}

}  // namespace kyrox::platform
