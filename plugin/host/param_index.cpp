#include "plugin/host/param_index.h"

#include <cstddef>
#include <vector>

namespace kyrox {

namespace {

std::vector<std::int32_t>& index_table()
{
    static std::vector<std::int32_t> table;
    return table;
}

}  // namespace

PF_ParamIndex param_index_of(std::int32_t id) noexcept
{
    const std::vector<std::int32_t>& table = index_table();
    return id >= 0 && static_cast<std::size_t>(id) < table.size() ? table[static_cast<std::size_t>(id)] : 0;
}

void set_param_index(std::int32_t id, PF_ParamIndex index)
{
    if (id < 0) {
        return;
    }
    std::vector<std::int32_t>& table = index_table();
    if (static_cast<std::size_t>(id) >= table.size()) {
        table.resize(static_cast<std::size_t>(id) + 1, 0);
    }
    table[static_cast<std::size_t>(id)] = index;
}

void clear_param_indices() noexcept
{
    index_table().clear();
}

std::size_t param_index_table_size() noexcept
{
    return index_table().size();
}

}  // namespace kyrox
