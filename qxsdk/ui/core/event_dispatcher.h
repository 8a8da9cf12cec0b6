#pragma once

#include <cstdint>
#include <functional>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "qxsdk/ui/core/event_object.h"

// The process-wide registry of event handlers, keyed by the object that raises an event and the event's
// code. UI thread only: it has no lock.
namespace qxsdk::ui {

// What a handler receives.
struct event_info {
    event_object* sender = nullptr;
    std::int32_t type = 0;    // an event_code
    std::uint64_t value = 0;  // the code's payload, 0 where it has none
};

using event_handler = std::function<void(const event_info&)>;

class event_dispatcher : public non_copyable_non_moveable {
public:
    event_dispatcher();
    ~event_dispatcher();

    // Appends a copy of the handler to the (sender, code) list; connecting one callable twice runs it twice.
    void connect(event_object& sender, std::int32_t code, event_handler handler);

    // Calls the handlers of (sender, code) in connection order; false when there are none. It calls a copy
    // of the list, so handlers may connect or remove handlers of the sender (or drop them all) without
    // disturbing the firing, and those connected during it first run on the next one. Only the sender's
    // destruction ends a firing early, after the handler that destroyed it: the rest are bound to the
    // sender's members or to objects it owned. An empty handler throws std::bad_function_call once those
    // before it have run.
    bool fire(event_object& sender, std::int32_t code, std::uint64_t value);

    bool has_handlers(const event_object& sender, std::int32_t code) const;

    // Drops the sender's timer handlers; its other codes stay connected.
    void remove_timer_handlers(const event_object& sender);

    void disconnect_all(const event_object& sender);

private:
    friend class event_object;

    // The sender is being destroyed: drops its handlers and ends its firings in progress.
    void sender_destroyed(const event_object& sender);

    using handler_list = std::vector<event_handler>;
    using code_map = std::unordered_map<std::int32_t, handler_list>;
    class firing;

    std::unordered_map<const event_object*, code_map> senders_;
    firing* innermost_firing_ = nullptr;  // the firings in progress, innermost first, to tell of a vanished sender
};

// Builds the process-wide dispatcher if it is not built yet; it lives until the process exits.
void init_event_dispatcher();
event_dispatcher& get_event_dispatcher();

// The operations of the process-wide dispatcher.
void connect_event(event_object& sender, std::int32_t code, event_handler handler);
bool fire_event(event_object& sender, std::int32_t code, std::uint64_t value = 0);
bool has_handlers(const event_object& sender, std::int32_t code);
void remove_timer_handlers(const event_object& sender);
void disconnect_all(const event_object& sender);

// The handler shapes of the toolkit, each bound into an event_handler. The object must outlive the
// sender it is connected to.
template <class T>
event_handler bind_handler(T& object, std::type_identity_t<void (T::*)(const event_info&)> member)
{
    return [&object, member](const event_info& event) { (object.*member)(event); };
}

template <class T>
event_handler bind_handler(T& object, std::type_identity_t<void (T::*)()> member)
{
    return [&object, member](const event_info&) { (object.*member)(); };
}

template <class T>
event_handler bind_handler(T& object, std::type_identity_t<void (T::*)(bool)> member, bool argument)
{
    return [&object, member, argument](const event_info&) { (object.*member)(argument); };
}

template <class T>
event_handler bind_handler(T& object, std::type_identity_t<void (*)(T&, const event_info&)> function)
{
    return [&object, function](const event_info& event) { function(object, event); };
}

}  // namespace qxsdk::ui
