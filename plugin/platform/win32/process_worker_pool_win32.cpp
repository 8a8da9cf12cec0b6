#include <windows.h>

#include "plugin/platform/platform.h"
#include "plugin/render/worker_pool.h"

namespace kyrox {

// A DLL's static destructors run under the loader lock, where no thread can finish, so the workers
// cannot be joined at unload. Instead the module is pinned before the first worker starts: it stays
// mapped until the process ends, and the system ends the workers then, before the module hears of
// its detach. The pool is therefore never destroyed.
WorkerPool& worker_pool()
{
    static WorkerPool* const pool = [] {
        HMODULE self = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&worker_pool), &self);
        return new WorkerPool(platform::logical_processor_count());
    }();
    return *pool;
}

}  // namespace kyrox
