// The PNG writer: each row of 0xAARRGGBB pixels is handed to libpng as the
// bytes red, green, blue (and alpha), on every machine the same file.
// libpng reports errors by longjmp, so the part that libpng can leave holds
// no object with a destructor.
#include "image/png_write.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vorn {

namespace {

// Where libpng's error text goes; lives on the caller's stack.
struct png_error_text {
  char text[160];
};

void on_error(png_structp png, png_const_charp message) {
  auto* out = static_cast<png_error_text*>(png_get_error_ptr(png));
  std::snprintf(out->text, sizeof out->text, "%s", message);
  png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

// The file's own errors, with their reason (libpng's own writer says only
// "Write Error").
void write_data(png_structp png, png_bytep data, size_t size) {
  if (std::fwrite(data, 1, size, static_cast<std::FILE*>(png_get_io_ptr(png))) != size)
    png_error(png, std::strerror(errno));
}

void flush_data(png_structp png) {
  if (std::fflush(static_cast<std::FILE*>(png_get_io_ptr(png))) != 0) png_error(png, std::strerror(errno));
}

// Writes the image to an open file through `row`, room for one row's
// bytes (made by the caller: libpng's errors jump back here past anything
// made after the jump point); false with the reason in `error`.
bool write_stream(std::FILE* f, const uint32_t* pixels, int32_t width, int32_t height, bool keep_alpha,
                  png_byte* row, png_error_text& error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, on_error, on_warning);
  if (png == nullptr) {
    std::snprintf(error.text, sizeof error.text, "%s", std::strerror(ENOMEM));
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(error.text, sizeof error.text, "%s", std::strerror(ENOMEM));
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, f, write_data, flush_data);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
               keep_alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // Rows as the bytes red, green, blue (and alpha) of each 0xAARRGGBB
  // pixel, whatever the machine's byte order.
  const size_t channels = keep_alpha ? 4 : 3;
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* from = pixels + size_t(y) * size_t(width);
    png_byte* to = row;
    for (int32_t x = 0; x < width; ++x, to += channels) {
      to[0] = png_byte(from[x] >> 16);
      to[1] = png_byte(from[x] >> 8);
      to[2] = png_byte(from[x]);
      if (keep_alpha) to[3] = png_byte(from[x] >> 24);
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool fail(const std::string& name, const char* reason) {
  std::fprintf(stderr, "vorn: cannot write %s: %s\n", name.c_str(), reason);
  return false;
}

}  // namespace

bool save_png(const std::string& file_name, const uint32_t* pixels, int32_t width, int32_t height,
              bool keep_alpha) {
  // PNG sides are 1 to 2^31 - 1.
  if (width < 1 || height < 1 || pixels == nullptr) return fail(file_name, std::strerror(EINVAL));
  std::vector<png_byte> row(size_t(width) * 4);
  const std::string temp = file_name + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return fail(file_name, std::strerror(errno));
  png_error_text error{};
  bool ok = write_stream(f, pixels, width, height, keep_alpha, row.data(), error);
  int err = ok ? 0 : errno;
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && std::rename(temp.c_str(), file_name.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    std::remove(temp.c_str());
    return fail(file_name, error.text[0] != '\0' ? error.text : std::strerror(err != 0 ? err : EIO));
  }
  return true;
}

}  // namespace vorn
