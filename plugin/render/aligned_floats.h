#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <new>
#include <span>

namespace kyrox {

// A float array on 16-byte alignment, for vector loads: zero-filled, or left unset for a caller
// that writes every value before reading it.
class AlignedFloats {
public:
    struct Unset {};
    static constexpr Unset unset{};

    // No values and no storage.
    AlignedFloats() noexcept = default;

    explicit AlignedFloats(std::size_t count) : AlignedFloats(count, unset)
    {
        std::uninitialized_fill_n(data_.get(), count, 0.0f);
    }

    AlignedFloats(std::size_t count, Unset) : data_(allocate(count)), count_(count) {}

    std::span<float> values() const noexcept { return {data_.get(), count_}; }

    // Makes room for at least count values, keeping the storage when it is large enough already, so
    // that a caller whose counts vary takes new storage only for a count larger than any before. The
    // values are unset afterwards. Throws std::bad_alloc as the constructor does, leaving the array
    // empty.
    void hold_at_least(std::size_t count)
    {
        if (count <= count_) {
            return;
        }
        // Release the old values before taking the new ones.
        *this = AlignedFloats();
        *this = AlignedFloats(count, unset);
    }

private:
    static constexpr std::align_val_t alignment{16};

    static float* allocate(std::size_t count)
    {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(float)) {
            throw std::bad_alloc();
        }
        return static_cast<float*>(::operator new[](count * sizeof(float), alignment));
    }

    struct Release {
        void operator()(float* p) const noexcept { ::operator delete[](p, alignment); }
    };

    std::unique_ptr<float[], Release> data_;
    std::size_t count_ = 0;
};

}  // namespace kyrox
