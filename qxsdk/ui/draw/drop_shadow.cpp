#include "qxsdk/ui/draw/drop_shadow.h"

#include <wrl/client.h>

#include <cmath>

#include "qxsdk/ui/draw/hresult_check.h"

namespace qxsdk::ui {

namespace {

using Microsoft::WRL::ComPtr;

D2D1_RECT_F float_rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    return D2D1::RectF(static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                       static_cast<float>(bottom));
}

D2D1_POINT_2F float_point(std::int32_t x, std::int32_t y)
{
    return D2D1::Point2F(static_cast<float>(x), static_cast<float>(y));
}

// One pass: a corner square faded from its inner corner, and an edge strip faded from its inner side out.
struct shadow_pass {
    D2D1_RECT_F corner;
    D2D1_POINT_2F inner_corner;
    D2D1_RECT_F edge;
    D2D1_POINT_2F edge_inner;
    D2D1_POINT_2F edge_outer;
};

}  // namespace

std::array<D2D1_GRADIENT_STOP, shadow_stop_count> shadow_stops()
{
    std::array<D2D1_GRADIENT_STOP, shadow_stop_count> stops{};
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const double m = 1.0 - 0.1 * static_cast<double>(i);
        const double alpha = std::pow(3.0, -((m - 1.0) * (m - 1.0)) / (2.0 * 0.6 * 0.6));
        stops[i].position = static_cast<float>(i) * (1.0f / static_cast<float>(shadow_stop_count));
        stops[i].color = D2D1::ColorF(0.0f, 0.0f, 0.0f, static_cast<float>(alpha));
    }
    return stops;
}

void paint_drop_shadow(ID2D1RenderTarget& target, ID2D1GradientStopCollection& stops, ID2D1Brush& middle,
                       const rect& area, point offset, std::int32_t size)
{
    const std::int32_t s = size;
    const std::int32_t k = (7 * s) / 10;
    const std::int32_t l = area.x + offset.x - k;
    const std::int32_t t = area.y + offset.y - k;
    const std::int32_t r = area.x + area.width + offset.x + k;
    const std::int32_t b = area.y + area.height + offset.y + k;

    // Corners bottom-right, top-right, bottom-left, top-left, paired with the edges left, top, right, bottom.
    const std::array<shadow_pass, 4> passes{{
        {float_rect(r - s, b - s, r, b), float_point(r - s, b - s), float_rect(l, t + s, l + s, b - s),
         float_point(l + s, 0), float_point(l, 0)},
        {float_rect(r - s, t, r, t + s), float_point(r - s, t + s), float_rect(l + s, t, r - s, t + s),
         float_point(0, t + s), float_point(0, t)},
        {float_rect(l, b - s, l + s, b), float_point(l + s, b - s), float_rect(r - s, t + s, r, b - s),
         float_point(r - s, 0), float_point(r, 0)},
        {float_rect(l, t, l + s, t + s), float_point(l + s, t + s), float_rect(l + s, b - s, r - s, b),
         float_point(0, b - s), float_point(0, b)},
    }};

    const float radius = static_cast<float>(s);
    for (const shadow_pass& pass : passes) {
        ComPtr<ID2D1RadialGradientBrush> corner;
        target.CreateRadialGradientBrush(
            D2D1::RadialGradientBrushProperties(pass.inner_corner, D2D1::Point2F(0.0f, 0.0f), radius, radius), &stops,
            &corner);
        target.FillRectangle(pass.corner, &require(corner.Get()));

        ComPtr<ID2D1LinearGradientBrush> edge;
        target.CreateLinearGradientBrush(D2D1::LinearGradientBrushProperties(pass.edge_inner, pass.edge_outer), &stops,
                                         &edge);
        target.FillRectangle(pass.edge, &require(edge.Get()));
    }
    target.FillRectangle(float_rect(l + s, t + s, r - s, b - s), &middle);
}

}  // namespace qxsdk::ui
