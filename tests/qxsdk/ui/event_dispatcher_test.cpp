#include "qxsdk/ui/core/event_dispatcher.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qxsdk/ui/core/event_codes.h"

namespace {

using namespace qxsdk::ui;

class probe : public event_object {};

// Handlers that write what they saw into one log, in calling order.
class DispatcherTest : public ::testing::Test {
protected:
    event_handler logger(std::string name)
    {
        return [this, name](const event_info& event) {
            log.push_back(name + ":" + std::to_string(event.type) + ":" + std::to_string(event.value));
        };
    }

    probe sender;
    std::vector<std::string> log;
};

TEST_F(DispatcherTest, FiringWithoutHandlersReturnsFalse)
{
    EXPECT_FALSE(fire_event(sender, event_code::paint));
    connect_event(sender, event_code::paint, logger("a"));
    EXPECT_FALSE(fire_event(sender, event_code::resized, 1));
    EXPECT_TRUE(log.empty());
}

TEST_F(DispatcherTest, HandlersRunInConnectionOrderOncePerConnection)
{
    const event_handler twice = logger("twice");
    connect_event(sender, event_code::mouse_up, logger("a"));
    connect_event(sender, event_code::mouse_up, twice);
    connect_event(sender, event_code::mouse_up, logger("b"));
    connect_event(sender, event_code::mouse_up, twice);

    EXPECT_TRUE(fire_event(sender, event_code::mouse_up, mouse_button::right));
    EXPECT_EQ(log, (std::vector<std::string>{"a:1:2", "twice:1:2", "b:1:2", "twice:1:2"}));
}

TEST_F(DispatcherTest, HandlersReceiveSenderCodeAndValue)
{
    const event_info* seen = nullptr;
    event_info copy;
    connect_event(sender, event_code::timer, [&](const event_info& event) {
        seen = &event;
        copy = event;
    });
    fire_event(sender, event_code::timer, 0x1234567890ull);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(copy.sender, &sender);
    EXPECT_EQ(copy.type, event_code::timer);
    EXPECT_EQ(copy.value, 0x1234567890ull);
}

TEST_F(DispatcherTest, HandlerConnectedDuringFiringRunsFromTheNextFiring)
{
    connect_event(sender, event_code::paint, [this](const event_info&) {
        log.push_back("outer");
        connect_event(sender, event_code::paint, logger("late"));
    });
    fire_event(sender, event_code::paint);
    EXPECT_EQ(log, (std::vector<std::string>{"outer"}));
    log.clear();
    fire_event(sender, event_code::paint);
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "late:11:0"}));
}

TEST_F(DispatcherTest, RemovingTheListDuringFiringDoesNotDisturbIt)
{
    connect_event(sender, event_code::timer, [this](const event_info&) { remove_timer_handlers(sender); });
    connect_event(sender, event_code::timer, logger("after"));
    EXPECT_TRUE(fire_event(sender, event_code::timer, 7));
    EXPECT_EQ(log, (std::vector<std::string>{"after:14:7"}));
    EXPECT_FALSE(has_handlers(sender, event_code::timer));
}

// Only destruction ends a firing: dropping every handler of a living sender leaves the firing's copy to run.
TEST_F(DispatcherTest, DisconnectingEverythingDuringFiringDoesNotDisturbIt)
{
    connect_event(sender, event_code::paint, [this](const event_info&) {
        log.push_back("drop all");
        disconnect_all(sender);
    });
    connect_event(sender, event_code::paint, logger("after"));
    connect_event(sender, event_code::timer, logger("timer"));

    EXPECT_TRUE(fire_event(sender, event_code::paint));
    EXPECT_EQ(log, (std::vector<std::string>{"drop all", "after:11:0"}));
    EXPECT_FALSE(has_handlers(sender, event_code::paint));
    EXPECT_FALSE(fire_event(sender, event_code::timer));

    // A handler connected after the drop, during the same firing, first runs on the next one.
    log.clear();
    connect_event(sender, event_code::paint, [this](const event_info&) {
        disconnect_all(sender);
        connect_event(sender, event_code::paint, logger("reconnected"));
    });
    connect_event(sender, event_code::paint, logger("second"));
    fire_event(sender, event_code::paint);
    EXPECT_EQ(log, (std::vector<std::string>{"second:11:0"}));
    log.clear();
    EXPECT_TRUE(fire_event(sender, event_code::paint));
    EXPECT_EQ(log, (std::vector<std::string>{"reconnected:11:0"}));
}

