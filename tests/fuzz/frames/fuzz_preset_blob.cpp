// Stored preset records through the host: arbitrary, truncated and oversized record lists, the built-in
// blobs with bytes changed, the Preset popup at any value, and sequence records the effect must ignore;
// then a small frame with what the parameters hold. Promises: no crash, undefined behaviour or leak; every
// parameter ends up exactly as the record format's own reading gives (preset_oracle.h: values, change
// flags and every other field), so a list with a wrong header changes nothing; the frame renders without
// error and float output is finite.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "hostapi/pf_commands.h"
#include "plugin/host/command_context.h"
#include "plugin/host/param_ids.h"
#include "plugin/host/presets.h"
#include "plugin/host/presets_detail.h"
#include "tests/fuzz/frames/fuzz_host.h"
#include "tests/fuzz/frames/preset_oracle.h"

namespace {

// Input layout: an 8-byte head, then what the mode reads.
//   0     mode: 0 the rest is a record list; 1 a built-in blob changed by the rest; 2 the Preset popup
//         through the user-changed command; 3 the rest as sequence data through the sequence commands
//   1     depth (bits 0-1: 8, 16, float) and downsampling (bits 2-3: 1 to 4)
//   2, 3  frame width and height, 1 to 32
//   4-7   mode 1: preset (byte 4), kept length (bytes 5-6, little-endian; 0 keeps the blob's size);
//         mode 2: the popup value (i32)
//   8-    mode 0, 3: the bytes; mode 1: (offset u16, byte) changes; mode 2: byte 8, the changed parameter's
//         index as a signed byte (127: the Preset popup's)
constexpr std::size_t head_size = 8;
constexpr std::size_t longest_kept = 8192;

enum class Mode : std::uint8_t { records, built_in, popup, sequence };

std::uint32_t u32_at(std::span<const std::uint8_t> bytes, std::size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, sizeof v);
    return v;
}

[[noreturn]] void fail(const char* reason, A_long id)
{
    std::fprintf(stderr, "fuzz_preset_blob: %s (parameter %d)\n", reason, static_cast<int>(id));
    std::abort();
}

std::vector<std::uint8_t> changed_built_in(std::span<const std::uint8_t> head, std::span<const std::uint8_t> rest)
{
    const std::size_t item = kyrox::first_preset_item +
                             head[4] % static_cast<std::size_t>(kyrox::last_preset_item - kyrox::first_preset_item + 1);
    const std::span<const std::uint8_t> stored = kyrox::preset_table[item];
    std::vector<std::uint8_t> blob(stored.begin(), stored.end());
    const std::size_t kept = static_cast<std::size_t>(head[5] | head[6] << 8);
    if (kept != 0) {
        blob.resize(std::min(kept, longest_kept), 0);
    }
    for (std::size_t k = 0; k + 3 <= rest.size() && !blob.empty(); k += 3) {
        blob[static_cast<std::size_t>(rest[k] | rest[k + 1] << 8) % blob.size()] = rest[k + 2];
    }
    return blob;
}

// The host's parameters hold exactly what was expected of them: values, change flags and every other
// field.
void check_params(const std::vector<PF_ParamDef>& expected, const std::vector<PF_ParamDef>& actual,
                  const minihost::ParamState& state)
{
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const PF_ParamDef& want = expected[i];
        const PF_ParamDef& got = actual[i];
        const A_long id = state.id_at(static_cast<PF_ParamIndex>(i));
        if (got.uu.change_flags != want.uu.change_flags) {
            fail(want.uu.change_flags == PF_ChangeFlag_NONE ? "a parameter no record applies to is marked changed"
                                                            : "a parameter a record applies to is not marked changed",
                 id);
        }
        if (std::memcmp(&got.u, &want.u, sizeof got.u) != 0) {
            fail("a parameter's value is not what the records give", id);
        }
        if (std::memcmp(&got, &want, sizeof got) != 0) {
            fail("a record changed a parameter beyond its value", id);
        }
    }
}

void apply_records(kyrox::fuzz::FuzzHost& host, std::span<const std::uint8_t> blob)
{
    minihost::Host& h = host.host();
    std::vector<PF_ParamDef*> pointers;
    for (PF_ParamDef& param : h.params()) {
        pointers.push_back(&param);
    }
    kyrox::CommandContext context;
    context.in_data = &h.in_data();
    context.out_data = &h.out_data();
    context.params = pointers.data();
    h.param_state().clear_change_flags(h.params());
    const std::vector<PF_ParamDef> expected =
        kyrox::fuzz::params_after(kyrox::fuzz::stored_records(blob), h.params(), h.param_state());
    h.run_as_command([&] { kyrox::apply_preset_blob(context, blob); });
    check_params(expected, h.params(), h.param_state());
    h.param_state().collect_changes(h.params());
}

