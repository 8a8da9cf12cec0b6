#include "plugin/host/suite_handler.h"

namespace kyrox {

namespace {

struct SuiteKey {
    const char* name;
    A_long version;
};

// Name and version of each slot, in slot order.
const std::array<SuiteKey, suite_count> suite_keys = {{
    {kAEGPUtilitySuite, kAEGPUtilitySuiteVersion10},
    {kPFAppSuite, kPFAppSuiteVersion6},
    {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1},
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion1},
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion2},
    {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3},
    {kAEGPStreamSuite, kAEGPStreamSuiteVersion7},
    {kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2},
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion11},
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion12},
    {kAEGPCompSuite, kAEGPCompSuiteVersion11},
    {kAEGPCompSuite, kAEGPCompSuiteVersion19},
    {kAEGPItemSuite, kAEGPItemSuiteVersion10},
    {kAEGPTextLayerSuite, kAEGPTextLayerSuiteVersion1},
    {kPFPathDataSuite, kPFPathDataSuiteVersion1},
    {kAEGPLayerMaskSuite, kAEGPLayerMaskSuiteVersion6},
    {kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion3},
}};

}  // namespace

const void* suite_handler::acquire(SuiteId id)
{
    const void*& slot = slots_[index(id)];
    if (slot == nullptr && basic_ != nullptr) {
        const SuiteKey& key = suite_keys[index(id)];
        const void* suite = nullptr;
        basic_->AcquireSuite(key.name, key.version, &suite);
        slot = suite;
    }
    return slot;
}

void suite_handler::release_all_suites() noexcept
{
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i] != nullptr) {
            basic_->ReleaseSuite(suite_keys[i].name, suite_keys[i].version);
            slots_[i] = nullptr;
        }
    }
}

}  // namespace kyrox
