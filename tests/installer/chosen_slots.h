#pragma once
// Selections for the worker's tests, written as the slots that are ticked and their folders.

#include "installer/slot_selection.h"

#include <cstddef>
#include <map>
#include <string>

namespace installer_test {

inline installer::slot_selection chosen_slots(const std::map<std::size_t, std::wstring>& folders)
{
    installer::slot_selection selection;
    for (const auto& [slot, folder] : folders) {
        selection.at(slot) = {qxsdk::filesystem::file_path(folder), true};
    }
    return selection;
}

}  // namespace installer_test
