#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/event_object.h"
#include "qxsdk/ui/core/style_key.h"
#include "qxsdk/ui/core/style_value.h"

// Style properties of a widget: its own values and key aliases, then the application's overrides, then the
// default theme. UI thread only.
namespace qxsdk::ui {

using style_map = std::unordered_map<style_key, style_value, style_key_hash>;
using style_alias_map = std::unordered_map<style_key, style_key, style_key_hash>;

// The application's theme: empty until the application assigns its map as a whole. Assigning fires nothing;
// controls show the new values at their next layout or paint.
style_map& theme_overrides();

// A widget's own style values and key aliases. The owner, when there is one, is told of each change by a
// style_changed event.
class style_block : public non_copyable_non_moveable {
public:
    explicit style_block(event_object* owner) noexcept : owner_(owner) {}

    // The value the lookup chain finds: the alias in place of the key (one level), then the own value, the
    // override and the default of that key; the empty value (no bytes, transparent black) when none has it.
    friend style_value lookup_style(const style_block& block, style_key key);

    // Stores a colour as the key's own value (its bytes become empty) and fires style_changed with the key.
    // It does not repaint: the owner's handler or the caller does.
    friend void set_style_property(style_block& block, style_key key, color rgba);

    // From now on the key is looked up as alias_key at every level; fires style_changed with the key.
    friend void set_style_alias(style_block& block, style_key key, style_key alias_key);

private:
    style_map own_;
    style_alias_map aliases_;
    event_object* owner_;
};

style_value lookup_style(const style_block& block, style_key key);
void set_style_property(style_block& block, style_key key, color rgba);
void set_style_alias(style_block& block, style_key key, style_key alias_key);

// The key a style_changed event names, read from the NUL-terminated characters its value points to.
std::string_view changed_style_key(const event_info& event) noexcept;

// Typed readers over lookup_style; see style_value.h for values of the wrong kind.
color get_style_value(const style_block& block, style_key key);
std::string get_style_string(const style_block& block, style_key key);
image_reference get_style_image(const style_block& block, style_key key);
std::int32_t get_style_int(const style_block& block, style_key key);
float get_style_float(const style_block& block, style_key key);

}  // namespace qxsdk::ui
