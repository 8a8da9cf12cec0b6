// The controls' layout arithmetic, the scroll bar's geometry, the DPI conversions and hit testing, with arbitrary 32-bit
// inputs and arbitrary float bits (NaN, infinities, denormals). Promises: no undefined behaviour (UBSan aborts);
// results within their documented ranges; real layouts (every input within 2^24 either way) exactly as the
// plain 32-bit sums give them (layout_reference.h).
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <optional>

#include "layout_reference.h"
#include "promise.h"
#include "qxsdk/ui/core/control_layout.h"
#include "qxsdk/ui/core/dpi_scale.h"
#include "qxsdk/ui/core/scroll_geometry.h"
#include "qxsdk/ui/core/window_base.h"

namespace {

using namespace qxsdk::ui;
using kyrox::fuzz::promise;
namespace reference = kyrox::fuzz::reference;

constexpr std::int32_t real_limit = 1 << 24;

// Inputs of three sizes, so that real layouts come often and the extremes too.
class inputs {
public:
    explicit inputs(FuzzedDataProvider& bytes) : bytes_(bytes) {}

    std::int32_t unit()
    {
        const auto value = bytes_.ConsumeIntegral<std::int32_t>();
        switch (bytes_.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return value;
        case 1:
            return value >> 7;  // within 2^24 either way
        default:
            return value % 400;
        }
    }
    size_units size() { return {unit(), unit()}; }
    float ratio() { return std::bit_cast<float>(bytes_.ConsumeIntegral<std::uint32_t>()); }
    bool flag() { return bytes_.ConsumeBool(); }
    int orientation() { return bytes_.ConsumeIntegralInRange<int>(-1, 2); }

private:
    FuzzedDataProvider& bytes_;
};

bool within(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return low <= value && value <= high;
}

bool real_values(std::initializer_list<std::int32_t> values)
{
    for (const std::int32_t v : values) {
        if (!within(v, -real_limit, real_limit)) {
            return false;
        }
    }
    return true;
}

void check_controls(inputs& in)
{
    const std::int32_t mode = in.unit() % 10;
    const size_units own = in.size(), frame = in.size(), caption = in.size();
    const checkbox_boxes previous{{in.unit(), 0, 0, 0}, {in.unit(), 0, 0, 0}};
    const checkbox_boxes boxes = checkbox_layout(mode, own, frame, caption, previous);
    promise(boxes.image.width == frame.width && boxes.image.height == frame.height &&
                boxes.text.width == caption.width && boxes.text.height == caption.height,
            "a check box keeps the sizes of its picture and caption");
    promise(boxes.image.y == saturate_units((std::int64_t{own.height} - frame.height) / 2),
            "a check box centres its picture vertically");
    if (real_values({own.width, own.height, frame.width, frame.height, caption.width, caption.height, previous.image.x,
                     previous.text.x})) {
        promise(boxes == reference::checkbox_layout(mode, own, frame, caption, previous), "real check box layout");
    }

    const std::int32_t frames = in.unit() % 8, frame_height = in.unit();
    const bool hovered = in.flag(), checked = in.flag();
    const std::int32_t top = checkbox_frame_top(frames, frame_height, hovered, checked);
    bool one_of_the_frames = false;
    for (const int k : {0, 1, 2, 3}) {
        one_of_the_frames = one_of_the_frames || top == saturate_units(std::int64_t{k} * frame_height);
    }
    promise(one_of_the_frames, "a check box shows one of the first four frames");
    const size_units button = in.size(), picture = in.size();
    const rect box = button_picture_box(button, picture, frame_height);
    if (real_values({frame_height, button.width, button.height, picture.width, picture.height})) {
        promise(top == reference::checkbox_frame_top(frames, frame_height, hovered, checked), "real frame top");
        promise(box == reference::button_picture_box(button, picture, frame_height), "real button picture");
    }

    const popup_metrics metrics{in.unit(), in.unit(), in.unit(), in.unit(), in.unit()};
    const std::int32_t type = in.unit() % 4;
    const size_units message = in.size();
    const popup_geometry popup = popup_layout(metrics, type, message);
    promise(popup.first_button.width == metrics.button_width && popup.message.x == metrics.margin,
            "a pop-up keeps its button size and margin");
    promise((type == popup_type::ok) == (popup.second_button == rect{}) || metrics.button_width == 0,
            "only a one-button pop-up leaves the second button empty");
    if (real_values({metrics.button_width, metrics.button_height, metrics.checkbox_height, metrics.margin,
                     metrics.spacing, message.width, message.height})) {
        promise(popup == reference::popup_layout(metrics, type, message), "real pop-up layout");
    }
}

void check_scroll_bar(inputs& in)
{
    const int orientation = in.orientation();
    const bool arrows = in.flag();
    const std::int32_t width = in.unit(), height = in.unit();
    const scroll_bar_boxes boxes = lay_out_scroll_bar(orientation, arrows, width, height);
    const bool real_bar = real_values({width, height});
    if (real_bar) {
        promise(boxes == reference::lay_out_scroll_bar(orientation, arrows, width, height), "real scroll bar boxes");
    }

    const scroll_axis axis{in.unit(), arrows ? in.unit() : 0, in.unit()};
    const std::int32_t content = in.unit(), parent = in.unit(), position = in.unit();
    const thumb_metrics thumb = measure_thumb(axis, content, parent, position);
    const std::int64_t track = axis.bar_length - 2 * std::int64_t{axis.arrow};
    const std::int64_t overflow = std::max<std::int64_t>(0, std::int64_t{content} - parent);
    promise(thumb.overflow == saturate_units(overflow) && thumb.offset == saturate_units(-std::int64_t{position}),
            "overflow and offset are the content's, held to the range");
    promise(thumb.length == saturate_units(std::max<std::int64_t>(axis.thickness, track - overflow)),
            "the thumb is never shorter than the bar is thick");
    promise(std::isfinite(thumb.ratio), "the ratio is a number");
    if (thumb.ratio > 0.0f && thumb.offset >= 0 && thumb.offset <= thumb.overflow) {
        // The thumb stays on its track, give or take the rounding of a float product of 24 significant bits.
        const std::int64_t travel = std::int64_t{thumb.start} - axis.arrow;
        const std::int64_t room = track - thumb.length;
        promise(travel >= 0 && travel <= room + room / (1 << 21) + 1, "the thumb stays on its track");
    }
    const bool real_thumb = real_values({axis.bar_length, axis.arrow, axis.thickness, content, parent, position});
    if (real_thumb) {
        const thumb_metrics old = reference::measure_thumb(axis, content, parent, position);
        promise(thumb.overflow == old.overflow && thumb.offset == old.offset && thumb.start == old.start &&
                    thumb.length == old.length &&
                    std::bit_cast<std::uint32_t>(thumb.ratio) == std::bit_cast<std::uint32_t>(old.ratio),
                "real thumb metrics");
    }

    // Presses on the measured thumb, and on a thumb of arbitrary numbers (a NaN ratio included).
    const std::int32_t press = in.unit();
    const thumb_metrics odd{in.unit(), in.unit(), in.unit(), in.unit(), in.ratio()};
    for (const thumb_metrics& t : {thumb, odd}) {
        const std::optional<std::int32_t> jump = track_press_offset(press, t, boxes, orientation, arrows);
        promise(!jump || (t.ratio > 0.0f && within(*jump, -1000000000, 1000000000)),
                "a press jumps only when the thumb can travel, and never beyond the offset bound");
        promise(!jump || press < t.start || press > std::int64_t{t.start} + t.length,
                "a press on the thumb does not jump");
        if (real_bar && real_values({press, t.start, t.length}) && !std::isnan(t.ratio)) {
            promise(jump == reference::track_press_offset(press, t, boxes, orientation, arrows), "real track press");
        }
    }

    const std::int32_t resized = content_position_after_parent_resize(position, content, parent);
    promise(resized == position || (resized <= 0 && resized > position), "a resize only pulls content back");
    if (real_values({position, content, parent})) {
        promise(resized == reference::content_position_after_parent_resize(position, content, parent),
                "real parent resize");
    }
}

void check_offsets(inputs& in)
{
    const std::int32_t offset = in.unit(), step = in.unit(), limit = std::abs(in.unit() % 100000000);
    const float ratio = in.ratio();

    const std::int32_t travel = thumb_travel(offset, ratio);
    promise(within(travel, -1000000000, 1000000000), "travel is held within the offset bound");
    const float product = static_cast<float>(offset) * ratio;
    promise(!std::isnan(product) || travel == 0, "a NaN product is no travel");
    if (!std::isnan(product)) {
        promise(travel == reference::travel(offset, ratio), "travel is the truncated product");
    }
    const std::optional<std::int32_t> dragged = drag_offset(offset, ratio);
    promise(dragged.has_value() == (ratio > 0.0f), "a drag moves only a thumb that can travel");
    promise(!dragged || within(*dragged, -1000000000, 1000000000), "a drag is held within the offset bound");
    promise(dragged == reference::drag(offset, ratio), "a drag is the truncated quotient");

    const std::int32_t snapped = snap_offset(offset, step);
    promise(step <= 0 ? snapped == offset
                      : snapped % step == 0 && std::abs(std::int64_t{snapped}) <= std::abs(std::int64_t{offset}) &&
                            std::abs(std::int64_t{offset} - snapped) < step,
            "an offset snaps toward zero onto the step");
    const std::int32_t to = content_position_for(offset, limit);
    const std::int32_t by = content_position_moved_by(offset, step, limit);
    promise(within(to, -limit, 0) && within(by, -limit, 0), "the content stays within its overflow");
}

void check_dpi(inputs& in)
{
    const std::int32_t a = in.unit(), b = in.unit(), c = in.unit();
    const std::int64_t product = std::int64_t{a} * b;
    const std::int32_t result = mul_div(a, b, c);
    if (c == 0) {
        promise(result == 0, "mul_div by 0 is 0");
    } else {
        // Halves away from zero: |q - a·b/c| <= 1/2, and a half only moves away from zero.
        const std::int64_t exact_q = product / c, remainder = product % c;
        const bool rounds_away = 2 * std::abs(remainder) >= std::abs(std::int64_t{c});
        const std::int64_t expected = exact_q + (rounds_away ? ((product < 0) != (c < 0) ? -1 : 1) : 0);
        if (within(expected, INT32_MIN, INT32_MAX)) {
            promise(result == expected, "mul_div rounds halves away from zero");
        }
    }
    const dpi_scale scale{in.unit(), in.unit()};
    const edges area{in.unit(), in.unit(), in.unit(), in.unit()};
    const edges pixels = scale.area_to_pixels(area);
    const edges back = scale.area_to_units(area);
    if (real_values({scale.x, scale.y, area.left, area.top, area.right, area.bottom}) && scale.x > 0 && scale.y > 0 &&
        scale.x <= 10 * units_per_inch && scale.y <= 10 * units_per_inch) {
        // Outward: the pixel area covers the unit area, and the unit area the pixel area.
        promise(std::int64_t{pixels.left} * units_per_inch <= std::int64_t{area.left} * scale.x &&
                    std::int64_t{pixels.right} * units_per_inch >= std::int64_t{area.right} * scale.x &&
                    std::int64_t{back.top} * scale.y <= std::int64_t{area.top} * units_per_inch &&
                    std::int64_t{back.bottom} * scale.y >= std::int64_t{area.bottom} * units_per_inch,
                "areas round outward");
    }
}

// A window without a platform, for hit testing.
class bare_window : public window_base {
public:
    explicit bare_window(const rect& client) { create_root(client); }

