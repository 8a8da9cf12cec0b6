#include "qxsdk/ui/core/ime_cursor.h"

namespace qxsdk::ui {

std::int32_t cursor_after_key(std::int32_t cursor, std::int32_t length, std::uint64_t key) noexcept
{
    switch (key) {
    case virtual_key::end:
        return length;
    case virtual_key::home:
        return 0;
    case virtual_key::left:
        return cursor > 0 ? cursor - 1 : cursor;
    case virtual_key::right:
        return cursor < length ? cursor + 1 : cursor;
    default:
        return cursor;
    }
}

}  // namespace qxsdk::ui
