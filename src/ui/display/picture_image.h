// The core's pictures as display images.
#pragma once

#include <QImage>

namespace maptesk {

class BmpImage;

/// The picture's pixels as an RGB32 image, top row first; a null image
/// when there is no picture or no memory for it.
QImage PictureToImage(const BmpImage& picture);

}  // namespace maptesk
