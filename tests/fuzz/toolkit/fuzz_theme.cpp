// The theme's lookup chain and typed readers. From the bytes: an application override map (values of every
// kind, and raw byte strings of any length read as any kind), then own colours and key aliases (to any key,
// to itself, in cycles) on two widgets and on a block without an owner. Then the keys are read through every
// reader of every block. Promises: each read is what the chain gives (one level of alias, then own value,
// override, default, else empty); a reader of a kind reads the first bytes of that kind as they lie and a value
// too short for it as 0, false or no picture; style_changed names the key set or aliased, once. Each input
// reads the keys it names; the others read as the defaults, checked once at start.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "promise.h"
#include "qxsdk/ui/core/default_theme.h"
#include "qxsdk/ui/core/default_theme_detail.h"
#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"
#include "qxsdk/ui/core/pictures.h"
#include "qxsdk/ui/core/style_lookup.h"
#include "qxsdk/ui/core/style_lookup_detail.h"
#include "qxsdk/ui/core/widget.h"

namespace {

using namespace qxsdk::ui;
using kyrox::fuzz::promise;

// Keys are literals only: the default table's, the installer's own, near misses and the empty key.
const std::vector<style_key>& keys()
{
    static const std::vector<style_key> pool = [] {
        std::vector<style_key> all{"title_font_size",    "title_font_weight", "menubar_back_color_highlight",
                                   "Default_back_color", "label_font_size ",  ""};
        for (const theme_row& row : default_theme_rows()) {
            if (std::find(all.begin(), all.end(), row.key) == all.end()) {
                all.push_back(row.key);
            }
        }
        return all;
    }();
    return pool;
}

// The keys an input names (in its overrides, own values and aliases, on either side of an alias): only their
// reads can differ from the defaults, which the target reads once at start through a fresh block.
class named_keys {
public:
    style_key pick(FuzzedDataProvider& input)
    {
        const style_key key = keys()[input.ConsumeIntegralInRange<std::size_t>(0, keys().size() - 1)];
        if (std::find(named_.begin(), named_.end(), key) == named_.end()) {
            named_.push_back(key);
        }
        return key;
    }
    std::span<const style_key> all() const noexcept { return named_; }

private:
    std::vector<style_key> named_;
};

color any_color(FuzzedDataProvider& input)
{
    std::array<float, 4> channels;
    for (float& channel : channels) {
        channel = std::bit_cast<float>(input.ConsumeIntegral<std::uint32_t>());  // NaN and infinities too
    }
    return make_color(channels[0], channels[1], channels[2], channels[3]);
}

style_value any_value(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange<int>(0, 6)) {
    case 0:
        return make_color_value(any_color(input));
    case 1:
        return make_int_value(input.ConsumeIntegral<std::int32_t>());
    case 2:
        return make_float_value(std::bit_cast<float>(input.ConsumeIntegral<std::uint32_t>()));
    case 3:
        return make_flag_value(input.ConsumeBool());
    case 4:
        return make_text_value(input.ConsumeRandomLengthString(32));
    case 5: {
        const std::span<const std::uint8_t> png = pictures::checkbox_strip;
        const auto length = input.ConsumeIntegralInRange<std::size_t>(0, png.size());
        return make_image_value(png.first(length), input.ConsumeIntegral<std::int32_t>());
    }
    default: {
        style_value raw{input.ConsumeRandomLengthString(32), any_color(input)};
        return raw;
    }
    }
}

bool same_bits(const color& a, const color& b)
{
    return std::memcmp(&a, &b, sizeof(color)) == 0;
}

bool same_value(const style_value& a, const style_value& b)
{
    return a.bytes == b.bytes && same_bits(a.rgba, b.rgba);
}

template <class T>
T first_bytes(const style_value& value, T fallback)
{
    if (value.bytes.size() < sizeof(T)) {
        return fallback;
    }
    T payload;
    std::memcpy(&payload, value.bytes.data(), sizeof(T));
    return payload;
}

using value_model = std::map<std::string_view, style_value>;

