#include "minihost/name_suggestions.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace minihost {
namespace {

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Levenshtein distance, one row at a time.
std::size_t edit_distance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t substitution = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, substitution});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string joined(const std::vector<std::string>& names, const char* last_separator)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == names.size() ? last_separator : ", ";
        }
        text += names[i];
    }
    return text;
}

std::string unknown_preset_text(const std::string& wanted, const std::vector<std::string>& presets)
{
    return "no preset named \"" + wanted + "\"; the closest are " + joined(closest_names(wanted, presets, 3), " and ") +
           ". The presets: " + joined(presets, ", ") + ".";
}

}  // namespace

std::vector<std::string> closest_names(const std::string& wanted, const std::vector<std::string>& names,
                                       std::size_t count)
{
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (const std::string& name : names) {
        ranked.emplace_back(edit_distance(wanted, name), name);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> closest;
    for (std::size_t i = 0; i < std::min(count, ranked.size()); ++i) {
        closest.push_back(ranked[i].second);
    }
    return closest;
}

UnknownPreset::UnknownPreset(const std::string& wanted, const std::vector<std::string>& presets)
    : std::invalid_argument(unknown_preset_text(wanted, presets))
{
}

}  // namespace minihost
