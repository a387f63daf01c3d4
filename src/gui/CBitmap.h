// A skin bitmap, loaded from the module by resource id.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "gui/BitmapBackendData.h"
#include "gui/CColor.h"
#include "gui/CReferenceCounter.h"

// Reference counted. A bitmap that cannot be found or read has size 0 x 0
// and draws nothing. Pixels are kept in the layout the draw contexts use:
// rows from the top, each pixel 0xAARRGGBB.
class CBitmap : public CReferenceCounter {
 public:
  explicit CBitmap(std::int32_t resourceId);

  std::int32_t getResourceId() const { return resourceId; }
  std::int32_t getWidth() const { return width; }
  std::int32_t getHeight() const { return height; }
  bool isLoaded() const { return width > 0 && height > 0; }

  void setTransparentColor(CColor color);
  CColor getTransparentColor() const { return transparentColor; }

  // Opaque pixels (alpha 255).
  const std::vector<std::uint32_t>& getPixels() const { return pixels; }
  // The pixels with every pixel of the transparent colour made fully
  // transparent (0), the others opaque; built on first use.
  const std::vector<std::uint32_t>& getKeyedPixels();

  // The backend's copy of the pixels, made on first use and kept with the
  // bitmap (nullptr until then).
  BitmapBackendData* getBackendData() const { return backendData.get(); }
  void setBackendData(std::unique_ptr<BitmapBackendData> data) { backendData = std::move(data); }

 private:
  std::int32_t resourceId;
  std::int32_t width = 0;
  std::int32_t height = 0;
  CColor transparentColor = kTransparentCColor;
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint32_t> keyedPixels;
  std::unique_ptr<BitmapBackendData> backendData;
};
