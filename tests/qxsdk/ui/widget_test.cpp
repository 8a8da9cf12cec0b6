#include "qxsdk/ui/core/widget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace qxsdk::ui {

void PrintTo(const rect& r, std::ostream* out)
{
    *out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}

}  // namespace qxsdk::ui

namespace {

using namespace qxsdk::ui;

// The window side of the seam: records what the widgets ask of it.
class fake_window : public widget_host {
public:
    void invalidate_area(const rect& area) override { invalidated.push_back(area); }
    void add_to_focus_order(widget& w) override { focus_order.push_back(&w); }
    void forget_widget(const widget& w) noexcept override { std::erase(focus_order, &w); }

    std::vector<rect> invalidated;
    std::vector<const widget*> focus_order;
};

// A root 500 x 360 in a fake window, and a log of the events of the widgets a test watches.
class WidgetTest : public ::testing::Test {
protected:
    WidgetTest() { create_root_widget(root, window, {600, 200, 500, 360}); }

    void watch(widget& w, const std::string& label, std::initializer_list<std::int32_t> codes)
    {
        for (const std::int32_t code : codes) {
            connect_event(w, code, [this, label](const event_info& event) {
                log.push_back(label + " " + std::to_string(event.type) + " " + std::to_string(event.value));
            });
        }
    }

