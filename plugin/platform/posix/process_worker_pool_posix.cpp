#include "plugin/platform/platform.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// Static destruction at exit or unload stops and joins the workers.
WorkerPool& worker_pool()
{
    static WorkerPool pool(platform::logical_processor_count());
    return pool;
}

}  // namespace kyrox
