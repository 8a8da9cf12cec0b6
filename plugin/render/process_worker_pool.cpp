#include "plugin/platform/platform.h"
#include "plugin/render/worker_pool.h"

// The process-wide pool alone in its file, so that a program may define its own worker_pool() in
// its place (the linker then leaves this one out).
namespace kyrox {

WorkerPool& worker_pool()
{
    // A pinned module stays mapped until the process ends, and the system ends the workers then,
    // before the module hears of its detach: that pool is never destroyed. Elsewhere static
    // destruction at exit or unload stops and joins the workers.
    static WorkerPool* const pool = []() -> WorkerPool* {
        if (platform::pin_module()) {
            return new WorkerPool(platform::logical_processor_count());
        }
        static WorkerPool owned(platform::logical_processor_count());
        return &owned;
    }();
    return *pool;
}

}  // namespace kyrox