    fake_window window;
    widget root;
    std::vector<std::string> log;
};

constexpr std::initializer_list<std::int32_t> tree_events{
    event_code::shown,       event_code::hidden,         event_code::attached,
    event_code::child_added, event_code::child_removed,  event_code::resized,
    event_code::moved,       event_code::parent_resized, event_code::parent_moved};

TEST(Widget, StartsDetachedAndHidden)
{
    const widget w;
    EXPECT_EQ(w.name(), "Widget");
    EXPECT_FALSE(w.created());
    EXPECT_EQ(w.parent(), nullptr);
    EXPECT_EQ(w.window(), nullptr);
    EXPECT_TRUE(w.children().empty());
    EXPECT_FALSE(w.own_visible());
    EXPECT_TRUE(w.effective_visible());
    EXPECT_FALSE(w.visible());
    EXPECT_TRUE(w.enabled());
    EXPECT_FALSE(w.focusable());
    EXPECT_EQ(w.geometry(), rect{});
    EXPECT_FALSE(w.anchors().left.on);
    EXPECT_FALSE(w.shadow().on);
    EXPECT_EQ(w.shadow().size, 20);
}

TEST(Widget, RootTakesTheClientSizeAtTheOrigin)
{
    fake_window window;
    widget root;
    std::vector<std::string> events;
    for (const std::int32_t code : {event_code::shown, event_code::attached}) {
        connect_event(root, code, [&](const event_info& e) { events.push_back(std::to_string(e.type)); });
    }
    create_root_widget(root, window, {600, 200, 500, 360});
    EXPECT_EQ(root.name(), "BaseWidget");
    EXPECT_EQ(root.geometry(), (rect{0, 0, 500, 360}));
    EXPECT_EQ(root.window(), &window);
    EXPECT_TRUE(root.visible());
    EXPECT_TRUE(root.created());
    EXPECT_EQ(window.focus_order, (std::vector<const widget*>{&root}));
    EXPECT_EQ(events, (std::vector<std::string>{"24", "16"}));
}

TEST_F(WidgetTest, AttachingRaisesShownChildAddedAttachedInOrder)
{
    widget child;
    bool visible_during_shown = true;
    connect_event(child, event_code::shown, [&](const event_info&) { visible_during_shown = child.own_visible(); });
    watch(child, "child", tree_events);
    watch(root, "root", tree_events);

    attach_widget(child, root, {10, 20, 100, 50});

    EXPECT_EQ(log, (std::vector<std::string>{"child 24 0", "root 20 " + std::to_string(address_value(&child)),
                                             "child 16 0"}));
    EXPECT_FALSE(visible_during_shown);
    EXPECT_TRUE(child.visible());
    EXPECT_TRUE(child.enabled());
    EXPECT_EQ(child.window(), &window);
    EXPECT_EQ(child.parent(), &root);
    EXPECT_EQ(child.geometry(), (rect{10, 20, 100, 50}));
    EXPECT_EQ(std::vector<widget*>(root.children().begin(), root.children().end()), (std::vector<widget*>{&child}));
    EXPECT_EQ(window.focus_order, (std::vector<const widget*>{&root, &child}));
}

TEST_F(WidgetTest, CreatingTurnsAnOwnEnabledFlagBackOn)
{
    widget child;
    widget grandchild;
    set_enabled(child, false);
    attach_widget(grandchild, child, {});
    EXPECT_FALSE(grandchild.effective_enabled());
    attach_widget(child, root, {});
    EXPECT_TRUE(child.own_enabled());
    EXPECT_TRUE(grandchild.enabled());
}

TEST_F(WidgetTest, SetVisibleRaisesOnlyOnAChangeBeforeTheFlagMoves)
{
    widget child;
    attach_widget(child, root, {5, 5, 10, 10});
    std::vector<bool> flag_during;
    for (const std::int32_t code : {event_code::shown, event_code::hidden}) {
        connect_event(child, code, [&](const event_info&) { flag_during.push_back(child.own_visible()); });
    }
    watch(child, "child", {event_code::shown, event_code::hidden});

    struct visibility_case {
        bool set_to;
        std::vector<std::string> events;
        bool repaints;
    };
    const visibility_case cases[] = {
        {true, {}, false}, {false, {"child 25 0"}, true}, {false, {}, false}, {true, {"child 24 0"}, true}};
    for (const visibility_case& c : cases) {
        log.clear();
        window.invalidated.clear();
        set_visible(child, c.set_to);
        EXPECT_EQ(log, c.events) << c.set_to;
        EXPECT_EQ(child.own_visible(), c.set_to);
        EXPECT_EQ(window.invalidated, (c.repaints ? std::vector<rect>{{5, 5, 10, 10}} : std::vector<rect>{}));
    }
    EXPECT_EQ(flag_during, (std::vector<bool>{true, false}));
}

// Visibility and enablement pass down a subtree the same way.
struct flag_access {
    const char* name;
    void (*set)(widget&, bool);
    bool (widget::*effective)() const noexcept;
    bool (widget::*combined)() const noexcept;
};

const flag_access flag_cases[] = {
    {"visible", set_visible, &widget::effective_visible, &widget::visible},
    {"enabled", set_enabled, &widget::effective_enabled, &widget::enabled},
};

TEST_F(WidgetTest, EffectiveFlagsFollowTheSubtree)
{
    for (const flag_access& flag : flag_cases) {
        widget page;
        widget shown_child;
        widget off_child;
        widget grandchild;
        attach_widget(page, root, {});
        attach_widget(shown_child, page, {});
        attach_widget(off_child, page, {});
        attach_widget(grandchild, shown_child, {});
        flag.set(off_child, false);

        flag.set(page, false);
        for (const widget* w : {&shown_child, &off_child, &grandchild}) {
            EXPECT_FALSE((w->*flag.effective)()) << flag.name;
        }

        flag.set(page, true);
        EXPECT_TRUE((shown_child.*flag.combined)()) << flag.name;
        EXPECT_TRUE((grandchild.*flag.combined)()) << flag.name;
        EXPECT_TRUE((off_child.*flag.effective)()) << flag.name;
        EXPECT_FALSE((off_child.*flag.combined)()) << flag.name << ": its own flag is still off";
    }
}

TEST_F(WidgetTest, SetEnabledRaisesNothingAndRepaints)
{
    widget child;
    attach_widget(child, root, {1, 2, 3, 4});
    watch(child, "child", tree_events);
    window.invalidated.clear();
    set_enabled(child, false);
    set_enabled(child, false);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window.invalidated, (std::vector<rect>{{1, 2, 3, 4}}));
}