TEST_F(DispatcherTest, DisconnectingEverythingInANestedFiringLeavesTheOuterOneRunning)
{
    connect_event(sender, event_code::paint, [this](const event_info&) { fire_event(sender, event_code::timer); });
    connect_event(sender, event_code::paint, logger("paint after"));
    connect_event(sender, event_code::timer, [this](const event_info&) { disconnect_all(sender); });
    connect_event(sender, event_code::timer, logger("timer after"));
    fire_event(sender, event_code::paint);
    EXPECT_EQ(log, (std::vector<std::string>{"timer after:14:0", "paint after:11:0"}));
}

TEST_F(DispatcherTest, HandlerDestroyingItsSenderEndsTheFiring)
{
    auto doomed = std::make_unique<probe>();
    connect_event(*doomed, event_code::mouse_down, logger("before"));
    connect_event(*doomed, event_code::mouse_down, [&](const event_info&) {
        log.push_back("destroy");
        doomed.reset();
    });
    connect_event(*doomed, event_code::mouse_down, logger("after"));

    EXPECT_TRUE(fire_event(*doomed, event_code::mouse_down));
    EXPECT_EQ(log, (std::vector<std::string>{"before:2:0", "destroy"}));
}

TEST_F(DispatcherTest, DestroyingAnotherObjectLeavesTheFiringRunning)
{
    auto other = std::make_unique<probe>();
    connect_event(*other, event_code::paint, logger("other"));
    connect_event(sender, event_code::paint, [&](const event_info&) { other.reset(); });
    connect_event(sender, event_code::paint, logger("after"));
    fire_event(sender, event_code::paint);
    EXPECT_EQ(log, (std::vector<std::string>{"after:11:0"}));
}

TEST_F(DispatcherTest, NestedFiringOnTheSameSenderEndsBothWhenTheSenderGoes)
{
    auto doomed = std::make_unique<probe>();
    connect_event(*doomed, event_code::paint, [&](const event_info&) { fire_event(*doomed, event_code::timer); });
    connect_event(*doomed, event_code::paint, logger("paint after"));
    connect_event(*doomed, event_code::timer, [&](const event_info&) { doomed.reset(); });
    connect_event(*doomed, event_code::timer, logger("timer after"));
    fire_event(*doomed, event_code::paint);
    EXPECT_TRUE(log.empty());
}

TEST_F(DispatcherTest, DestroyedSenderLeavesNoHandlersBehind)
{
    // An optional reuses its storage, so the second object has the first one's address.
    std::optional<probe> slot;
    slot.emplace();
    connect_event(*slot, event_code::paint, logger("a"));
    slot.reset();
    slot.emplace();
    EXPECT_FALSE(has_handlers(*slot, event_code::paint));
    EXPECT_FALSE(fire_event(*slot, event_code::paint));
    EXPECT_TRUE(log.empty());
}

TEST_F(DispatcherTest, RemoveTimerHandlersKeepsOtherCodes)
{
    connect_event(sender, event_code::timer, logger("timer"));
    connect_event(sender, event_code::paint, logger("paint"));
    remove_timer_handlers(sender);
    remove_timer_handlers(sender);
    EXPECT_FALSE(has_handlers(sender, event_code::timer));
    EXPECT_FALSE(fire_event(sender, event_code::timer, 1));
    EXPECT_TRUE(fire_event(sender, event_code::paint));
    EXPECT_EQ(log, (std::vector<std::string>{"paint:11:0"}));
}

TEST_F(DispatcherTest, DisconnectAllDropsEveryCode)
{
    connect_event(sender, event_code::timer, logger("timer"));
    connect_event(sender, event_code::paint, logger("paint"));
    disconnect_all(sender);
    EXPECT_FALSE(has_handlers(sender, event_code::timer));
    EXPECT_FALSE(has_handlers(sender, event_code::paint));
    probe never_connected;
    disconnect_all(never_connected);
}

