#pragma once

// The worker's choice of resource and file per slot, which the rest of the installer reaches only
// through System; the tests check them directly.

#include "installer/install_system.h"

#include <cstddef>

namespace installer {

// The resource a slot installs: 300 for slots 0 and 1, 400 for the releases, and for the custom
// slot 400 when resource_flag is non-zero, else 300.
int plugin_resource_id(std::size_t slot, int resource_flag);

// plugin_folder_path(folder) + "\Kyrox.aex", joined as they stand.
file_path plugin_file_path(const file_path& folder);

}  // namespace installer
