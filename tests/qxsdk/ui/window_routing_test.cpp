#include "qxsdk/ui/core/window_base.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"
#include "qxsdk/ui/core/event_dispatcher.h"

namespace {

using namespace qxsdk::ui;

// A window without a platform: the test says where the cursor is and whether Shift is held.
class test_window : public window_base {
public:
    explicit test_window(const rect& client) { create_root(client); }

    void invalidate_area(const rect&) override {}
    point cursor_position() const override { return cursor; }
    bool key_held(int kind) const override { return kind == key_kind::shift && shift; }

    point cursor;
    bool shift = false;
};

// A 400 x 300 window with a panel (10, 10, 200, 150) holding a label (20, 20, 50, 20) and a check box
// (100, 20, 40, 40), and a log of the events the test watches.
class WindowRoutingTest : public ::testing::Test {
protected:
    WindowRoutingTest()
    {
        attach_widget(panel, window.root(), {10, 10, 200, 150});
        attach_widget(label, panel, {20, 20, 50, 20});
        attach_widget(check_box, panel, {100, 20, 40, 40});
        panel.set_name("panel");
        label.set_name("label");
        check_box.set_name("check_box");
        window.root().set_name("root");
    }

    void watch(widget& w, std::initializer_list<std::int32_t> codes)
    {
        for (const std::int32_t code : codes) {
            connect_event(w, code, [this, &w](const event_info& event) {
                log.push_back(w.name() + " " + std::to_string(event.type) + " " + std::to_string(event.value));
            });
        }
    }

    void route_at(point p, std::int32_t code, std::uint64_t value = 0)
    {
        window.cursor = p;
        route_window_event(window, code, value);
    }

    test_window window{{0, 0, 400, 300}};
    widget panel;
    widget label;
    widget check_box;
    std::vector<std::string> log;
};

TEST_F(WindowRoutingTest, HitTestingFindsTheDeepestShownWidgetWithTheLaterSiblingOnTop)
{
    widget cover;
    attach_widget(cover, panel, {90, 10, 30, 30});  // over the check box's top-left corner
    EXPECT_EQ(widget_at_point(window, {115, 35}), &cover);
    EXPECT_EQ(widget_at_point(window, {135, 55}), &check_box);
    EXPECT_EQ(widget_at_point(window, {30, 30}), &label);  // left and top edges belong to the widget
    EXPECT_EQ(widget_at_point(window, {80, 50}), &panel);  // right edge of the label does not
    EXPECT_EQ(widget_at_point(window, {300, 200}), &window.root());
    EXPECT_EQ(widget_at_point(window, {400, 10}), nullptr);  // outside the client area
    EXPECT_EQ(widget_at_point(window, {-1, 10}), nullptr);
    set_visible(cover, false);
    EXPECT_EQ(widget_at_point(window, {115, 35}), &check_box);
    set_visible(window.root(), false);
    EXPECT_EQ(widget_at_point(window, {115, 35}), nullptr);
}

// Widgets whose far edges lie past 2^31, and a root moved to the most negative x, still hit-test by their
// true edges.
TEST(HitTesting, HoldsAtTheEndsOfTheRange)
{
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    test_window window{{0, 0, max, max}};
    widget far;
    attach_widget(far, window.root(), {max - 10, max - 10, 100, 100});
    struct row {
        point p;
        const widget* expected;
    };
    const row rows[] = {
        {{max - 5, max - 5}, &far},
        {{max - 11, max - 5}, &window.root()},
        {{5, 5}, &window.root()},
    };
    for (const row& r : rows) {
        EXPECT_EQ(widget_at_point(window, r.p), r.expected) << r.p.x << ", " << r.p.y;
    }

    test_window moved{{0, 0, 10, 10}};
    widget corner;
    attach_widget(corner, moved.root(), {0, 0, 5, 5});
    set_geometry(moved.root(), {min, 0, 10, 10});
    EXPECT_EQ(widget_at_point(moved, {1, 1}), &moved.root());  // 1 - min is far right of the corner
}

TEST_F(WindowRoutingTest, AClickOnADisabledWidgetNeitherFocusesNorFires)
{
    watch(check_box, {event_code::mouse_down, event_code::focus_gained});
    watch(panel, {event_code::mouse_down, event_code::focus_gained});
    set_enabled(check_box, false);
    route_at({115, 35}, event_code::mouse_down, mouse_button::left);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window.focused(), &window.root());