TEST_F(DispatcherTest, EmptyHandlerThrowsAfterEarlierHandlersRan)
{
    connect_event(sender, event_code::key_down, logger("first"));
    connect_event(sender, event_code::key_down, event_handler{});
    connect_event(sender, event_code::key_down, logger("never"));
    EXPECT_THROW(fire_event(sender, event_code::key_down, 13), std::bad_function_call);
    EXPECT_EQ(log, (std::vector<std::string>{"first:8:13"}));

    // The firing ended cleanly: the sender can still be destroyed and fired on.
    disconnect_all(sender);
    EXPECT_FALSE(fire_event(sender, event_code::key_down));
}

TEST(EventDispatcher, IsOneProcessWideInstance)
{
    init_event_dispatcher();
    EXPECT_EQ(&get_event_dispatcher(), &get_event_dispatcher());
}

// The four handler shapes of the toolkit.
class listener {
public:
    void on_event(const event_info& event) { calls.push_back("event " + std::to_string(event.value)); }
    void on_nothing() { calls.push_back("nothing"); }
    void on_flag(bool value) { calls.push_back(value ? "flag true" : "flag false"); }
    static void on_plain(listener& self, const event_info& event)
    {
        self.calls.push_back("plain " + std::to_string(event.type));
    }

    std::vector<std::string> calls;
};

TEST(HandlerShapes, EachBindsIntoAHandler)
{
    probe sender;
    listener target;
    connect_event(sender, event_code::toggled, bind_handler(target, &listener::on_event));
    connect_event(sender, event_code::toggled, bind_handler(target, &listener::on_nothing));
    connect_event(sender, event_code::toggled, bind_handler(target, &listener::on_flag, true));
    connect_event(sender, event_code::toggled, bind_handler(target, &listener::on_flag, false));
    connect_event(sender, event_code::toggled, bind_handler(target, &listener::on_plain));
    fire_event(sender, event_code::toggled, 5);
    EXPECT_EQ(target.calls, (std::vector<std::string>{"event 5", "nothing", "flag true", "flag false", "plain 26"}));
}

TEST(EventValues, WheelCarriesHalfTheDeltaAsDoubleBits)
{
    struct wheel_case {
        std::int32_t delta;
        double amount;
    };
    for (const wheel_case c : {wheel_case{120, 60.0}, {-120, -60.0}, {240, 120.0}, {1, 0.5}, {0, 0.0}}) {
        const std::uint64_t value = wheel_event_value(c.delta);
        EXPECT_EQ(wheel_amount(value), c.amount) << c.delta;
        EXPECT_EQ(value, std::bit_cast<std::uint64_t>(c.amount)) << c.delta;
    }
    EXPECT_EQ(wheel_event_value(120), 0x404E000000000000ull);
}

TEST(EventValues, PairsPackLowThenHigh)
{
    struct pair_case {
        std::int32_t low;
        std::int32_t high;
        std::uint64_t packed;
    };
    for (const pair_case c : {pair_case{300, 200, 0x000000C80000012Cull},
                              {-1, 0, 0x00000000FFFFFFFFull},
                              {0, -2, 0xFFFFFFFE00000000ull},
                              {-5, -6, 0xFFFFFFFAFFFFFFFBull}}) {
        EXPECT_EQ(pack_pair(c.low, c.high), c.packed);
        EXPECT_EQ(pair_low(c.packed), c.low);
        EXPECT_EQ(pair_high(c.packed), c.high);
    }
}

TEST(EventValues, AddressesRoundTrip)
{
    probe object;
    EXPECT_EQ(value_address<probe>(address_value(&object)), &object);
}

TEST(EventCodes, HaveTheirNumbers)
{
    const std::vector<std::int32_t> codes{
        event_code::mouse_up,       event_code::mouse_down,    event_code::double_click,  event_code::mouse_wheel,
        event_code::mouse_enter,    event_code::mouse_leave,   event_code::mouse_move,    event_code::key_down,
        event_code::key_up,         event_code::char_input,    event_code::paint,         event_code::resized,
        event_code::moved,          event_code::timer,         event_code::attached,      event_code::parent_resized,
        event_code::parent_moved,   event_code::child_added,   event_code::child_removed, event_code::focus_gained,
        event_code::focus_lost,     event_code::shown,         event_code::hidden,        event_code::toggled,
        event_code::button_clicked, event_code::files_dropped, event_code::ime_event,     event_code::style_changed};
    EXPECT_EQ(codes, (std::vector<std::int32_t>{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                                16, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 29, 30, 31}));
}

}  // namespace
