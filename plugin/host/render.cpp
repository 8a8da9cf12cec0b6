#include <cstdint>
#include <sstream>

#include "plugin/host/ae_plugin_connection.h"
#include "plugin/host/frame_render.h"
#include "plugin/platform/platform.h"

namespace kyrox {

namespace {

// Performance counter in nanoseconds, split so that large counter values cannot overflow.
std::int64_t now_nanoseconds() noexcept
{
    const std::int64_t ticks = platform::performance_counter();
    const std::int64_t frequency = platform::performance_frequency();
    return ticks / frequency * 1'000'000'000 + ticks % frequency * 1'000'000'000 / frequency;
}

}  // namespace

void AePluginConnection::render(CommandContext& context)
{
    const std::int64_t t0 = now_nanoseconds();
    render_frame_of(*this, context);
    const std::int64_t t1 = now_nanoseconds();
    const float milliseconds = static_cast<float>((t1 - t0) / 1000) * 0.001f;

    std::ostringstream line;
    line << " Video processing time: " << milliseconds << "\n";
    platform::debugger_output(line.str().c_str());
}

}  // namespace kyrox
