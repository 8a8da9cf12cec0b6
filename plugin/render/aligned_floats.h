#pragma once

#include <cstddef>
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

    explicit AlignedFloats(std::size_t count) : AlignedFloats(count, unset)
    {
        std::uninitialized_fill_n(data_.get(), count, 0.0f);
    }

    AlignedFloats(std::size_t count, Unset)
        : data_(static_cast<float*>(::operator new[](count * sizeof(float), alignment))), count_(count)
    {
    }

    std::span<float> values() const noexcept { return {data_.get(), count_}; }

private:
    static constexpr std::align_val_t alignment{16};

    struct Release {
        void operator()(float* p) const noexcept { ::operator delete[](p, alignment); }
    };

    std::unique_ptr<float[], Release> data_;
    std::size_t count_;
};

}  // namespace kyrox