    void invalidate_area(const rect&) override {}
    point cursor_position() const override { return {}; }
    bool key_held(int) const override { return false; }
};

rect any_rect(inputs& in)
{
    return {in.unit(), in.unit(), in.unit(), in.unit()};
}

// The widget under a point is the root or a descendant whose true edges (summed in 64 bits) hold the point.
void check_hit_test(inputs& in)
{
    bare_window window{{0, 0, in.unit(), in.unit()}};
    widget outer, inner, sibling;
    attach_widget(outer, window.root(), any_rect(in));
    attach_widget(inner, outer, any_rect(in));
    attach_widget(sibling, window.root(), any_rect(in));
    if (in.flag()) {
        set_geometry(window.root(), any_rect(in));
    }
    const point p{in.unit(), in.unit()};
    const widget* hit = widget_at_point(window, p);
    const rect& root = window.root().geometry();
    const bool inside = p.x >= 0 && p.y >= 0 && p.x < root.width && p.y < root.height;
    promise((hit != nullptr) == inside, "a point inside the client area hits a widget");
    if (hit == nullptr || hit == &window.root()) {
        return;
    }
    std::int64_t x = std::int64_t{p.x} - root.x, y = std::int64_t{p.y} - root.y;
    for (const widget* w : hit == &inner ? std::initializer_list<const widget*>{&outer, &inner}
                                         : std::initializer_list<const widget*>{hit}) {
        const rect& area = w->geometry();
        promise(area.x <= x && x < std::int64_t{area.x} + area.width && area.y <= y &&
                    y < std::int64_t{area.y} + area.height,
                "the widget hit holds the point");
        x -= area.x;
        y -= area.y;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider bytes(data, size);
    inputs in(bytes);
    switch (bytes.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
        check_controls(in);
        break;
    case 1:
        check_scroll_bar(in);
        break;
    case 2:
        check_offsets(in);
        break;
    case 3:
        check_dpi(in);
        break;
    default:
        check_hit_test(in);
        break;
    }
    return 0;
}
