#pragma once

namespace qxsdk {

// The dispatcher keys handlers by an object's address, so an object that raises events must keep it:
// copying or moving one would leave its handlers with the old address.
class non_copyable_non_moveable {
public:
    non_copyable_non_moveable(const non_copyable_non_moveable&) = delete;
    non_copyable_non_moveable& operator=(const non_copyable_non_moveable&) = delete;

protected:
    non_copyable_non_moveable() = default;
    ~non_copyable_non_moveable() = default;
};

namespace ui {

// Base of every toolkit object that raises events (windows, widgets, controls). Destroying one drops
// every handler connected to it.
class event_object : public non_copyable_non_moveable {
public:
    virtual ~event_object();

protected:
    // Builds the process-wide dispatcher first, so that it outlives every event object, static ones too.
    event_object();
};

}  // namespace ui
}  // namespace qxsdk
