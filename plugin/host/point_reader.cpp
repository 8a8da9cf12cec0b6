#include "plugin/host/point_reader.h"

#include "plugin/host/param_readers.h"

namespace kyrox {

PointValue get_point_param(const CommandContext& context, std::int32_t id)
{
    const PF_PointDef point = read_param(context, id).u.td;
    constexpr float fixed_one = 1.0f / 65536.0f;
    return {static_cast<float>(point.x_value) * fixed_one, static_cast<float>(point.y_value) * fixed_one};
}

}  // namespace kyrox
