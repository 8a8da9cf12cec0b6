#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <span>

namespace kyrox {

// A zero-filled float array on 16-byte alignment, for vector loads.
class AlignedFloats {
public:
    explicit AlignedFloats(std::size_t count)
        : data_(static_cast<float*>(::operator new[](count * sizeof(float), alignment))), count_(count)
    {
        std::uninitialized_fill_n(data_.get(), count, 0.0f);
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
