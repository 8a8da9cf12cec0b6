#include "minihost/host.h"

#include <stdexcept>

#include "minihost/host_callbacks.h"
#include "minihost/param_suites.h"
#include "minihost/scene_suites.h"
#include "minihost/suite_traps.h"

namespace minihost {

namespace {

constexpr SPErr suite_not_found = -1;

}  // namespace

// The suites a plain host offers: registration and application queries answered, everything else
// present but trapped until a part of the host provides it.
struct Host::DefaultSuites {
    AEGP_UtilitySuite utility = forwarding_utility_suite();
    PFAppSuite app = forwarding_app_suite();
    AEGP_PFInterfaceSuite pf_interface = with_scene_effect_layer(with_effect_handles(trapped_pf_interface_suite()));
    AEGP_EffectSuite effect = with_effect_disposal(trapped_effect_suite());
    PF_ParamUtilsSuite param_utils = with_param_ui_updates(trapped_param_utils_suite());
    AEGP_StreamSuite stream = with_scene_streams(with_effect_streams(trapped_stream_suite()));
    AEGP_DynamicStreamSuite dynamic_stream = with_stream_flags(trapped_dynamic_stream_suite());
    AEGP_LayerSuite layer = with_scene_layers(trapped_layer_suite());
    AEGP_CompSuite comp = with_scene_comp(trapped_comp_suite());
    AEGP_ItemSuite item = with_scene_items(trapped_item_suite());
    AEGP_TextLayerSuite text_layer = with_scene_text(trapped_text_layer_suite());
    PF_PathDataSuite path_data = with_scene_path_data(trapped_path_data_suite());
    AEGP_LayerMaskSuite layer_mask = with_scene_masks(trapped_layer_mask_suite());
    AEGP_MaskOutlineSuite mask_outline = with_scene_mask_outlines(trapped_mask_outline_suite());
};

Host::Host(PF_EntryPointFunc entry)
    : entry_(entry), default_suites_(std::make_unique<DefaultSuites>()), scope_{in_data_,     settings_, log_, params_,
                                                                                param_state_, scene_,    *this}
{
    if (entry_ == nullptr) {
        throw std::invalid_argument("minihost: no entry point");
    }
    install_callbacks(in_data_, utils_, basic_suite_, pre_render_callbacks_, smart_render_callbacks_);
    in_data_.effect_ref = reinterpret_cast<PF_ProgPtr>(this);
    in_data_.version = PF_Version(13, 9, 0, 0, 0);
    in_data_.current_time = 0;
    in_data_.time_step = 1;
    in_data_.local_time_step = 1;
    in_data_.time_scale = 24;
    in_data_.downsample_x = {1, 1};
    in_data_.downsample_y = {1, 1};
    in_data_.pixel_aspect_ratio = {1, 1};
    in_data_.shutter_angle = 180 << 16;
    settings_.main_window = &main_window_marker_;
    set_frame(64, 48, 1);

    const DefaultSuites& d = *default_suites_;
    provide_suite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion10, &d.utility);
    provide_suite(kPFAppSuite, kPFAppSuiteVersion6, &d.app);
    provide_suite(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &d.pf_interface);
    provide_suite(kAEGPEffectSuite, kAEGPEffectSuiteVersion1, &d.effect);
    provide_suite(kAEGPEffectSuite, kAEGPEffectSuiteVersion2, &d.effect);
    provide_suite(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &d.param_utils);
    provide_suite(kAEGPStreamSuite, kAEGPStreamSuiteVersion7, &d.stream);
    provide_suite(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, &d.dynamic_stream);
    provide_suite(kAEGPLayerSuite, kAEGPLayerSuiteVersion11, &d.layer);
    provide_suite(kAEGPLayerSuite, kAEGPLayerSuiteVersion12, &d.layer);
    provide_suite(kAEGPCompSuite, kAEGPCompSuiteVersion11, &d.comp);
    provide_suite(kAEGPCompSuite, kAEGPCompSuiteVersion19, &d.comp);
    provide_suite(kAEGPItemSuite, kAEGPItemSuiteVersion10, &d.item);
    provide_suite(kAEGPTextLayerSuite, kAEGPTextLayerSuiteVersion1, &d.text_layer);
    provide_suite(kPFPathDataSuite, kPFPathDataSuiteVersion1, &d.path_data);
    provide_suite(kAEGPLayerMaskSuite, kAEGPLayerMaskSuiteVersion6, &d.layer_mask);
    provide_suite(kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion3, &d.mask_outline);
}

