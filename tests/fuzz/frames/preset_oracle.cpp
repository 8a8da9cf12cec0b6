#include "tests/fuzz/frames/preset_oracle.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <map>
#include <optional>

namespace kyrox::fuzz {

namespace {

constexpr std::array<std::uint8_t, 8> list_header = {'Q', 'X', 'C', 'F', 'H', 0x00, 0x00, 0x01};

// Little-endian unsigned value of the first `count` bytes.
std::uint64_t little_endian(std::span<const std::uint8_t> bytes, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t k = count; k-- > 0;) {
        value = value << 8 | bytes[k];
    }
    return value;
}

// Hands out the bytes of a list front to back, never past its end.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : rest_(bytes) {}

    bool at_end() const noexcept { return rest_.empty(); }

    std::optional<std::span<const std::uint8_t>> take(std::uint64_t count)
    {
        if (count > rest_.size()) {
            return std::nullopt;
        }
        const std::span<const std::uint8_t> taken = rest_.first(static_cast<std::size_t>(count));
        rest_ = rest_.subspan(static_cast<std::size_t>(count));
        return taken;
    }

    std::optional<std::uint32_t> take_u32()
    {
        const auto bytes = take(4);
        return bytes ? std::optional(static_cast<std::uint32_t>(little_endian(*bytes, 4))) : std::nullopt;
    }

private:
    std::span<const std::uint8_t> rest_;
};

// Puts the value at the start of a record into the parameter; false when the record holds too few bytes
// for it.
bool take_value(PF_ParamDef& param, std::span<const std::uint8_t> value)
{
    switch (param.param_type) {
    case PF_Param_CHECKBOX:
        if (value.size() < 4) {
            return false;
        }
        param.u.bd.value = static_cast<A_long>(little_endian(value, 4));
        return true;
    case PF_Param_POPUP:
        if (value.size() < 4) {
            return false;
        }
        param.u.pd.value = static_cast<A_long>(little_endian(value, 4));
        return true;
    case PF_Param_COLOR:
        if (value.size() < 4) {
            return false;
        }
        param.u.cd.value = PF_Pixel{.alpha = value[0], .red = value[1], .green = value[2], .blue = value[3]};
        return true;
    case PF_Param_FLOAT_SLIDER:
        if (value.size() < 8) {
            return false;
        }
        param.u.fs_d.value = std::bit_cast<PF_FpLong>(little_endian(value, 8));
        return true;
    default:
        return true;
    }
}

}  // namespace

std::vector<StoredRecord> stored_records(std::span<const std::uint8_t> list)
{
    ByteCursor cursor(list);
    const auto header = cursor.take(list_header.size());
    if (!header || !std::ranges::equal(*header, list_header)) {
        return {};
    }
    std::vector<StoredRecord> records;
    while (!cursor.at_end()) {
        const auto id = cursor.take_u32();
        const auto length = cursor.take_u32();
        if (!id || !length || *id == 0) {
            break;
        }
        const auto value = cursor.take(*length);
        if (!value) {
            break;
        }
        records.push_back({*id, *value});
    }
    return records;
}

std::vector<PF_ParamDef> params_after(std::span<const StoredRecord> records, std::vector<PF_ParamDef> params,
                                      const minihost::ParamState& state)
{
    std::map<std::uint32_t, std::size_t> index_by_id;
    for (std::size_t index = 1; index < params.size(); ++index) {
        index_by_id.emplace(static_cast<std::uint32_t>(state.id_at(static_cast<PF_ParamIndex>(index))), index);
    }
    index_by_id.erase(0);  // indices the host holds no ID for
    for (const StoredRecord& record : records) {
        const auto found = index_by_id.find(record.id);
        if (found == index_by_id.end()) {
            break;
        }
        PF_ParamDef& param = params[found->second];
        if (!take_value(param, record.value)) {
            break;
        }
        param.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    }
    return params;
}

}  // namespace kyrox::fuzz
