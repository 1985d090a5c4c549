// Image records, the screen image and the image list.
#include "image/image.h"

#include <cstdlib>

namespace vorn {

typspr screen;
std::vector<typspr*> images;

typspr* new_image(uint32_t* pixels, int32_t width, int32_t height) {
  auto* img = new typspr;
  img->pixels = pixels;
  img->width = width;
  img->height = height;
  img->half_width = width / 2;
  img->half_height = height / 2;
  img->creation_mark = 1;
  img->creation_flag = true;
  return img;
}

void release_images() {
  for (typspr* img : images) {
    if (img) {
      std::free(img->pixels);
      delete img;
    }
  }
  images.clear();
}

}  // namespace vorn
