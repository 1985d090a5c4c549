// Build-time tool: turns the glyph source into the font image the game
// carries inside it, a 110 x 165 palette PNG, written out as a C++ byte array.
// Usage: fontgen <font_glyphs.txt> <font_data.cpp>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/glyph_map.h"
#include "gfx/glyph_source.h"

namespace {

using namespace vorn;
using bytes = std::vector<uint8_t>;

void put_u16(bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void put_u32(bytes& out, uint32_t v) {
  put_u16(out, v >> 16);
  put_u16(out, v & 0xFFFF);
}

void put_text(bytes& out, const std::string& s) { out.insert(out.end(), s.begin(), s.end()); }

void pad4(bytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

// A signed 15.16 fixed-point number as ICC profiles store it.
uint32_t s15f16(double v) { return static_cast<uint32_t>(static_cast<int32_t>(v * 65536.0 + 0.5)); }

bool deflate_bytes(const bytes& in, bytes& out) {
  uLongf size = compressBound(static_cast<uLong>(in.size()));
  out.resize(size);
  if (compress2(out.data(), &size, in.data(), static_cast<uLong>(in.size()), 9) != Z_OK) return false;
  out.resize(size);
  return true;
}

// A small ICC display profile of an sRGB-like screen: D50 media white,
// sRGB primaries adapted to D50 and a plain 2.2 gamma per channel.
bytes icc_profile() {
  struct tag {
    const char* sig;
    bytes data;
  };
  auto xyz = [](double x, double y, double z) {
    bytes d;
    put_text(d, "XYZ ");
    put_u32(d, 0);
    put_u32(d, s15f16(x));
    put_u32(d, s15f16(y));
    put_u32(d, s15f16(z));
    return d;
  };
  bytes desc;
  const std::string name = "Vorn font display";
  put_text(desc, "desc");
  put_u32(desc, 0);
  put_u32(desc, static_cast<uint32_t>(name.size() + 1));
  put_text(desc, name);
  desc.push_back(0);
  put_u32(desc, 0);                       // Unicode language
  put_u32(desc, 0);                       // Unicode count
  put_u16(desc, 0);                       // ScriptCode code
  desc.push_back(0);                      // ScriptCode count
  desc.insert(desc.end(), 67, uint8_t{0});  // ScriptCode description
  bytes cprt;
  put_text(cprt, "text");
  put_u32(cprt, 0);
  put_text(cprt, "No copyright, use freely");
  cprt.push_back(0);
  bytes trc;
  put_text(trc, "curv");
  put_u32(trc, 0);
  put_u32(trc, 1);
  put_u16(trc, 0x0233);  // gamma 2.2 as unsigned 8.8
  std::vector<tag> tags = {
      {"desc", desc},
      {"cprt", cprt},
      {"wtpt", xyz(0.9642, 1.0, 0.8249)},
      {"rXYZ", xyz(0.4361, 0.2225, 0.0139)},
      {"gXYZ", xyz(0.3851, 0.7169, 0.0971)},
      {"bXYZ", xyz(0.1431, 0.0606, 0.7141)},
      {"rTRC", trc},
      {"gTRC", trc},
      {"bTRC", trc},
  };
  bytes table;
  bytes body;
  const uint32_t body_start = 128 + 4 + 12 * static_cast<uint32_t>(tags.size());
  for (const tag& t : tags) {
    put_text(table, t.sig);
    put_u32(table, body_start + static_cast<uint32_t>(body.size()));
    put_u32(table, static_cast<uint32_t>(t.data.size()));
    body.insert(body.end(), t.data.begin(), t.data.end());
    pad4(body);
  }
  bytes p;
  put_u32(p, body_start + static_cast<uint32_t>(body.size()));  // profile size
  put_u32(p, 0);                                               // preferred CMM
  put_u32(p, 0x02100000);                                      // version 2.1
  put_text(p, "mntrRGB XYZ ");
  for (uint32_t v : {2011u, 5u, 20u, 0u, 0u, 0u}) put_u16(p, v);  // creation date
  put_text(p, "acsp");
  p.resize(64, 0);  // platform, flags, device manufacturer, model, attributes
  put_u32(p, 0);    // perceptual rendering intent
  put_u32(p, s15f16(0.9642));
  put_u32(p, s15f16(1.0));
  put_u32(p, s15f16(0.8249));
  p.resize(128, 0);  // creator and reserved bytes
  put_u32(p, static_cast<uint32_t>(tags.size()));
  p.insert(p.end(), table.begin(), table.end());
  p.insert(p.end(), body.begin(), body.end());
  return p;
}

void put_chunk(bytes& png, const char* type, const bytes& data) {
  put_u32(png, static_cast<uint32_t>(data.size()));
  const size_t type_at = png.size();
  put_text(png, type);
  png.insert(png.end(), data.begin(), data.end());
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), png.data() + type_at,
                          static_cast<uInt>(png.size() - type_at));
  put_u32(png, static_cast<uint32_t>(crc));
}

// The font image: palette index 0 black, index 1 the ink (252, 0, 0); every
// row unfiltered (filter byte 0), no interlacing.
bool build_png(const glyph_sheet& sheet, bytes& png, std::string& error) {
  png = {137, 80, 78, 71, 13, 10, 26, 10};

  bytes ihdr;
  put_u32(ihdr, font_image_w);
  put_u32(ihdr, font_image_h);
  for (uint8_t b : {8, 3, 0, 0, 0}) ihdr.push_back(b);  // depth, palette, deflate, filter, no interlace
  put_chunk(png, "IHDR", ihdr);

  bytes phys;
  put_u32(phys, 2835);  // 72 dpi in pixels per metre
  put_u32(phys, 2835);
  phys.push_back(1);
  put_chunk(png, "pHYs", phys);

  bytes iccp;
  put_text(iccp, "ICC profile");
  iccp.push_back(0);
  iccp.push_back(0);  // deflate
  bytes profile;
  if (!deflate_bytes(icc_profile(), profile)) {
    error = "cannot compress the colour profile";
    return false;
  }
  iccp.insert(iccp.end(), profile.begin(), profile.end());
  put_chunk(png, "iCCP", iccp);

  bytes gama;
  put_u32(gama, 45455);  // 1 / 2.2
  put_chunk(png, "gAMA", gama);

  bytes chrm;
  for (uint32_t v : {31270u, 32900u, 64000u, 33000u, 30000u, 60000u, 15000u, 6000u}) put_u32(chrm, v);
  put_chunk(png, "cHRM", chrm);

  put_chunk(png, "PLTE", {0, 0, 0, 252, 0, 0});

  bytes raw;
  raw.reserve(static_cast<size_t>(font_image_h * (1 + font_image_w)));
  for (int32_t y = 0; y < font_image_h; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), sheet.begin() + y * font_image_w, sheet.begin() + (y + 1) * font_image_w);
  }
  bytes idat;
  if (!deflate_bytes(raw, idat)) {
    error = "cannot compress the image data";
    return false;
  }
  put_chunk(png, "IDAT", idat);
  put_chunk(png, "IEND", {});
  return true;
}

