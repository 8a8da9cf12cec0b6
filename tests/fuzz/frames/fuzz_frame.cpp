// Whole small frames with any parameter values: no crash, no undefined behaviour, no leak; float output all
// finite; and, where the machine has a wide instruction path, the same bytes from it as from the baseline
// path, which a helper copy of this program renders (see baseline_server.h).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>

#include "plugin/platform/simd/simd_path.h"
#include "tests/fuzz/frames/baseline_server.h"
#include "tests/fuzz/frames/frame_input.h"

namespace {

std::uint64_t frame_digest(std::span<const std::uint8_t> input)
{
    return kyrox::fuzz::render_frame_input(input).digest;
}

[[noreturn]] void fail(const char* reason, std::span<const std::uint8_t> input)
{
    std::fprintf(stderr, "fuzz_frame: %s: %s\n", reason, kyrox::fuzz::describe_frame_input(input).c_str());
    std::abort();
}

// The helper, when this process runs a wider path than the baseline; started at first use.
kyrox::fuzz::BaselineServer* baseline()
{
    static const std::unique_ptr<kyrox::fuzz::BaselineServer> server = [] {
        if (kyrox::simd::widest_path() == kyrox::simd::SimdPath::sse2) {
            return std::unique_ptr<kyrox::fuzz::BaselineServer>();
        }
        auto started = kyrox::fuzz::BaselineServer::start();
        if (started == nullptr) {
            std::fprintf(stderr, "fuzz_frame: cannot start the baseline helper\n");
            std::abort();
        }
        return started;
    }();
    return server.get();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (kyrox::fuzz::is_baseline_server()) {
        kyrox::fuzz::serve_baseline(&frame_digest);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    kyrox::fuzz::BaselineServer* server = baseline();
    if (server != nullptr && !server->send(input)) {
        fail("the baseline helper is gone", input);
    }
    const kyrox::fuzz::FrameOutcome outcome = kyrox::fuzz::render_frame_input(input);
    if (outcome.error != PF_Err_NONE) {
        fail("the render failed", input);
    }
    if (!outcome.finite) {
        fail("float output holds NaN or infinity", input);
    }
    if (server != nullptr) {
        const auto baseline_digest = server->receive();
        if (!baseline_digest) {
            fail("the baseline helper died on this input", input);
        }
        if (*baseline_digest != outcome.digest) {
            fail("the wide path and the baseline path differ", input);
        }
    }
    return 0;
}