    route_at({150, 120}, event_code::mouse_down, mouse_button::right);  // empty space of the panel
    EXPECT_EQ(window.focused(), &panel);
    EXPECT_EQ(log, (std::vector<std::string>{"panel 22 0", "panel 2 2"}));
}

TEST_F(WindowRoutingTest, TheWheelBubblesToTheFirstAncestorWithWheelHandlers)
{
    watch(panel, {event_code::mouse_wheel});
    route_at({40, 40}, event_code::mouse_wheel, wheel_event_value(-120));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "panel 4 " + std::to_string(wheel_event_value(-120)));
    EXPECT_EQ(wheel_amount(wheel_event_value(-120)), -60.0);

    log.clear();
    set_enabled(label, false);  // the widget under the cursor must take input; its ancestors need not
    route_at({40, 40}, event_code::mouse_wheel, wheel_event_value(120));
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowRoutingTest, EnterAndLeaveFollowTheCursorAndMovesStayWithinAWidget)
{
    watch(label, {event_code::mouse_enter, event_code::mouse_leave, event_code::mouse_move});
    watch(panel, {event_code::mouse_enter, event_code::mouse_leave, event_code::mouse_move});
    route_at({150, 120}, event_code::mouse_move);
    route_at({40, 40}, event_code::mouse_move);
    route_at({41, 40}, event_code::mouse_move);
    route_at({150, 120}, event_code::mouse_move);
    route_at({150, 121}, event_code::mouse_leave);  // the cursor left the window while over the panel
    EXPECT_EQ(log, (std::vector<std::string>{"panel 5 0", "panel 6 0", "label 5 0", "label 7 0", "label 6 0",
                                             "panel 5 0", "panel 6 0"}));
    EXPECT_EQ(window.hovered(), &panel);  // kept until the next move
}

TEST_F(WindowRoutingTest, TheCapturedWidgetGetsMovesAndReleasesWithoutHoverChanges)
{
    watch(check_box, {event_code::mouse_move, event_code::mouse_up, event_code::mouse_enter});
    watch(label, {event_code::mouse_move, event_code::mouse_up, event_code::mouse_enter});
    set_captured_widget(&check_box);
    route_at({40, 40}, event_code::mouse_move);
    route_at({40, 40}, event_code::mouse_up, mouse_button::left);
    EXPECT_EQ(log, (std::vector<std::string>{"check_box 7 0", "check_box 1 0"}));
    EXPECT_EQ(window.hovered(), nullptr);

    set_captured_widget(nullptr);
    log.clear();
    route_at({40, 40}, event_code::mouse_up, mouse_button::left);
    EXPECT_EQ(log, (std::vector<std::string>{"label 1 0"}));
}

TEST_F(WindowRoutingTest, ADestroyedWidgetLeavesNoReferenceBehind)
{
    {
        widget doomed;
        attach_widget(doomed, panel, {0, 0, 10, 10});
        route_at({12, 12}, event_code::mouse_move);
        route_at({12, 12}, event_code::mouse_down, mouse_button::left);
        set_captured_widget(&doomed);
        ASSERT_EQ(window.focused(), &doomed);
        ASSERT_EQ(window.hovered(), &doomed);
    }
    EXPECT_EQ(window.focused(), nullptr);
    EXPECT_EQ(window.hovered(), nullptr);
    EXPECT_EQ(captured_widget(), nullptr);
    EXPECT_EQ(window.focus_order().size(), 4u);
}

