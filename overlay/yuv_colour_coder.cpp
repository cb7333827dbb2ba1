#include "overlay/yuv_colour_coder.h"

#include <cmath>

namespace ostrel {
namespace {

int Fixed(double value) { return static_cast<int>(std::lround(value * (1 << YuvColourCoder::kFractionBits))); }

}  // namespace

YuvColourCoder::YuvColourCoder(const YuvCoding& coding)
    : lumaOffset_(coding.lumaOffset), chromaOffset_(coding.chromaOffset) {
  const double kr = coding.kr;
  const double kb = coding.kb;
  const double kg = 1.0 - kr - kb;
  const double lumaScale = coding.lumaExcursion / 255.0;
  const double chromaScale = coding.chromaExcursion / 255.0;
  fromLuma_ = Fixed(1.0 / lumaScale);
  redFromCr_ = Fixed(2.0 * (1.0 - kr) / chromaScale);
  blueFromCb_ = Fixed(2.0 * (1.0 - kb) / chromaScale);
  greenFromCb_ = Fixed(2.0 * (1.0 - kb) * kb / (kg * chromaScale));
  greenFromCr_ = Fixed(2.0 * (1.0 - kr) * kr / (kg * chromaScale));
  luma_ = {Fixed(lumaScale * kr), Fixed(lumaScale * kg), Fixed(lumaScale * kb)};
  const double cbScale = chromaScale / (2.0 * (1.0 - kb));
  const double crScale = chromaScale / (2.0 * (1.0 - kr));
  cb_ = {Fixed(-cbScale * kr), Fixed(-cbScale * kg), Fixed(cbScale * (1.0 - kb))};
  cr_ = {Fixed(crScale * (1.0 - kr)), Fixed(-crScale * kg), Fixed(-crScale * kb)};
}

}  // namespace ostrel