TEST_F(WidgetTest, AnchorsHoldMarginsWhenTheParentResizes)
{
    constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();
    struct anchor_case {
        const char* what;
        anchor_set anchors;  // top, bottom, left, right
        rect before;
        rect after;  // in a parent resized to 300 x 200
    };
    const anchor_case cases[] = {
        {"left and right", {{}, {}, {true, 10}, {true, 10}}, {0, 0, 50, 20}, {10, 0, 280, 20}},
        {"right only", {{}, {}, {}, {true, 10}}, {0, 0, 85, 20}, {205, 0, 85, 20}},
        {"left only", {{}, {}, {true, 7}, {}}, {40, 5, 85, 20}, {7, 5, 85, 20}},
        {"top and bottom", {{true, 4}, {true, 6}, {}, {}}, {1, 0, 10, 10}, {1, 4, 10, 190}},
        {"bottom only", {{}, {true, 5}, {}, {}}, {1, 0, 10, 30}, {1, 165, 10, 30}},
        {"top only", {{true, 3}, {}, {}, {}}, {1, 50, 10, 30}, {1, 3, 10, 30}},
        {"none", {}, {1, 2, 3, 4}, {1, 2, 3, 4}},
        // Margins and lengths at the ends of the 32-bit range hold the result at the range's end.
        {"both, far margin least", {{}, {}, {true, 10}, {true, least}}, {0, 0, 50, 20}, {10, 0, most, 20}},
        {"both, near margin least", {{}, {}, {true, least}, {true, 10}}, {0, 0, 50, 20}, {least, 0, most, 20}},
        {"right only, length least", {{}, {}, {}, {true, 10}}, {0, 0, least, 20}, {most, 0, least, 20}},
        {"bottom only, margin most", {{}, {true, most}, {}, {}}, {1, 0, 10, most}, {1, least, 10, most}},
    };
    for (const anchor_case& c : cases) {
        widget parent;
        widget child;
        attach_widget(parent, root, {0, 0, 100, 100});
        attach_widget(child, parent, c.before);
        child.anchors() = c.anchors;
        watch(child, c.what, {event_code::resized, event_code::moved});
        set_geometry(parent, {0, 0, 300, 200});
        EXPECT_EQ(child.geometry(), c.after) << c.what;
    }
    EXPECT_TRUE(log.empty()) << "anchoring writes the rectangle without events";
}

// An area whose ancestors' positions add up beyond the 32-bit range is repainted at the range's end
// instead of wrapping past it.
TEST_F(WidgetTest, RepaintedAreasHoldAtTheEndsOfTheRange)
{
    constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();
    widget outer;
    widget inner;
    attach_widget(outer, root, {most - 5, least + 5, 10, 10});
    attach_widget(inner, outer, {0, 0, 1, 1});
    window.invalidated.clear();
    set_geometry(inner, {100, -100, 1, 1});
    EXPECT_EQ(window.invalidated, (std::vector<rect>{{most - 5, least + 5, 1, 1}, {most, least, 1, 1}}));
}

TEST_F(WidgetTest, SetGeometryRaisesResizeThenMoveEvents)
{
    widget panel;
    widget first;
    widget second;
    attach_widget(panel, root, {10, 20, 100, 50});
    attach_widget(first, panel, {});
    attach_widget(second, panel, {});
    watch(panel, "panel", tree_events);
    watch(first, "first", tree_events);
    watch(second, "second", tree_events);
    window.invalidated.clear();

    set_geometry(panel, {11, 22, 120, 60});

    const std::string size = std::to_string(pack_pair(100, 50));
    const std::string position = std::to_string(pack_pair(10, 20));
    EXPECT_EQ(log, (std::vector<std::string>{"panel 12 " + size, "first 18 " + size, "second 18 " + size,
                                             "panel 13 " + position, "first 19 " + position, "second 19 " + position}));
    // The children's anchoring repaints them first; the panel's old and new areas come last.
    ASSERT_GE(window.invalidated.size(), 2u);
    EXPECT_EQ(std::vector<rect>(window.invalidated.end() - 2, window.invalidated.end()),
              (std::vector<rect>{{10, 20, 100, 50}, {11, 22, 120, 60}}));
}

TEST_F(WidgetTest, MovingOnlyRaisesNoResizeAndAnchorsNothing)
{
    widget panel;
    widget child;
    attach_widget(panel, root, {10, 20, 100, 50});
    attach_widget(child, panel, {0, 0, 30, 30});
    child.anchors().right = {true, 10};
    watch(panel, "panel", tree_events);
    watch(child, "child", tree_events);

    set_geometry(panel, {15, 20, 100, 50});

    const std::string position = std::to_string(pack_pair(10, 20));
    EXPECT_EQ(log, (std::vector<std::string>{"panel 13 " + position, "child 19 " + position}));
    EXPECT_EQ(child.geometry(), (rect{0, 0, 30, 30}));
}

