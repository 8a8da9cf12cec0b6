#pragma once

#include <array>
#include <cstddef>

#include "hostapi/aegp_suites.h"
#include "hostapi/pf_suites.h"
#include "hostapi/sp_basic_suite.h"

namespace kyrox {

// The (name, version) pairs the plug-in acquires, in the cache's slot order.
enum class SuiteId : std::size_t {
    utility_10,
    app_6,
    pf_interface_1,
    effect_1,
    effect_2,
    param_utils_3,
    stream_7,
    dynamic_stream_2,
    layer_11,
    layer_12,
    comp_11,
    comp_19,
    item_10,
    text_layer_1,
    path_data_1,
    layer_mask_6,
    mask_outline_3,
    count,
};

inline constexpr std::size_t suite_count = static_cast<std::size_t>(SuiteId::count);

// Host suites of one operation: each (name, version) is acquired from the host on first use and every
// acquired suite is released when the cache goes, also when an exception leaves the operation.
// A suite the host does not give stays null; the next use asks the host again.
class suite_handler {
public:
    explicit suite_handler(const SPBasicSuite* basic) noexcept : basic_(basic) {}
    ~suite_handler() { release_all_suites(); }
    suite_handler(const suite_handler&) = delete;
    suite_handler& operator=(const suite_handler&) = delete;

    // The suite's table, or null when the host has none at that version.
    const void* acquire(SuiteId id);
    bool has(SuiteId id) const noexcept { return slots_[index(id)] != nullptr; }
    void release_all_suites() noexcept;

    const AEGP_UtilitySuite* utility() { return get<AEGP_UtilitySuite>(SuiteId::utility_10); }
    const PFAppSuite* app() { return get<PFAppSuite>(SuiteId::app_6); }
    const AEGP_PFInterfaceSuite* pf_interface() { return get<AEGP_PFInterfaceSuite>(SuiteId::pf_interface_1); }
    const AEGP_EffectSuite* effect_1() { return get<AEGP_EffectSuite>(SuiteId::effect_1); }
    const AEGP_EffectSuite* effect_2() { return get<AEGP_EffectSuite>(SuiteId::effect_2); }
    const PF_ParamUtilsSuite* param_utils() { return get<PF_ParamUtilsSuite>(SuiteId::param_utils_3); }
    const AEGP_StreamSuite* stream() { return get<AEGP_StreamSuite>(SuiteId::stream_7); }
    const AEGP_DynamicStreamSuite* dynamic_stream() { return get<AEGP_DynamicStreamSuite>(SuiteId::dynamic_stream_2); }
    const AEGP_LayerSuite* layer_11() { return get<AEGP_LayerSuite>(SuiteId::layer_11); }
    const AEGP_LayerSuite* layer_12() { return get<AEGP_LayerSuite>(SuiteId::layer_12); }
    const AEGP_CompSuite* comp_11() { return get<AEGP_CompSuite>(SuiteId::comp_11); }
    const AEGP_CompSuite* comp_19() { return get<AEGP_CompSuite>(SuiteId::comp_19); }
    const AEGP_ItemSuite* item() { return get<AEGP_ItemSuite>(SuiteId::item_10); }
    const AEGP_TextLayerSuite* text_layer() { return get<AEGP_TextLayerSuite>(SuiteId::text_layer_1); }
    const PF_PathDataSuite* path_data() { return get<PF_PathDataSuite>(SuiteId::path_data_1); }
    const AEGP_LayerMaskSuite* layer_mask() { return get<AEGP_LayerMaskSuite>(SuiteId::layer_mask_6); }
    const AEGP_MaskOutlineSuite* mask_outline() { return get<AEGP_MaskOutlineSuite>(SuiteId::mask_outline_3); }

private:
    static constexpr std::size_t index(SuiteId id) noexcept { return static_cast<std::size_t>(id); }

    template <class Suite>
    const Suite* get(SuiteId id)
    {
        return static_cast<const Suite*>(acquire(id));
    }

    const SPBasicSuite* basic_;
    std::array<const void*, suite_count> slots_{};
};

}  // namespace kyrox
