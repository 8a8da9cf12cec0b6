#include "qxsdk/ui/draw/hresult_check.h"

#include <comdef.h>

namespace qxsdk::ui {

hresult_error::hresult_error(HRESULT result, const char* step, const char* message)
    : std::runtime_error(message), result_(result), step_(step)
{
}

void check(HRESULT result, const char* step, const char* message)
{
    if (FAILED(result)) {
        throw hresult_error(result, step, message);
    }
}

void raise_null_pointer()
{
    _com_issue_error(E_POINTER);
    // The platform's error handler can be replaced by one that returns; the caller must not go on anyway.
    throw _com_error(E_POINTER);
}

}  // namespace qxsdk::ui
