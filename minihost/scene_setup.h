#pragma once

#include <cstddef>

#include "minihost/host.h"

namespace minihost {

// Keys a parameter of the given ID at a time (in the input record's time-scale units).
void key_param(Host& host, A_long id, A_long time, const PF_ParamDef& value);
void key_float(Host& host, A_long id, A_long time, double value);
void key_point(Host& host, A_long id, A_long time, double x, double y);

// Adds a layer to the composition and chooses it in the Text Layer parameter: its pixels become
// that parameter's value and the layer checked out under the parameter's ID.
CompLayer& choose_text_layer(Host& host, CompLayer layer);

// Everything the plug-in holds of the host's objects: effect handles, streams, stream values,
// masks and text outlines.
std::size_t open_host_objects(Host& host);

}  // namespace minihost
