#pragma once

#include <windows.h>

#include <stdexcept>

// The toolkit's two ways of failing at the platform boundary: a failed call raises hresult_error with a
// fixed message for the user and the call's name and result for whoever looks further; a missing COM
// object raises the platform's _com_error carrying E_POINTER.
namespace qxsdk::ui {

// A platform call that failed: what() is the message, step() the call, hresult() what it answered.
class hresult_error : public std::runtime_error {
public:
    // step names the call and outlives the error (a literal).
    hresult_error(HRESULT result, const char* step, const char* message);

    HRESULT hresult() const noexcept { return result_; }
    const char* step() const noexcept { return step_; }

private:
    HRESULT result_;
    const char* step_;
};

// Throws hresult_error(result, step, message) when the result is a failure.
void check(HRESULT result, const char* step, const char* message);

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
