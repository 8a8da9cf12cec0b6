#pragma once
// The user's choice of version slots to install into: the one value the wizard keeps, shows and hands
// to the worker. Unticking a slot keeps its folder, so ticking it again brings the folder back.

#include "installer/version_slots.h"
#include "qxsdk/filesystem/file_path.h"

#include <array>

namespace installer {

struct slot_choice {
    qxsdk::filesystem::file_path folder;  // empty for Custom until a folder is picked
    bool chosen = false;                  // the slot's check box binds to this
};

using slot_selection = std::array<slot_choice, slot_count>;

}  // namespace installer
