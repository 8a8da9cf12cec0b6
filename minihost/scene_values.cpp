#include "minihost/scene_values.h"

#include <charconv>
#include <cmath>

namespace minihost {

namespace {

using nlohmann::json;

// A range's bound: whole ones in digits ("-1000000"), others as the shortest text that reads back as
// the same double ("32767.99998474121").
std::string number_text(double value)
{
    constexpr double largest_in_digits = 1e15;
    if (std::trunc(value) == value && std::fabs(value) < largest_in_digits) {
        return std::to_string(static_cast<std::int64_t>(value));
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return {text, end};
}

// "time.current" of "time" and "current"; a member of the top level is named by its key.
std::string child_path(const std::string& path, std::string_view key)
{
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// What a value is, for a message: short values as written, long ones by their kind.
std::string shown(const json& value)
{
    constexpr std::size_t longest_shown = 40;
    const std::string text = value.dump();
    return text.size() <= longest_shown ? text : std::string("a long ") + value.type_name();
}

}  // namespace

void SceneValue::refuse(const std::string& what) const
{
    throw SceneValueError((path_.empty() ? std::string("the top level") : path_) + " must be " + what + ", not " +
                          shown(*value_));
}

SceneValue SceneValue::member(std::string_view key) const
{
    if (std::optional<SceneValue> found = find(key)) {
        return *found;
    }
    throw SceneValueError(child_path(path_, key) + " is missing");
}

std::optional<SceneValue> SceneValue::find(std::string_view key) const
{
    if (!value_->is_object()) {
        refuse("an object");
    }
    const auto found = value_->find(key);
    if (found == value_->end()) {
        return std::nullopt;
    }
    return SceneValue(*found, child_path(path_, key));
}

std::vector<std::pair<std::string, SceneValue>> SceneValue::members() const
{
    if (!value_->is_object()) {
        refuse("an object");
    }
    std::vector<std::pair<std::string, SceneValue>> result;
    for (const auto& [key, value] : value_->items()) {
        result.emplace_back(key, SceneValue(value, child_path(path_, key)));
    }
    return result;
}

std::vector<SceneValue> SceneValue::elements() const
{
    if (!value_->is_array()) {
        refuse("an array");
    }
    std::vector<SceneValue> result;
    result.reserve(value_->size());
    for (std::size_t i = 0; i < value_->size(); ++i) {
        result.emplace_back((*value_)[i], path_ + "[" + std::to_string(i) + "]");
    }
    return result;
}

std::vector<SceneValue> SceneValue::elements(std::size_t count) const
{
    if (!value_->is_array() || value_->size() != count) {
        refuse("an array of " + std::to_string(count) + " numbers");
    }
    return elements();
}

bool SceneValue::boolean() const
{
    if (!value_->is_boolean()) {
        refuse("true or false");
    }
    return value_->get<bool>();
}

std::string SceneValue::text() const
{
    if (!value_->is_string()) {
        refuse("a string");
    }
    return value_->get<std::string>();
}

double SceneValue::real(RealRange range) const
{
    const bool any = range.least == RealRange{}.least && range.most == RealRange{}.most;
    const std::string what = any ? std::string("a number")
                                 : "a number from " + number_text(range.least) + " to " + number_text(range.most);
    if (!value_->is_number()) {
        refuse(what);
    }
    const double value = value_->get<double>();
    if (!(value >= range.least && value <= range.most)) {
        refuse(what);
    }
    return value;
}

std::int64_t SceneValue::whole_number(std::int64_t least, std::int64_t most) const
{
    const std::string what = "a whole number from " + std::to_string(least) + " to " + std::to_string(most);
    // Each of JSON's number kinds is compared in its own type, so that no conversion happens before the check.
    if (value_->is_number_unsigned()) {
        const auto value = value_->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(most) || static_cast<std::int64_t>(value) < least) {
            refuse(what);
        }
        return static_cast<std::int64_t>(value);
    }
    if (value_->is_number_integer()) {
        const auto value = value_->get<std::int64_t>();
        if (value < least || value > most) {
            refuse(what);
        }
        return value;
    }
    if (!value_->is_number_float()) {
        refuse(what);
    }
    // The bounds are 32-bit numbers, exact in double.
    const double value = value_->get<double>();
    if (!(value >= static_cast<double>(least) && value <= static_cast<double>(most)) || std::trunc(value) != value) {
        refuse(what);
    }
    return static_cast<std::int64_t>(value);
}

double SceneValue::real_or(std::string_view key, double fallback, RealRange range) const
{
    const std::optional<SceneValue> found = find(key);
    return found ? found->real(range) : fallback;
}

bool SceneValue::boolean_or(std::string_view key, bool fallback) const
{
    const std::optional<SceneValue> found = find(key);
    return found ? found->boolean() : fallback;
}

}  // namespace minihost
