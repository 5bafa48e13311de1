#pragma once
// Gradient fills worked out as bands of solid colour, the zoom of a picture
// into a frame, and the gradient settings object.

#include <cstdint>
#include <functional>
#include <vector>

enum TFillDirection { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };

struct GradientBand {
    int left, top, right, bottom;
    std::uint32_t color; // RGB, red in the low byte
};

// The solid bands that fill the rectangle from `begin` to `end` in `bands`
// steps, clamped first to the rectangle's extent in the fill direction; fewer
// than 2 bands give one band of `begin`. What is left after the equal bands
// takes the colour of that side.
std::vector<GradientBand> GradientBands(int left, int top, int right, int bottom, std::uint32_t begin,
                                        std::uint32_t end, TFillDirection direction, int bands);

struct ZoomPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ZoomPoint&, const ZoomPoint&) = default;
};

// The size a picture takes in a frame: (0, 0) when any size is 0 or less; the
// frame itself without stretch; else 98% of the fitted size, rounded to the
// nearest (halves away from zero).
ZoomPoint ZoomImage(int width, int height, int maxWidth, int maxHeight, bool stretch);

// Gradient settings; every change of a property fires OnChange.
class TQGradient {
public:
    static constexpr std::uint32_t kDefaultStart = 0xC0C0C0;
    static constexpr std::uint32_t kDefaultEnd = 0x808080;

    virtual ~TQGradient() = default;

    TFillDirection Direction() const { return direction_; }
    std::uint32_t EndColor() const { return endColor_; }
    std::uint32_t StartColor() const { return startColor_; }
    std::uint8_t StepCount() const { return stepCount_; }
    bool Visible() const { return visible_; }
    void SetDirection(TFillDirection value) { Store(direction_, value); }
    void SetEndColor(std::uint32_t value) { Store(endColor_, value); }
    void SetStartColor(std::uint32_t value) { Store(startColor_, value); }
    void SetStepCount(std::uint8_t value) { Store(stepCount_, value); }
    void SetVisible(bool value) { Store(visible_, value); }

    void Assign(const TQGradient& source);

    std::function<void(TQGradient& sender)> OnChange;

protected:
    virtual void Changed();

private:
    template <class T>
    void Store(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }

    std::uint32_t startColor_ = kDefaultStart;
    std::uint32_t endColor_ = kDefaultEnd;
    TFillDirection direction_ = fdTopToBottom;
    std::uint8_t stepCount_ = 64;
    bool visible_ = false;
};
