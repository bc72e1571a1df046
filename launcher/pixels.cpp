#include "pixels.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

int FloorToInt(double value) {
    int whole = static_cast<int>(value);
    return value < whole ? whole - 1 : whole;
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// For each output position along one axis: the first source index it reads
// and fixed-point weights for that index and the ones after it.
class Taps {
public:
    Taps(const Taps&) = delete;
    Taps& operator=(const Taps&) = delete;
    Taps() = default;
    ~Taps() {
        std::free(first_);
        std::free(weights_);
    }

    bool Build(int outCount, int sourceCount, int numerator, int denominator) {
        const double scale = static_cast<double>(numerator) / denominator;
        const double radius = scale >= 1.0 ? 1.0 : 1.0 / scale;
        span_ = 2 * (static_cast<int>(radius) + 1) + 1;
        first_ = static_cast<int*>(std::malloc(sizeof(int) * static_cast<std::size_t>(outCount)));
        weights_ = static_cast<int*>(
            std::calloc(static_cast<std::size_t>(outCount) * static_cast<std::size_t>(span_), sizeof(int)));
        if (!first_ || !weights_) return false;
        double raw[64];
        for (int i = 0; i < outCount; ++i) {
            const double center = (i + 0.5) / scale - 0.5;
            const int low = FloorToInt(center - radius) + 1;
            const int first = Clamp(low, 0, sourceCount - 1);
            first_[i] = first;
            for (int k = 0; k < span_; ++k) raw[k] = 0.0;
            double total = 0.0;
            for (int j = low; j < low + span_; ++j) {
                double distance = j - center;
                if (distance < 0) distance = -distance;
                double weight = 1.0 - distance / radius;
                if (weight <= 0.0) continue;
                int slot = Clamp(j, 0, sourceCount - 1) - first;
                raw[slot] += weight;
                total += weight;
            }
            int* weights = weights_ + static_cast<std::size_t>(i) * span_;
            int sum = 0, largest = 0;
            for (int k = 0; k < span_; ++k) {
                weights[k] = static_cast<int>(raw[k] / total * kWeightOne + 0.5);
                sum += weights[k];
                if (weights[k] > weights[largest]) largest = k;
            }
            // Weights must add up to exactly one, or flat areas would drift.
            weights[largest] += kWeightOne - sum;
        }
        return true;
    }

    int Span() const { return span_; }
    int First(int i) const { return first_[i]; }
    const int* Weights(int i) const { return weights_ + static_cast<std::size_t>(i) * span_; }

private:
    int* first_ = nullptr;
    int* weights_ = nullptr;
    int span_ = 0;
};

// Span is at most 2 * (radius + 1) + 1; the scratch array above holds 64.
constexpr int kLargestShrink = 30;

std::uint32_t Blend(const std::uint32_t* pixels, std::size_t stride, int count, const int* weights) {
    int sums[4] = {0, 0, 0, 0};
    for (int k = 0; k < count; ++k) {
        if (!weights[k]) continue;
        std::uint32_t pixel = pixels[k * stride];
        for (int c = 0; c < 4; ++c) sums[c] += static_cast<int>((pixel >> (8 * c)) & 0xFF) * weights[k];
    }
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c)
        out |= static_cast<std::uint32_t>((sums[c] + kWeightOne / 2) >> kWeightBits) << (8 * c);
    return out;
}

}  // namespace

Bitmap32::Bitmap32(Bitmap32&& other) noexcept
    : pixels_(std::exchange(other.pixels_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Bitmap32& Bitmap32::operator=(Bitmap32&& other) noexcept {
    if (this != &other) {
        std::free(pixels_);
        pixels_ = std::exchange(other.pixels_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

Bitmap32::~Bitmap32() { std::free(pixels_); }

bool Bitmap32::Allocate(int width, int height) {
    std::free(pixels_);
    pixels_ = nullptr;
    width_ = height_ = 0;
    // 16384 squared pixels is a gigabyte; nothing the window shows needs it.
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
    pixels_ = static_cast<std::uint32_t*>(
        std::malloc(sizeof(std::uint32_t) * static_cast<std::size_t>(width) * static_cast<std::size_t>(height)));
    if (!pixels_) return false;
    width_ = width;
    height_ = height;
    return true;
}

void FillOpaque(PixelView target, std::uint32_t colorBbggrr) {
    const std::uint32_t pixel = 0xFF000000u | ((colorBbggrr & 0xFF) << 16) | (colorBbggrr & 0xFF00) |
                                ((colorBbggrr >> 16) & 0xFF);
    const std::size_t count = static_cast<std::size_t>(target.width) * static_cast<std::size_t>(target.height);
    for (std::size_t i = 0; i < count; ++i) target.pixels[i] = pixel;
}

void DrawOver(PixelView target, PixelView source) {
    const int width = source.width < target.width ? source.width : target.width;
    const int height = source.height < target.height ? source.height : target.height;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = source.pixels + static_cast<std::size_t>(y) * source.width;
        std::uint32_t* to = target.pixels + static_cast<std::size_t>(y) * target.width;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t top = from[x];
            const std::uint32_t alpha = top >> 24;
            if (alpha == 0xFF) {
                to[x] = top;
                continue;
            }
            std::uint32_t out = 0;
            for (int c = 0; c < 32; c += 8) {
                std::uint32_t below = (to[x] >> c) & 0xFF;
                std::uint32_t mixed = ((top >> c) & 0xFF) + (below * (255 - alpha) + 127) / 255;
                out |= (mixed > 255 ? 255 : mixed) << c;
            }
            to[x] = out;
        }
    }
}

bool ScaleBitmap(PixelView source, int scaleNumerator, int scaleDenominator, int width, int height,
                 Bitmap32& out) {
    if (source.width <= 0 || source.height <= 0 || scaleNumerator <= 0 || scaleDenominator <= 0 ||
        scaleDenominator > scaleNumerator * kLargestShrink)
        return false;
    if (!out.Allocate(width, height)) return false;
    Taps across, down;
    if (!across.Build(width, source.width, scaleNumerator, scaleDenominator) ||
        !down.Build(height, source.height, scaleNumerator, scaleDenominator))
        return false;

    // Rows of the source that the vertical pass reads, scaled across first.
    const int firstRow = down.First(0);
    int lastRow = firstRow;
    for (int y = 0; y < height; ++y) {
        int end = down.First(y) + down.Span() - 1;
        if (end > lastRow) lastRow = end;
    }
    if (lastRow >= source.height) lastRow = source.height - 1;
    Bitmap32 wide;
    if (!wide.Allocate(width, lastRow - firstRow + 1)) return false;

    for (int y = firstRow; y <= lastRow; ++y) {
        const std::uint32_t* row = source.pixels + static_cast<std::size_t>(y) * source.width;
        std::uint32_t* to = wide.Pixels() + static_cast<std::size_t>(y - firstRow) * width;
        for (int x = 0; x < width; ++x) {
            int first = across.First(x);
            int count = source.width - first < across.Span() ? source.width - first : across.Span();
            to[x] = Blend(row + first, 1, count, across.Weights(x));
        }
    }
    for (int y = 0; y < height; ++y) {
        int first = down.First(y);
        int count = lastRow + 1 - first < down.Span() ? lastRow + 1 - first : down.Span();
        const std::uint32_t* column = wide.Pixels() + static_cast<std::size_t>(first - firstRow) * width;
        std::uint32_t* to = out.Pixels() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) to[x] = Blend(column + x, static_cast<std::size_t>(width), count, down.Weights(y));
    }
    return true;
}
