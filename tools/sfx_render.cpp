// sfx_render: renders every sound effect, and a few seconds of each drone,
// through the game's mixer into WAV files in a directory, for listening to
// them (or measuring them with sox) away from the game. The directory is
// created when it does not exist.
//   sfx_render [DIR]
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "audio/effects.h"
#include "audio/mixer.h"

namespace {

using namespace vorn;

void put16(std::FILE* f, uint32_t v) {
  std::fputc(static_cast<int>(v & 0xFF), f);
  std::fputc(static_cast<int>((v >> 8) & 0xFF), f);
}
void put32(std::FILE* f, uint32_t v) {
  put16(f, v & 0xFFFF);
  put16(f, v >> 16);
}

bool write_wav(const std::string& path, const std::vector<int16_t>& samples) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  std::fputs("RIFF", f);
  put32(f, 36 + bytes);
  std::fputs("WAVEfmt ", f);
  put32(f, 16);
  put16(f, 1);
  put16(f, 2);
  put32(f, sample_rate);
  put32(f, sample_rate * 4);
  put16(f, 4);
  put16(f, 16);
  std::fputs("data", f);
  put32(f, bytes);
  for (const int16_t s : samples) put16(f, static_cast<uint16_t>(s));
  return std::fclose(f) == 0;
}

std::vector<int16_t> render(float seconds) {
  std::vector<int16_t> out(static_cast<size_t>(seconds * sample_rate) * 2);
  mixer_render(out.data(), static_cast<int32_t>(out.size() / 2));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "sfx_render: cannot create %s: %s\n", dir.c_str(), error.message().c_str());
    return 1;
  }
  const char* names[effect_kinds] = {"impact_crack", "link_snap", "dart_wreck", "player_wreck",
                                     "respawn_sweep", "guns_wake", "victory", "game_over"};
  bool ok = true;
  for (int32_t e = 0; e < effect_kinds; ++e) {
    reset_mixer();
    voice_spec params[effect_max_voices];
    const int32_t n = effect_voices(static_cast<effect>(e), 1.0f, 0.0f, params);
    for (int32_t i = 0; i < n; ++i) mixer_play(params[i]);
    ok &= write_wav(dir + "/" + names[e] + ".wav", render(2.5f));
  }
  // The hum from a cold link to one about to break, a distant then a near
  // buzz, and the crackle of a few then many burning links.
  reset_mixer();
  std::vector<int16_t> hum;
  for (int32_t step = 0; step <= 10; ++step) {
    mixer_set_drone(drone_hum, hum_level, hum_pitch(step / 10.0f), 0.0f);
    const auto part = render(0.2f);
    hum.insert(hum.end(), part.begin(), part.end());
  }
  ok &= write_wav(dir + "/beam_hum.wav", hum);
  reset_mixer();
  mixer_set_drone(drone_buzz, buzz_level(400.0f, 1), buzz_pitch, -0.5f);
  std::vector<int16_t> buzz = render(1.0f);
  mixer_set_drone(drone_buzz, buzz_level(20.0f, 3), buzz_pitch, 0.5f);
  const auto near = render(1.0f);
  buzz.insert(buzz.end(), near.begin(), near.end());
  ok &= write_wav(dir + "/hostile_buzz.wav", buzz);
  reset_mixer();
  mixer_set_drone(drone_crackle, crackle_level(3), crackle_rate(3), 0.0f);
  std::vector<int16_t> crackle = render(1.0f);
  mixer_set_drone(drone_crackle, crackle_level(500), crackle_rate(500), 0.0f);
  const auto many = render(1.0f);
  crackle.insert(crackle.end(), many.begin(), many.end());
  ok &= write_wav(dir + "/burning_crackle.wav", crackle);
  if (!ok) std::fprintf(stderr, "sfx_render: cannot write into %s: %s\n", dir.c_str(), std::strerror(errno));
  return ok ? 0 : 1;
}
