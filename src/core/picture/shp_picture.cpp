#include "core/picture/shp_picture.h"

#include "core/picture/bmp_image.h"
#include "core/picture/shp_palette.h"

namespace maptesk {

bool ShpPicture::ParseShape(const uint8_t* data, size_t size, ShpShapeHeader& shape,
                            size_t& codeOffset) {
  if (size < 12 || GetLe32(data + 4) != 1) return false;
  const size_t offset = GetLe32(data + 8);
  if (offset > size || size - offset < size_t(kShapeHeaderSize)) return false;
  const uint8_t* h = data + offset;
  shape.heightMinus1 = int16_t(GetLe16(h));
  shape.widthMinus1 = int16_t(GetLe16(h + 2));
  shape.left = GetLe32s(h + 8);
  shape.top = GetLe32s(h + 12);
  shape.bottom = GetLe32s(h + 20);
  codeOffset = offset + kShapeHeaderSize;
  return true;
}

std::vector<uint8_t> ShpPicture::Encode(const uint8_t* indices, int w, int h) {
  std::vector<uint8_t> out(12 + kShapeHeaderSize, 0);
  PutLe32(out.data() + 4, 1);
  PutLe32(out.data() + 8, 12);
  uint8_t* sh = out.data() + 12;
  PutLe16(sh, uint16_t(h - 1));
  PutLe16(sh + 2, uint16_t(w - 1));
  PutLe32(sh + 8, 0);
  PutLe32(sh + 12, 0);
  PutLe32(sh + 20, uint32_t(h - 1));
  for (int y = 0; y < h; ++y) {
    const uint8_t* line = indices + size_t(y) * size_t(w);
    int x = 0;
    while (x < w) {
      int n = 1;
      while (x + n < w && line[x + n] == line[x] && n < 127) ++n;
      if (line[x] == kShpTransparentIndex) {
        out.push_back(1);
        out.push_back(uint8_t(n));
      } else if (n >= 3) {
        out.push_back(uint8_t(2 * n));
        out.push_back(line[x]);
      } else {
        // Gather a literal until a run of three, index 5 or 127 indices.
        int m = 0;
        while (
            x + m < w && m < 127 && line[x + m] != kShpTransparentIndex &&
            !(x + m + 2 < w && line[x + m] == line[x + m + 1] && line[x + m] == line[x + m + 2])) {
          ++m;
        }
        if (m == 0) m = 1;
        out.push_back(uint8_t(2 * m + 1));
        out.insert(out.end(), line + x, line + x + m);
        n = m;
      }
      x += n;
    }
    out.push_back(0);
  }
  return out;
}

}  // namespace maptesk