void choose_popup(kyrox::fuzz::FuzzHost& host, std::span<const std::uint8_t> head, std::span<const std::uint8_t> rest)
{
    minihost::Host& h = host.host();
    const PF_ParamIndex preset_index = h.param_state().index_of(kyrox::param::preset);
    const auto value = static_cast<A_long>(u32_at(head, 4));
    const auto chosen = rest.empty() ? std::int8_t{127} : static_cast<std::int8_t>(rest[0]);
    const PF_ParamIndex index = chosen == 127 ? preset_index : chosen;
    host.param(kyrox::param::preset).u.pd.value = value;
    const bool applies = index == preset_index && value >= kyrox::first_preset_item && value <= kyrox::last_preset_item;
    h.param_state().clear_change_flags(h.params());
    const std::vector<kyrox::fuzz::StoredRecord> records =
        applies ? kyrox::fuzz::stored_records(kyrox::preset_table[static_cast<std::size_t>(value)])
                : std::vector<kyrox::fuzz::StoredRecord>{};
    const std::vector<PF_ParamDef> expected = kyrox::fuzz::params_after(records, h.params(), h.param_state());
    if (h.send(PF_Cmd_USER_CHANGED_PARAM, nullptr) != PF_Err_NONE) {
        fail("the user-changed command without its record failed", kyrox::param::preset);
    }
    PF_UserChangedParamExtra extra{index};
    if (h.send(PF_Cmd_USER_CHANGED_PARAM, &extra) != PF_Err_NONE) {
        fail("the user-changed command failed", kyrox::param::preset);
    }
    check_params(expected, h.params(), h.param_state());
    h.param_state().collect_changes(h.params());
    if (host.param(kyrox::param::preset).u.pd.value != value) {
        fail("the Preset popup lost its value", kyrox::param::preset);
    }
}

// The effect keeps no sequence data: the sequence commands return no error and touch nothing.
void send_sequence_data(kyrox::fuzz::FuzzHost& host, std::span<const std::uint8_t> rest)
{
    minihost::Host& h = host.host();
    const PF_Handle handle = h.new_handle(rest.size());
    std::copy(rest.begin(), rest.end(), static_cast<std::uint8_t*>(*handle));
    h.in_data().sequence_data = handle;
    const std::vector<PF_ParamDef> expected = h.params();
    for (const PF_Cmd cmd :
         {PF_Cmd_SEQUENCE_SETUP, PF_Cmd_SEQUENCE_RESETUP, PF_Cmd_SEQUENCE_FLATTEN, PF_Cmd_SEQUENCE_SETDOWN}) {
        if (h.send(cmd) != PF_Err_NONE) {
            fail("a sequence command failed", 0);
        }
    }
    h.in_data().sequence_data = nullptr;
    h.dispose_handle(handle);
    check_params(expected, h.params(), h.param_state());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < head_size) {
        return -1;  // not worth keeping
    }
    const std::span<const std::uint8_t> head(data, head_size);
    const std::span<const std::uint8_t> rest(data + head_size, size - head_size);
    kyrox::fuzz::FuzzHost& host = kyrox::fuzz::fuzz_host();
    host.reset();
    switch (static_cast<Mode>(head[0] & 3)) {
    case Mode::records:
        apply_records(host, rest);
        break;
    case Mode::built_in:
        apply_records(host, changed_built_in(head, rest));
        break;
    case Mode::popup:
        choose_popup(host, head, rest);
        break;
    case Mode::sequence:
        send_sequence_data(host, rest);
        break;
    }
    kyrox::fuzz::FrameShape shape;
    shape.bytes_per_channel = std::array{1, 2, 4, 4}[head[1] & 3];
    shape.downsample = 1 + (head[1] >> 2 & 3);
    shape.width = 1 + head[2] % 32;
    shape.height = 1 + head[3] % 32;
    host.host().in_data().current_time = 1;
    if (host.render(shape, {1.0f, 0.2f, 0.4f, 0.6f}) != PF_Err_NONE) {
        fail("the frame failed", 0);
    }
    if (!host.output_finite()) {
        fail("float output holds NaN or infinity", 0);
    }
    return 0;
}
