#include "qxsdk/ui/draw/hresult_check.h"

#include <comdef.h>

#include <stdexcept>

namespace qxsdk::ui {

void check(HRESULT result, const char* message)
{
    if (FAILED(result)) {
        throw std::runtime_error(message);
    }
}

void raise_null_pointer()
{
    _com_issue_error(E_POINTER);
    // The platform's error handler can be replaced by one that returns; the caller must not go on anyway.
    throw _com_error(E_POINTER);
}

}  // namespace qxsdk::ui
