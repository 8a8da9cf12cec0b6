#include "qxsdk/ui/core/style_lookup.h"

#include "qxsdk/ui/core/default_theme.h"
#include "qxsdk/ui/core/style_lookup_detail.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace qxsdk::ui {

namespace {

const style_value* find_value(const style_map& map, style_key key)
{
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

void announce_change(event_object* owner, style_key key)
{
    if (owner != nullptr) {
        fire_event(*owner, event_code::style_changed, address_value(key.c_str()));
    }
}

}  // namespace

std::string_view changed_style_key(const event_info& event) noexcept
{
    return value_address<const char>(event.value);
}

style_map& theme_overrides()
{
    static style_map overrides;
    return overrides;
}

style_value lookup_style(const style_block& block, style_key key)
{
    if (const auto alias = block.aliases_.find(key); alias != block.aliases_.end()) {
        key = alias->second;
    }
    const style_map* const levels[] = {&block.own_, &theme_overrides(), &default_theme()};
    for (const style_map* level : levels) {
        if (const style_value* value = find_value(*level, key)) {
            return *value;
        }
    }
    return {};
}

void set_style_property(style_block& block, style_key key, color rgba)
{
    block.own_.insert_or_assign(key, make_color_value(rgba));
    announce_change(block.owner_, key);
}

void set_style_alias(style_block& block, style_key key, style_key alias_key)
{
    block.aliases_.insert_or_assign(key, alias_key);
    announce_change(block.owner_, key);
}

color get_style_value(const style_block& block, style_key key)
{
    return lookup_style(block, key).rgba;
}

std::string get_style_string(const style_block& block, style_key key)
{
    return lookup_style(block, key).bytes;
}

image_reference get_style_image(const style_block& block, style_key key)
{
    return read_image(lookup_style(block, key));
}

std::int32_t get_style_int(const style_block& block, style_key key)
{
    return read_int(lookup_style(block, key));
}

float get_style_float(const style_block& block, style_key key)
{
    return read_float(lookup_style(block, key));
}

bool get_style_flag(const style_block& block, style_key key)
{
    return read_flag(lookup_style(block, key));
}

}  // namespace qxsdk::ui
