// Bitmaps kept as DIBs in memory, standing in for GDI bitmap handles.
#pragma once

#include <atomic>

#include "platform/bitmap.h"

namespace wlk::platform::sim {

class SimBitmaps : public Bitmaps {
public:
    std::unique_ptr<Bitmap> FromPixels(int width, int height,
                                       std::span<const uint32_t> pixels) override;
    std::unique_ptr<Bitmap> FromDib(const Dib& dib) override;

    // Bitmaps made and not yet deleted, copies included: a test's leak check.
    int Alive() const { return alive_.load(); }
    std::atomic<int>& Counter() { return alive_; }
    // GetDib calls on any bitmap made here: what a comparison cost.
    int DibReads() const { return dibReads_.load(); }

private:
    std::atomic<int> alive_{0};
    std::atomic<int> dibReads_{0};
};

}  // namespace wlk::platform::sim