TEST_F(WidgetTest, UnchangedGeometryRaisesAndRepaintsNothing)
{
    widget panel;
    attach_widget(panel, root, {10, 20, 100, 50});
    watch(panel, "panel", tree_events);
    window.invalidated.clear();
    set_geometry(panel, {10, 20, 100, 50});
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(window.invalidated.empty());
}

TEST_F(WidgetTest, GeometryOfAWidgetNeverCreatedIsStoredSilently)
{
    widget loose;
    watch(loose, "loose", tree_events);
    window.invalidated.clear();
    set_geometry(loose, {1, 2, 3, 4});
    EXPECT_EQ(loose.geometry(), (rect{1, 2, 3, 4}));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(window.invalidated.empty());
}

TEST_F(WidgetTest, InvalidationIsAbsoluteInTheWindow)
{
    widget outer;
    widget inner;
    attach_widget(outer, root, {10, 20, 200, 200});
    attach_widget(inner, outer, {5, 7, 30, 40});
    window.invalidated.clear();
    invalidate_widget(inner);
    EXPECT_EQ(window.invalidated, (std::vector<rect>{{15, 27, 30, 40}}));

    const widget loose;
    invalidate_widget(loose);
    EXPECT_EQ(window.invalidated.size(), 1u) << "a widget without a window invalidates nothing";
}

TEST_F(WidgetTest, RemovingAChildKeepsItsWindowAndTheOthersOrder)
{
    widget a;
    widget b;
    widget c;
    for (widget* w : {&a, &b, &c}) {
        attach_widget(*w, root, {});
    }
    set_visible(root, false);
    watch(root, "root", tree_events);

    remove_child(root, b);
    remove_child(root, b);

    EXPECT_EQ(log, (std::vector<std::string>{"root 21 " + std::to_string(address_value(&b))}));
    EXPECT_EQ(std::vector<widget*>(root.children().begin(), root.children().end()), (std::vector<widget*>{&a, &c}));
    EXPECT_EQ(b.parent(), nullptr);
    EXPECT_EQ(b.window(), &window);
    EXPECT_TRUE(b.visible()) << "a removed child's effective flags are on again";
}

TEST_F(WidgetTest, DestroyedChildLeavesNothingBehind)
{
    auto child = std::make_unique<widget>();
    attach_widget(*child, root, {});
    const widget* address = child.get();
    watch(root, "root", {event_code::child_removed});

    child.reset();

    EXPECT_EQ(log, (std::vector<std::string>{"root 21 " + std::to_string(address_value(address))}));
    EXPECT_TRUE(root.children().empty());
    EXPECT_EQ(window.focus_order, (std::vector<const widget*>{&root}));
}

TEST_F(WidgetTest, DestroyedParentLeavesItsChildrenWithoutOne)
{
    widget child;
    {
        widget parent;
        attach_widget(parent, root, {});
        attach_widget(child, parent, {});
    }
    EXPECT_EQ(child.parent(), nullptr);
    EXPECT_EQ(window.focus_order, (std::vector<const widget*>{&root, &child}));
}

TEST_F(WidgetTest, OwnStyleChangesAreAnnouncedByTheWidget)
{
    widget child;
    attach_widget(child, root, {});
    std::vector<std::string> keys;
    connect_event(child, event_code::style_changed,
                  [&](const event_info& e) { keys.push_back(std::string(changed_style_key(e))); });
    set_style_property(child.style(), "default_back_color", make_color(0.176f, 0.176f, 0.176f, 1));
    EXPECT_EQ(keys, (std::vector<std::string>{"default_back_color"}));
    EXPECT_EQ(get_style_value(child.style(), "default_back_color"), make_color(0.176f, 0.176f, 0.176f, 1));
    EXPECT_EQ(get_style_value(root.style(), "default_back_color"), make_color(1, 0, 1, 1));
}

}  // namespace
