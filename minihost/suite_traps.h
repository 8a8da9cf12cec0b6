#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "hostapi/effect_api.h"

namespace minihost {

// Ends the process with a message: the plug-in did something this host cannot answer (a call of a
// function it does not implement, a wrong release), which no test may carry on from.
[[noreturn]] void host_fault(const char* what) noexcept;
[[noreturn]] void fail_unimplemented(const char* function) noexcept;

template <std::size_t N>
struct FunctionName {
    char text[N];
    constexpr FunctionName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

template <FunctionName Name, class R, class... Args>
R trap_call(Args...)
{
    fail_unimplemented(Name.text);
}

// Points a suite slot at a trap that names the function when called.
template <FunctionName Name, class R, class... Args>
void trap(R (*&slot)(Args...))
{
    slot = &trap_call<Name, R, Args...>;
}

void padding_slot_called();

// A suite table whose every slot, padding included, fails loudly when called.
template <class Suite>
Suite padded_table()
{
    static_assert(sizeof(Suite) % sizeof(void*) == 0);
    Suite table;
    void (*const pad)() = &padding_slot_called;
    for (std::size_t offset = 0; offset < sizeof(Suite); offset += sizeof(void*)) {
        std::memcpy(reinterpret_cast<std::byte*>(&table) + offset, &pad, sizeof pad);
    }
    return table;
}

// Every suite the plug-in may acquire, with each named function trapped. A part of the host that
// implements functions of a suite starts from its trapped table and fills in what it implements.
AEGP_UtilitySuite trapped_utility_suite();
PFAppSuite trapped_app_suite();
AEGP_PFInterfaceSuite trapped_pf_interface_suite();
AEGP_EffectSuite trapped_effect_suite();
PF_ParamUtilsSuite trapped_param_utils_suite();
AEGP_StreamSuite trapped_stream_suite();
AEGP_DynamicStreamSuite trapped_dynamic_stream_suite();
AEGP_LayerSuite trapped_layer_suite();
AEGP_CompSuite trapped_comp_suite();
AEGP_ItemSuite trapped_item_suite();
AEGP_TextLayerSuite trapped_text_layer_suite();
PF_PathDataSuite trapped_path_data_suite();
AEGP_LayerMaskSuite trapped_layer_mask_suite();
AEGP_MaskOutlineSuite trapped_mask_outline_suite();

}  // namespace minihost
