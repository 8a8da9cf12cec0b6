#include "qxsdk/ui/window/caught_exception.h"

#include <utility>

namespace qxsdk::ui {

namespace {

thread_local std::exception_ptr kept;

}  // namespace

void keep_caught_exception(std::exception_ptr caught) noexcept
{
    if (!kept) {
        kept = std::move(caught);
    }
}

void rethrow_caught_exception()
{
    if (kept) {
        std::rethrow_exception(std::exchange(kept, nullptr));
    }
}

}  // namespace qxsdk::ui