// One block as the fuzzer expects it to be, beside the real one.
struct block_model {
    style_block& block;
    value_model own;
    std::map<std::string_view, style_key> aliases;
    std::vector<std::string> changes;  // style_changed keys, for a block with an owner
    bool has_owner;
};

const style_value* find(const value_model& map, std::string_view key)
{
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

style_value expected_lookup(const block_model& model, const value_model& overrides, style_key key)
{
    if (const auto alias = model.aliases.find(key.view()); alias != model.aliases.end()) {
        key = alias->second;  // one level only
    }
    for (const value_model* level : {&model.own, &overrides}) {
        if (const style_value* value = find(*level, key.view())) {
            return *value;
        }
    }
    const auto found = default_theme().find(key);
    return found == default_theme().end() ? style_value{} : found->second;
}

void check_reads(const block_model& model, const value_model& overrides, std::span<const style_key> read)
{
    for (const style_key key : read) {
        const style_value expected = expected_lookup(model, overrides, key);
        const style_block& block = model.block;
        promise(same_value(lookup_style(block, key), expected), "lookup_style follows the chain");
        promise(same_bits(get_style_value(block, key), expected.rgba), "get_style_value reads the colour");
        promise(get_style_string(block, key) == expected.bytes, "get_style_string reads the bytes");
        promise(get_style_int(block, key) == first_bytes<std::int32_t>(expected, 0), "get_style_int");
        const float real = get_style_float(block, key);
        promise(std::bit_cast<std::uint32_t>(real) == first_bytes<std::uint32_t>(expected, 0), "get_style_float");
        promise(get_style_flag(block, key) == (first_bytes<std::uint8_t>(expected, 0) != 0), "get_style_flag");
        const image_reference image = get_style_image(block, key);
        const image_reference wanted = first_bytes<image_reference>(expected, image_reference{});
        promise(std::memcmp(&image, &wanted, sizeof(image_reference)) == 0, "get_style_image");
        promise(expected.bytes.size() >= sizeof(image_reference) ||
                    (image.data == nullptr && image.size == 0 && image.frames == 1),
                "a value too short for a picture reads as no picture");
    }
}

}  // namespace

// Every key through every reader of a fresh block, with no overrides: the defaults, or the empty value.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    style_block fresh{nullptr};
    check_reads(block_model{fresh, {}, {}, {}, false}, {}, keys());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    named_keys named;

    value_model overrides;
    style_map assigned;
    for (int n = input.ConsumeIntegralInRange<int>(0, 24); n > 0; --n) {
        const style_key key = named.pick(input);
        style_value value = any_value(input);
        overrides.insert_or_assign(key.view(), value);
        assigned.insert_or_assign(key, std::move(value));
    }
    theme_overrides() = std::move(assigned);

    widget first;
    widget second;
    style_block ownerless{nullptr};
    std::array<block_model, 3> models{block_model{first.style(), {}, {}, {}, true},
                                      block_model{second.style(), {}, {}, {}, true},
                                      block_model{ownerless, {}, {}, {}, false}};
    for (widget* owner : {&first, &second}) {
        block_model& model = models[owner == &first ? 0 : 1];
        connect_event(*owner, event_code::style_changed,
                      [&model](const event_info& event) { model.changes.emplace_back(changed_style_key(event)); });
    }

    while (input.remaining_bytes() > 0) {
        block_model& model = models[input.ConsumeIntegralInRange<std::size_t>(0, models.size() - 1)];
        const style_key key = named.pick(input);
        const std::size_t before = model.changes.size();
        if (input.ConsumeBool()) {
            const color rgba = any_color(input);
            set_style_property(model.block, key, rgba);
            model.own.insert_or_assign(key.view(), make_color_value(rgba));
        } else {
            const style_key alias = named.pick(input);
            set_style_alias(model.block, key, alias);
            model.aliases.insert_or_assign(key.view(), alias);
        }
        if (model.has_owner) {
            promise(model.changes.size() == before + 1 && model.changes.back() == key.view(),
                    "style_changed fires once with the key set or aliased");
        }
    }

    for (const block_model& model : models) {
        check_reads(model, overrides, named.all());
    }
    theme_overrides().clear();
    return 0;
}
