#pragma once
// One owner for every kind of handle the code is given: a value, the value that means "none", and
// what gives it back. The release object is stored with the handle, so a release that needs more
// than the handle (the table of functions it came from) travels with it; one without state costs
// nothing.

#include <concepts>
#include <type_traits>
#include <utility>

namespace kyrox {

// Owns one handle at a time and releases it exactly once, when it is replaced or the owner ends;
// Empty is never released. Moving hands the handle and its release object over.
template <class T, class Release, T Empty = T{}>
class unique_any {
    static_assert(std::is_nothrow_invocable_v<Release&, T>, "a release runs in destructors: it must not throw");
    static_assert(std::is_nothrow_move_constructible_v<Release> && std::is_nothrow_move_assignable_v<Release>);

public:
    unique_any() noexcept requires std::default_initializable<Release>
    = default;
    explicit unique_any(T value) noexcept requires std::default_initializable<Release> : value_(value) {}
    unique_any(T value, Release release) noexcept : value_(value), release_(std::move(release)) {}
    unique_any(unique_any&& other) noexcept
        : value_(std::exchange(other.value_, Empty)), release_(std::move(other.release_))
    {
    }
    unique_any& operator=(unique_any&& other) noexcept
    {
        if (this != &other) {
            // The handle held so far goes back through the release it came with.
            reset(other.release());
            release_ = std::move(other.release_);
        }
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    ~unique_any() { reset(); }

    [[nodiscard]] T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Empty; }

    // Gives the handle up without releasing it; the owner is empty after.
    [[nodiscard]] T release() noexcept { return std::exchange(value_, Empty); }

    // Releases the handle held, if any, and owns value instead.
    void reset(T value = Empty) noexcept
    {
        const T old = std::exchange(value_, value);
        if (old != Empty) {
            release_(old);
        }
    }

    void swap(unique_any& other) noexcept
    {
        using std::swap;
        swap(value_, other.value_);
        swap(release_, other.release_);
    }
    friend void swap(unique_any& a, unique_any& b) noexcept { a.swap(b); }

private:
    T value_ = Empty;
    [[no_unique_address]] Release release_{};
};

}  // namespace kyrox
