#pragma once

#include <windows.h>

// The toolkit's two ways of failing at the platform boundary: a failed creation raises std::runtime_error
// with a fixed message; a missing COM object raises the platform's _com_error carrying E_POINTER.
namespace qxsdk::ui {

// Throws std::runtime_error(message) when the result is a failure.
void check(HRESULT result, const char* message);

// Raises _com_error(E_POINTER).
[[noreturn]] void raise_null_pointer();

// The object a COM pointer refers to; raises _com_error(E_POINTER) when there is none.
template <typename T>
T& require(T* object)
{
    if (object == nullptr) {
        raise_null_pointer();
    }
    return *object;
}

}  // namespace qxsdk::ui
