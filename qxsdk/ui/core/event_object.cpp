#include "qxsdk/ui/core/event_object.h"

#include "qxsdk/ui/core/event_dispatcher.h"

namespace qxsdk::ui {

event_object::event_object()
{
    init_event_dispatcher();
}

event_object::~event_object()
{
    get_event_dispatcher().sender_destroyed(*this);
}

}  // namespace qxsdk::ui
