#include "qxsdk/filesystem/file_path.h"

#include "qxsdk/filesystem/text_conversion.h"

#include <algorithm>

namespace qxsdk::filesystem {

std::string to_generic_string(const file_path& path)
{
    std::string text = wide_to_utf8(path.native());
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

}  // namespace qxsdk::filesystem
