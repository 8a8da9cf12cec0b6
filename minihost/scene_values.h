#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace minihost {

// A value of a scene file that cannot be used: the message names its JSON path and what it must be,
// "masks[0].keys[2].time must be a whole number from -2147483648 to 2147483647, not 1e+12".
class SceneValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The least and most a real number read from a scene file may be; the full range of double is "any number".
struct RealRange {
    double least = std::numeric_limits<double>::lowest();
    double most = std::numeric_limits<double>::max();
};

// A value of a scene file with its JSON path. Every read checks the value's kind and range, so that no
// conversion into the host's records can overflow: a whole number takes 2 and 2.0 alike and refuses 2.5.
// Throws SceneValueError.
class SceneValue {
public:
    SceneValue(const nlohmann::json& value, std::string path) : value_(&value), path_(std::move(path)) {}

    // An object's member, which must be there, or std::nullopt when it is not.
    SceneValue member(std::string_view key) const;
    std::optional<SceneValue> find(std::string_view key) const;
    // An object's members in the file's order, each with its key.
    std::vector<std::pair<std::string, SceneValue>> members() const;
    // An array's elements; with a count, exactly that many.
    std::vector<SceneValue> elements() const;
    std::vector<SceneValue> elements(std::size_t count) const;

    bool boolean() const;
    std::string text() const;
    double real(RealRange range = {}) const;
    template <std::integral T>
    T whole(T least = std::numeric_limits<T>::lowest(), T most = std::numeric_limits<T>::max()) const
    {
        static_assert(sizeof(T) <= sizeof(std::int32_t), "the range must fit a 64-bit signed number");
        return static_cast<T>(whole_number(least, most));
    }

    // The member `key` when the object has it, else `fallback`.
    template <std::integral T>
    T whole_or(std::string_view key, T fallback, T least = std::numeric_limits<T>::lowest(),
               T most = std::numeric_limits<T>::max()) const
    {
        const std::optional<SceneValue> found = find(key);
        return found ? found->whole<T>(least, most) : fallback;
    }
    double real_or(std::string_view key, double fallback, RealRange range = {}) const;
    bool boolean_or(std::string_view key, bool fallback) const;

private:
    std::int64_t whole_number(std::int64_t least, std::int64_t most) const;
    [[noreturn]] void refuse(const std::string& what) const;

    const nlohmann::json* value_;
    std::string path_;  // empty for the file's top level
};

}  // namespace minihost
