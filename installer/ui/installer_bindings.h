#pragma once
// How the wizard's handlers are bound: a function object under a widget and an event code, a member
// of the wizard, and a plain function taking the wizard. The wizard outlives every widget it binds.

#include "qxsdk/ui/core/event_dispatcher.h"

#include <cstdint>
#include <utility>

namespace installer::ui {

class InstallerUI;

inline void connect_installer_callback(qxsdk::ui::event_object& sender, std::int32_t code,
                                       qxsdk::ui::event_handler handler)
{
    qxsdk::ui::connect_event(sender, code, std::move(handler));
}

inline void bind_installer_member(InstallerUI& wizard, qxsdk::ui::event_object& sender, std::int32_t code,
                                  void (InstallerUI::*member)(const qxsdk::ui::event_info&))
{
    connect_installer_callback(sender, code, qxsdk::ui::bind_handler(wizard, member));
}

inline void connect_installer_handler(InstallerUI& wizard, qxsdk::ui::event_object& sender, std::int32_t code,
                                      void (*handler)(InstallerUI&))
{
    connect_installer_callback(sender, code, [&wizard, handler](const qxsdk::ui::event_info&) { handler(wizard); });
}

}  // namespace installer::ui
