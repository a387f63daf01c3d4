// What a drawing backend keeps with a bitmap, such as a copy of its pixels
// in the window system's own format.
#pragma once

// Owned by the bitmap and released with it. GUI thread only.
class BitmapBackendData {
 public:
  BitmapBackendData() = default;
  BitmapBackendData(const BitmapBackendData&) = delete;
  BitmapBackendData& operator=(const BitmapBackendData&) = delete;
  virtual ~BitmapBackendData() = default;
};
