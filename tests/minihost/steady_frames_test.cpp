#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sstream>

#include "minihost/frame_session.h"
#include "minihost/plugin_module.h"
#include "minihost/scene_file.h"

// Every allocation of the program, the built plug-in file's among them, counted, to show what a frame
// allocates once the frames before it have sized what is kept.
namespace {

std::atomic<std::uint64_t> allocations{0};
std::atomic<std::uint64_t> large_allocations{0};
std::atomic<std::uint64_t> allocated_bytes{0};

// Blocks of this size or more come from fresh pages of the system: a frame that allocates one pays
// for it in page faults.
constexpr std::size_t large = 64 * 1024;

void* counted(std::size_t size, std::size_t alignment)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    allocated_bytes.fetch_add(size, std::memory_order_relaxed);
    if (size >= large) {
        large_allocations.fetch_add(1, std::memory_order_relaxed);
    }
    const std::size_t rounded = (std::max<std::size_t>(size, 1) + alignment - 1) / alignment * alignment;
    return alignment <= alignof(std::max_align_t) ? std::malloc(size == 0 ? 1 : size)
                                                  : std::aligned_alloc(alignment, rounded);
}

}  // namespace

void* operator new(std::size_t size)
{
    if (void* p = counted(size, alignof(std::max_align_t))) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    if (void* p = counted(size, static_cast<std::size_t>(alignment))) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return operator new(size, alignment);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return counted(size, alignof(std::max_align_t));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return counted(size, alignof(std::max_align_t));
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

namespace {

// A composition in a scene file's form, over the moving built-in blade.
struct Case {
    const char* name;
    const char* preset;
    int bytes_per_channel;
    const char* scene;
};

// Masks whose shape changes from frame to frame, one of them an open path stroked as a blade.
constexpr const char* moving_masks = R"({
  "params": {"109": 2, "8": 80},
  "masks": [
    {"open": false, "keys": [
      {"time": 0, "vertices": [[40, 40, 0, 0, 0, 0], [200, 40, 0, 0, 0, 0], [200, 200, 0, 0, 0, 0], [40, 200, 0, 0, 0, 0]]},
      {"time": 23, "vertices": [[60, 30, 0, 0, 0, 0], [300, 60, 0, 0, 0, 0], [280, 250, 0, 0, 0, 0], [20, 220, 0, 0, 0, 0]]}
    ]},
    {"open": true, "keys": [
      {"time": 0, "vertices": [[300, 100, 0, 0, 0, 40], [400, 200, -40, 0, 0, 0]]},
      {"time": 23, "vertices": [[250, 60, 0, 0, 0, 40], [460, 240, -40, 0, 0, 0]]}
    ]}
  ]
})";

constexpr const char* text_layer = R"({
  "params": {"109": 3, "133": true},
  "text": {"text": "Kyrox", "size": 96, "x": 40, "y": 200, "id": 3}
})";

// Allocations while the session renders the frames of its animation once.
struct Allocated {
    std::uint64_t count = 0;
    std::uint64_t large = 0;
    std::uint64_t bytes = 0;
};

constexpr A_long frames = 24;

Allocated render_sequence(minihost::FrameSession& session)
{
    const Allocated before{allocations, large_allocations, allocated_bytes};
    for (A_long f = 0; f < frames; ++f) {
        EXPECT_EQ(session.render(f), PF_Err_NONE);
    }
    return {allocations - before.count, large_allocations - before.large, allocated_bytes - before.bytes};
}

// Once a sequence has rendered, the same frames of a moving blade, masks or text again allocate no
// block large enough to take fresh pages, at every depth: what the stages, the host's worlds and its
// call log need is kept from frame to frame.
TEST(SteadyFrames, AMovingBladeAllocatesNoLargeBlockOnceWarm)
{
    const Case cases[] = {
        {"blade, 8-bit", "Default", 1, ""},          {"distorted blade, 16-bit", "Inferno", 2, ""},
        {"distorted blade, float", "Nebula", 4, ""}, {"masks, 8-bit", "Neon", 1, moving_masks},
        {"text, float", "Default", 4, text_layer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        minihost::SessionSettings settings;
        settings.width = 480;
        settings.height = 270;
        settings.preset = c.preset;
        settings.bytes_per_channel = c.bytes_per_channel;
        settings.frame_count = frames;
        const minihost::PluginModule module(KYROX_PLUGIN_PATH);
        minihost::FrameSession session(module.entry(), settings);
        if (*c.scene != '\0') {
            std::istringstream scene(c.scene);
            minihost::load_scene(session.host(), scene, c.name);
        }
        const Allocated warming = render_sequence(session);
        // The session before set the plug-in down, which released the kept buffers: the first frames
        // make them anew.
        ASSERT_GT(warming.large, 0u);
        const Allocated warm = render_sequence(session);
        EXPECT_EQ(warm.large, 0u) << warm.count << " allocations of " << warm.bytes << " bytes in " << frames
                                  << " frames";
    }
}

}  // namespace
