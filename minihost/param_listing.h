#pragma once

#include <ostream>

#include "minihost/host.h"

namespace minihost {

// One line per registered parameter: host index, ID, type, name and current value.
void print_params(std::ostream& out, Host& host);

}  // namespace minihost
