#include "platform/sim/sim_bitmap.h"

namespace wlk::platform::sim {

namespace {

class SimBitmap : public Bitmap {
public:
    SimBitmap(Dib dib, const dib::Layout& layout, std::atomic<int>& alive,
              std::atomic<int>& dibReads)
        : dib_(std::move(dib)), layout_(layout), alive_(alive), dibReads_(dibReads) {
        ++alive_;
    }
    ~SimBitmap() override { --alive_; }
    int Width() const override { return layout_.width; }
    int Height() const override { return layout_.height; }
    int BitsPerPixel() const override { return layout_.bitCount; }
    std::optional<Dib> GetDib() const override {
        ++dibReads_;
        return dib_;
    }
    std::vector<uint32_t> Pixels() const override { return dib::ToPixels(dib_); }
    std::unique_ptr<Bitmap> Copy() const override {
        return std::make_unique<SimBitmap>(dib_, layout_, alive_, dibReads_);
    }

private:
    Dib dib_;
    dib::Layout layout_;
    std::atomic<int>& alive_;
    std::atomic<int>& dibReads_;
};

}  // namespace

std::unique_ptr<Bitmap> SimBitmaps::FromPixels(int width, int height,
                                               std::span<const uint32_t> pixels) {
    auto dib = dib::FromPixels(width, height, pixels);
    return dib ? FromDib(*dib) : nullptr;
}

std::unique_ptr<Bitmap> SimBitmaps::FromDib(const Dib& dib) {
    const auto layout = dib::Check(dib);
    if (!layout) return nullptr;
    // Only what the header describes, as a bitmap handle would keep it.
    Dib kept{std::vector<uint8_t>(dib.info.begin(),
                                  dib.info.begin() + layout->headerSize + layout->tableBytes),
             std::vector<uint8_t>(dib.bits.begin(), dib.bits.begin() + layout->imageBytes)};
    return std::make_unique<SimBitmap>(std::move(kept), *layout, alive_, dibReads_);
}

}  // namespace wlk::platform::sim
