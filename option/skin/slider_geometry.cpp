#include "slider_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// Above the maximum gives the maximum, else below the minimum the minimum:
// the order the sliders have always used, which decides an inverted range.
int32_t ClampSigned(int64_t value, int32_t minimum, int32_t maximum) {
    if (value > maximum) return maximum;
    if (value < minimum) return minimum;
    return static_cast<int32_t>(value);
}

}  // namespace

bool SliderRangeAllowed(int32_t minimum, int32_t maximum) { return minimum >= 0 && minimum < maximum; }

bool SliderTrackFits(int32_t trackWidth, int32_t thumbWidth) { return thumbWidth >= 0 && trackWidth > thumbWidth; }

int64_t SliderTravel::Room() const {
    const int64_t room = int64_t{x1} - x0 - thumbWidth;
    return std::clamp<int64_t>(room, 0, kInt32Max);
}

int32_t SliderTravel::LastLeft() const {
    return static_cast<int32_t>(std::min<int64_t>(int64_t{x0} + Room(), kInt32Max));
}

int32_t ThumbClamp(int32_t value, int32_t minimum, int32_t maximum) {
    const auto v = static_cast<uint32_t>(value);
    if (v > static_cast<uint32_t>(maximum)) return maximum;
    if (v < static_cast<uint32_t>(minimum)) return minimum;
    return value;
}

int32_t ThumbLeftOf(int32_t value, const SliderTravel& travel, int32_t minimum, int32_t maximum) {
    const int32_t v = ThumbClamp(value, minimum, maximum);
    // The thumb divides its range as unsigned numbers.
    const uint32_t span = static_cast<uint32_t>(maximum) - static_cast<uint32_t>(minimum);
    if (span == 0) return travel.x0;
    const uint32_t offset = static_cast<uint32_t>(v) - static_cast<uint32_t>(minimum);
    // Room < 2^31 and offset < 2^32: the product fits in 64 unsigned bits.
    const uint64_t moved = static_cast<uint64_t>(travel.Room()) * offset / span;
    return static_cast<int32_t>(std::min<int64_t>(int64_t{travel.x0} + static_cast<int64_t>(moved), kInt32Max));
}

int32_t SliderRound(float exact, int32_t minimum, int32_t maximum, bool snap) {
    // "f + 0.5 truncated" rounds half up for every f the pages see (f >= 0);
    // rounding down keeps it so below zero too.
    const double rounded = snap ? std::floor(double{exact} + 0.5) : std::trunc(double{exact});
    if (std::isnan(rounded)) return minimum;
    if (rounded > maximum) return maximum;
    if (rounded < minimum) return minimum;
    return static_cast<int32_t>(rounded);
}

SliderReading TrackClickValue(int32_t x, int32_t left, int32_t right, int32_t minimum, int32_t maximum, bool snap) {
    SliderReading reading;
    const int64_t width = int64_t{right} - left;
    if (width <= 0) {
        reading.exact = static_cast<float>(minimum);
    } else {
        // Both factors are below 2^32, so their product is exact in a double
        // wherever a float could still tell it from its neighbours.
        const double product = static_cast<double>(int64_t{maximum} - minimum) * static_cast<double>(int64_t{x} - left);
        reading.exact = static_cast<float>(product) / static_cast<float>(width) + static_cast<float>(minimum);
    }
    reading.value = SliderRound(reading.exact, minimum, maximum, snap);
    return reading;
}

int32_t DragLeft(int32_t oldLeft, int32_t dx, const SliderTravel& travel) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{oldLeft} + dx, travel.FirstLeft(), travel.LastLeft()));
}

int32_t DragValue(int32_t oldLeft, const SliderTravel& travel, int32_t minimum, int32_t maximum) {
    const int64_t room = travel.Room();
    if (room <= 0) return ClampSigned(minimum, minimum, maximum);
    // A thumb outside its travel reads as at its nearer end, which gives the
    // same clamped value; inside, (left - x0) <= room < 2^31 and the span
    // < 2^32 keep the product within 64 bits.
    const int64_t left = std::clamp<int64_t>(oldLeft, travel.FirstLeft(), travel.LastLeft());
    const int64_t value = int64_t{minimum} + (left - travel.x0) * (int64_t{maximum} - minimum) / room;
    return ClampSigned(value, minimum, maximum);
}

SliderReading ReleaseValue(int32_t left, const SliderTravel& travel, int32_t minimum, int32_t maximum, bool snap) {
    SliderReading reading;
    const int64_t room = travel.Room();
    if (room <= 0) {
        reading.exact = static_cast<float>(minimum);
    } else {
        const double product =
            static_cast<double>(int64_t{maximum} - minimum) * static_cast<double>(int64_t{left} - travel.x0);
        reading.exact = static_cast<float>(product) / static_cast<float>(room) + static_cast<float>(minimum);
    }
    reading.value = SliderRound(reading.exact, minimum, maximum, snap);
    return reading;
}

int32_t KeyValue(SliderKey key, int32_t value, int32_t minimum, int32_t maximum) {
    switch (key) {
        case SliderKey::kStepDown:
            return ClampSigned(int64_t{value} - 1, minimum, maximum);
        case SliderKey::kStepUp:
            return ClampSigned(int64_t{value} + 1, minimum, maximum);
        case SliderKey::kFirst:
            return minimum;
        case SliderKey::kLast:
            return maximum;
        case SliderKey::kNone:
            break;
    }
    return value;
}