Host::~Host() = default;

PF_Err Host::send(PF_Cmd cmd, void* extra)
{
    const ActiveCommand active(scope_);
    in_data_.num_params = static_cast<A_long>(params_.size());
    param_pointers_.clear();
    for (PF_ParamDef& param : params_) {
        param_pointers_.push_back(&param);
    }
    return entry_(cmd, &in_data_, &out_data_, param_pointers_.data(), &output_.world(), extra);
}

void Host::run_as_command(const std::function<void()>& fn)
{
    const ActiveCommand active(scope_);
    fn();
}

PF_Err Host::params_setup()
{
    params_.resize(1);
    reset_input_layer_param();
    return send(PF_Cmd_PARAMS_SETUP);
}

PF_Err Host::user_changed_param(PF_ParamIndex index)
{
    PF_UserChangedParamExtra extra{index};
    param_state_.clear_change_flags(params_);
    const PF_Err error = send(PF_Cmd_USER_CHANGED_PARAM, &extra);
    param_state_.collect_changes(params_);
    return error;
}

void Host::set_frame(A_long width, A_long height, int bytes_per_channel, A_long row_padding)
{
    input_layer_ = HostWorld(width, height, bytes_per_channel, row_padding);
    output_ = HostWorld(width, height, bytes_per_channel, row_padding);
    in_data_.width = width;
    in_data_.height = height;
    in_data_.extent_hint = {0, 0, width, height};
    if (params_.empty()) {
        params_.resize(1);
    }
    reset_input_layer_param();
}

void Host::reset_input_layer_param()
{
    PF_ParamDef& layer = params_.front();
    layer = PF_ParamDef{};
    layer.param_type = PF_Param_LAYER;
    layer.u.ld = input_layer_.world();
}

void Host::set_checkout_layer(A_long checkout_id, HostWorld* world)
{
    if (world == nullptr) {
        checkout_layers_.erase(checkout_id);
    } else {
        checkout_layers_[checkout_id] = world;
    }
}

PF_PreRenderInput Host::pre_render_input(A_short bitdepth) const
{
    PF_PreRenderInput input{};
    input.output_request.rect = {0, 0, in_data_.width, in_data_.height};
    input.output_request.channel_mask = PF_ChannelMask_ARGB;
    input.bitdepth = bitdepth;
    return input;
}

PF_Err Host::smart_pre_render(PF_PreRenderOutput& output, PF_PreRenderInput input)
{
    PF_PreRenderExtra extra{&input, &output, &pre_render_callbacks_};
    return send(PF_Cmd_SMART_PRE_RENDER, &extra);
}

PF_Err Host::smart_render(A_short bitdepth)
{
    PF_SmartRenderInput input{};
    input.output_request.rect = {0, 0, in_data_.width, in_data_.height};
    input.output_request.channel_mask = PF_ChannelMask_ARGB;
    input.bitdepth = bitdepth;
    PF_SmartRenderExtra extra{&input, &smart_render_callbacks_};
    return send(PF_Cmd_SMART_RENDER, &extra);
}

void Host::provide_suite(const std::string& name, A_long version, const void* table)
{
    suites_[{name, version}] = table;
}

void Host::set_suite_missing(const std::string& name, A_long version, bool missing)
{
    if (missing) {
        missing_suites_.insert({name, version});
    } else {
        missing_suites_.erase({name, version});
    }
}

std::size_t Host::outstanding_suites() const
{
    std::size_t count = 0;
    for (const auto& entry : acquired_) {
        count += entry.second;
    }
    return count;
}

SPErr Host::acquire_suite(const char* name, A_long version, const void** suite)
{
    log_.calls.emplace_back("AcquireSuite");
    log_.suites.push_back({SuiteCall::Kind::acquire, name, version});
    const std::pair<std::string, A_long> key{name, version};
    const auto found = suites_.find(key);
    if (found == suites_.end() || missing_suites_.contains(key)) {
        *suite = nullptr;
        return suite_not_found;
    }
    *suite = found->second;
    ++acquired_[key];
    return kSPNoError;
}

SPErr Host::release_suite(const char* name, A_long version)
{
    log_.calls.emplace_back("ReleaseSuite");
    log_.suites.push_back({SuiteCall::Kind::release, name, version});
    const auto found = acquired_.find({name, version});
    if (found == acquired_.end() || found->second == 0) {
        host_fault("ReleaseSuite of a suite that is not acquired");
    }
    --found->second;
    return kSPNoError;
}

}  // namespace minihost