std::string as_source(const bytes& png) {
  std::string s =
      "// The font image built into the game, a PNG stream. Generated by fontgen from\n"
      "// src/gfx/font_glyphs.txt: do not edit, change the glyph source instead.\n"
      "#include \"gfx/font_data.h\"\n\n"
      "namespace vorn {\n\n"
      "const unsigned char font_png[] = {\n";
  char hex[8];
  for (size_t i = 0; i < png.size(); ++i) {
    if (i % 16 == 0) s += "   ";
    std::snprintf(hex, sizeof hex, " 0x%02x,", png[i]);
    s += hex;
    if (i % 16 == 15 || i + 1 == png.size()) s += '\n';
  }
  s += "};\n\nconst int32_t font_png_size = static_cast<int32_t>(sizeof(font_png));\n\n"
       "}  // namespace vorn\n";
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fontgen <font_glyphs.txt> <font_data.cpp>\n");
    return 2;
  }
  glyph_sheet sheet;
  std::string error;
  bytes png;
  if (!read_glyph_source(argv[1], sheet, error) || !build_png(sheet, png, error)) {
    std::fprintf(stderr, "fontgen: %s\n", error.c_str());
    return 1;
  }
  const std::string source = as_source(png);
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << source;
  out.close();
  if (!out) {
    std::fprintf(stderr, "fontgen: cannot write %s\n", argv[2]);
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
