#pragma once

#include "hostapi/effect_api.h"

namespace minihost {

// Suite tables with the scene's functions filled in over the given tables.
AEGP_PFInterfaceSuite with_scene_effect_layer(AEGP_PFInterfaceSuite suite);
AEGP_LayerSuite with_scene_layers(AEGP_LayerSuite suite);
AEGP_CompSuite with_scene_comp(AEGP_CompSuite suite);
AEGP_ItemSuite with_scene_items(AEGP_ItemSuite suite);
AEGP_StreamSuite with_scene_streams(AEGP_StreamSuite suite);
AEGP_TextLayerSuite with_scene_text(AEGP_TextLayerSuite suite);
PF_PathDataSuite with_scene_path_data(PF_PathDataSuite suite);
AEGP_LayerMaskSuite with_scene_masks(AEGP_LayerMaskSuite suite);
AEGP_MaskOutlineSuite with_scene_mask_outlines(AEGP_MaskOutlineSuite suite);

}  // namespace minihost
