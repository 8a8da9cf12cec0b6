#include "minihost/global_setup.h"

#include "minihost/output_capture.h"

namespace minihost {

GlobalSetup::GlobalSetup(Host& host) : host_(host)
{
    StderrCapture banner;
    error_ = host_.global_setup();
    banner_ = banner.finish();
}

GlobalSetup::~GlobalSetup()
{
    set_down();
}

PF_Err GlobalSetup::set_down()
{
    if (set_down_) {
        return PF_Err_NONE;
    }
    set_down_ = true;
    // Sent after a failed set-up too: the plug-in may hold its instance already, and frees what it has.
    return host_.global_setdown();
}

}  // namespace minihost