TEST_F(WindowRoutingTest, KeysGoToTheFocusedWidgetAndFocusChangesReachTheWindowToo)
{
    watch(check_box, {event_code::key_down, event_code::char_input, event_code::focus_lost});
    connect_event(window, event_code::focus_lost, [this](const event_info&) { log.push_back("window 23"); });
    set_focus_widget(window, &check_box, focus_reason::click_or_system);
    route_window_event(window, event_code::key_down, 0x41);
    route_window_event(window, event_code::char_input, 'a');
    route_window_event(window, event_code::focus_lost, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"check_box 8 65", "check_box 10 97", "check_box 23 0", "window 23"}));
}

TEST_F(WindowRoutingTest, ResizedLaysOutTheRoot)
{
    route_window_event(window, event_code::resized, pack_pair(640, 480));
    EXPECT_EQ(window.root().geometry(), (rect{0, 0, 640, 480}));
}

TEST_F(WindowRoutingTest, ADoubleClickHandlerCountsOnlyOnAWidgetThatTakesInput)
{
    window.cursor = {40, 40};
    EXPECT_FALSE(has_double_click_handler(window, event_code::double_click));
    connect_event(label, event_code::double_click, [](const event_info&) {});
    EXPECT_TRUE(has_double_click_handler(window, event_code::double_click));
    set_enabled(panel, false);
    EXPECT_FALSE(has_double_click_handler(window, event_code::double_click));
}

// The focus order root, P, Q, R with P, Q and R focusable: Tab and Shift+Tab from the root and from R.
class FocusTraversalTest : public ::testing::Test {
protected:
    FocusTraversalTest()
    {
        for (widget* w : {&p, &q, &r}) {
            attach_widget(*w, window.root(), {0, 0, 10, 10});
            w->set_focusable(true);
        }
    }

    widget* tab(bool shift)
    {
        window.shift = shift;
        route_window_event(window, event_code::char_input, '\t');
        return window.focused();
    }

    test_window window{{0, 0, 100, 100}};
    widget p;
    widget q;
    widget r;
};

TEST_F(FocusTraversalTest, TabAndShiftTabFollowTheOrder)
{
    struct case_row {
        widget* start;
        bool shift;
        widget* expected;
    };
    const case_row rows[] = {
        {&window.root(), false, &p},
        {&window.root(), true, &q},  // the start first moves back to R, then one step further
        {&r, true, &q},
        {&r, false, &p},  // wraps past the root
        {nullptr, false, &p},
    };
    for (const case_row& row : rows) {
        set_focus_widget(window, row.start, focus_reason::click_or_system);
        EXPECT_EQ(tab(row.shift), row.expected) << (row.start ? row.start->name() : "nothing") << row.shift;
    }
}

TEST_F(FocusTraversalTest, TabSkipsDisabledAndHiddenWidgetsAndStaysWithoutAnyEligible)
{
    set_focus_widget(window, &p, focus_reason::click_or_system);
    set_enabled(q, false);
    EXPECT_EQ(tab(false), &r);
    set_visible(p, false);
    EXPECT_EQ(tab(false), &r);  // only R is eligible: the walk comes back to it
    set_enabled(r, false);
    EXPECT_EQ(tab(true), &r);
}

TEST_F(FocusTraversalTest, TabIsNotDeliveredAndFocusEventsCarryTheTabReason)
{
    std::vector<std::string> log;
    connect_event(p, event_code::char_input, [&](const event_info&) { log.push_back("char"); });
    connect_event(p, event_code::focus_gained,
                  [&](const event_info& e) { log.push_back("gained " + std::to_string(e.value)); });
    connect_event(p, event_code::focus_lost,
                  [&](const event_info& e) { log.push_back("lost " + std::to_string(e.value)); });
    tab(false);
    tab(false);
    EXPECT_EQ(log, (std::vector<std::string>{"gained 1", "lost 1"}));
}

}  // namespace
