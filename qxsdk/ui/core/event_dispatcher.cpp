#include "qxsdk/ui/core/event_dispatcher.h"

#include <utility>

#include "qxsdk/ui/core/event_codes.h"

namespace qxsdk::ui {

namespace {

constexpr std::size_t initial_buckets = 8;

template <class Map>
Map make_map()
{
    Map map(initial_buckets);
    map.max_load_factor(1.0f);
    return map;
}

}  // namespace

// One firing in progress, linked into the dispatcher's chain for as long as it runs.
class event_dispatcher::firing {
public:
    firing(event_dispatcher& dispatcher, const event_object& sender) noexcept
        : dispatcher_(dispatcher), sender_(sender), outer_(dispatcher.innermost_firing_)
    {
        dispatcher_.innermost_firing_ = this;
    }

    ~firing() { dispatcher_.innermost_firing_ = outer_; }

    firing(const firing&) = delete;
    firing& operator=(const firing&) = delete;

    const event_object& sender() const noexcept { return sender_; }
    firing* outer() const noexcept { return outer_; }
    bool sender_gone() const noexcept { return sender_gone_; }
    void mark_sender_gone() noexcept { sender_gone_ = true; }

private:
    event_dispatcher& dispatcher_;
    const event_object& sender_;
    firing* outer_;
    bool sender_gone_ = false;
};

event_dispatcher::event_dispatcher() : senders_(make_map<decltype(senders_)>()) {}

event_dispatcher::~event_dispatcher() = default;

void event_dispatcher::connect(event_object& sender, std::int32_t code, event_handler handler)
{
    auto sender_entry = senders_.find(&sender);
    if (sender_entry == senders_.end()) {
        sender_entry = senders_.emplace(&sender, make_map<code_map>()).first;
    }
    sender_entry->second[code].push_back(std::move(handler));
}

bool event_dispatcher::fire(event_object& sender, std::int32_t code, std::uint64_t value)
{
    const auto sender_entry = senders_.find(&sender);
    if (sender_entry == senders_.end()) {
        return false;
    }
    const auto list = sender_entry->second.find(code);
    if (list == sender_entry->second.end()) {
        return false;
    }
    const handler_list handlers = list->second;
    firing current(*this, sender);
    const event_info event{&sender, code, value};
    for (const event_handler& handler : handlers) {
        handler(event);
        if (current.sender_gone()) {
            break;
        }
    }
    return true;
}

bool event_dispatcher::has_handlers(const event_object& sender, std::int32_t code) const
{
    const auto sender_entry = senders_.find(&sender);
    return sender_entry != senders_.end() && sender_entry->second.contains(code);
}

void event_dispatcher::remove_timer_handlers(const event_object& sender)
{
    const auto sender_entry = senders_.find(&sender);
    if (sender_entry != senders_.end()) {
        sender_entry->second.erase(event_code::timer);
    }
}

void event_dispatcher::disconnect_all(const event_object& sender)
{
    senders_.erase(&sender);
}

void event_dispatcher::sender_destroyed(const event_object& sender)
{
    disconnect_all(sender);
    for (firing* f = innermost_firing_; f != nullptr; f = f->outer()) {
        if (&f->sender() == &sender) {
            f->mark_sender_gone();
        }
    }
}

event_dispatcher& get_event_dispatcher()
{
    static event_dispatcher dispatcher;
    return dispatcher;
}

void init_event_dispatcher()
{
    get_event_dispatcher();
}

void connect_event(event_object& sender, std::int32_t code, event_handler handler)
{
    get_event_dispatcher().connect(sender, code, std::move(handler));
}

bool fire_event(event_object& sender, std::int32_t code, std::uint64_t value)
{
    return get_event_dispatcher().fire(sender, code, value);
}

bool has_handlers(const event_object& sender, std::int32_t code)
{
    return get_event_dispatcher().has_handlers(sender, code);
}

void remove_timer_handlers(const event_object& sender)
{
    get_event_dispatcher().remove_timer_handlers(sender);
}

void disconnect_all(const event_object& sender)
{
    get_event_dispatcher().disconnect_all(sender);
}

}  // namespace qxsdk::ui
