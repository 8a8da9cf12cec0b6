#pragma once

#include "hostapi/effect_api.h"

namespace minihost {

// What the host answers where the plug-in asks it something; tests change these before a command.
struct HostSettings {
    AEGP_PluginID plugin_id = 17;             // handed out at registration
    PF_Boolean render_engine = 0;             // PF_IsRenderEngine
    void* main_window = nullptr;              // platform data: main window
    PF_Err layer_pixels_error = PF_Err_NONE;  // smart render: checkout of layer pixels fails with this
    PF_Err output_error = PF_Err_NONE;        // smart render: checkout of the output fails with this
    bool withhold_output = false;             // smart render: no output buffer, no error
    PF_Err pre_render_checkout_error = PF_Err_NONE;
};

}  // namespace minihost
