#include "Gradient.h"

#include <algorithm>
#include <cmath>

namespace {

int Channel(std::uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

std::uint32_t Step(std::uint32_t first, std::uint32_t second, int k, int bands)
{
    std::uint32_t color = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = Channel(first, shift);
        const int value = a + k * (Channel(second, shift) - a) / (bands - 1);
        color |= static_cast<std::uint32_t>(value) << shift;
    }
    return color;
}

} // namespace

std::vector<GradientBand> GradientBands(int left, int top, int right, int bottom, std::uint32_t begin,
                                        std::uint32_t end, TFillDirection direction, int bands)
{
    const bool vertical = direction == fdTopToBottom || direction == fdBottomToTop;
    const int extent = vertical ? bottom - top : right - left;
    if (bands > extent)
        bands = extent;
    if (bands < 2 || right <= left || bottom <= top)
        return {GradientBand{left, top, right, bottom, begin}};
    const bool forward = direction == fdTopToBottom || direction == fdLeftToRight;
    const std::uint32_t first = forward ? begin : end;
    const std::uint32_t second = forward ? end : begin;
    const int size = extent / bands;
    std::vector<GradientBand> result;
    for (int k = 0; k < bands; ++k) {
        const int from = k * size;
        const int to = k == bands - 1 ? extent : from + size;
        const std::uint32_t color = Step(first, second, k, bands);
        if (vertical)
            result.push_back(GradientBand{left, top + from, right, top + to, color});
        else
            result.push_back(GradientBand{left + from, top, left + to, bottom, color});
    }
    return result;
}

ZoomPoint ZoomImage(int width, int height, int maxWidth, int maxHeight, bool stretch)
{
    if (width <= 0 || height <= 0 || maxWidth <= 0 || maxHeight <= 0)
        return {};
    if (!stretch)
        return {maxWidth, maxHeight};
    const double zoom = std::max(static_cast<double>(width) / maxWidth, static_cast<double>(height) / maxHeight);
    if (zoom <= 0)
        return {width, height};
    return {static_cast<int>(std::lround(width * 0.98 / zoom)), static_cast<int>(std::lround(height * 0.98 / zoom))};
}

void TQGradient::Assign(const TQGradient& source)
{
    startColor_ = source.startColor_;
    endColor_ = source.endColor_;
    stepCount_ = source.stepCount_;
    direction_ = source.direction_;
    visible_ = source.visible_;
    Changed();
}

void TQGradient::Changed()
{
    if (OnChange)
        OnChange(*this);
}
