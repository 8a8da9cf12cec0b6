#include "plugin/host/flat_record.h"

#include <algorithm>

namespace kyrox {

namespace {

std::uint32_t load_u32(const std::uint8_t* p) noexcept
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void take_header_step(FlatRecordReader& reader) noexcept
{
    reader.header_step_taken = true;
    reader.offset = 0;
    switch (reader.mode) {
    case FlatRecordMode::measure:
        reader.header_done = true;
        break;
    case FlatRecordMode::write:
        if (reader.output.data() != nullptr && reader.output.size() >= flat_record_header_size) {
            std::ranges::copy(flat_record_header, reader.output.begin());
            reader.header_done = true;
        }
        break;
    case FlatRecordMode::read:
        reader.header_done = has_flat_record_header(reader.buffer);
        break;
    }
    if (reader.header_done) {
        reader.offset = flat_record_header_size;
    }
}

}  // namespace

bool has_flat_record_header(std::span<const std::uint8_t> data) noexcept
{
    return data.data() != nullptr && data.size() >= flat_record_header_size &&
           std::ranges::equal(data.first(flat_record_header_size), flat_record_header);
}

std::uint32_t next_flat_record(FlatRecordReader& reader) noexcept
{
    if (!reader.header_step_taken) {
        take_header_step(reader);
    }
    reader.value = nullptr;
    reader.length = 0;
    const std::uint64_t size = reader.buffer.size();
    if (reader.mode != FlatRecordMode::read || !reader.header_done || reader.buffer.data() == nullptr ||
        reader.offset >= size) {
        return 0;
    }
    const std::uint64_t room = size - reader.offset;
    const std::uint8_t* record = reader.buffer.data() + reader.offset;
    if (room < flat_record_prefix_size || room - flat_record_prefix_size < load_u32(record + 4)) {
        reader.offset = size;  // a truncated record ends the list
        return 0;
    }
    const std::uint32_t id = load_u32(record);
    if (id == 0) {
        return 0;
    }
    reader.length = load_u32(record + 4);
    reader.value = record + flat_record_prefix_size;
    reader.offset += flat_record_prefix_size + reader.length;
    return id;
}

void close_flat_reader(FlatRecordReader& reader) noexcept
{
    reader.mapped.reset();
    reader.path.clear();
}

}  // namespace kyrox
