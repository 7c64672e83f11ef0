// Small WAV files written by the tests themselves: exact samples, no codec.
// Test support only.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::test {

// A 16-bit stereo WAV file of these interleaved samples at `rate`, in the
// system's temporary folder; its path, or "" when it cannot be written.
inline std::string writeWav(const std::string& name, int rate,
                            const std::vector<std::int16_t>& samples) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("quillon-" + name + "-" + std::to_string(::getpid()) + ".wav"))
                               .string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return "";
  const auto word = [f](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xff), f);
  };
  const auto data = static_cast<std::uint32_t>(samples.size() * 2);
  std::fputs("RIFF", f);
  word(36 + data, 4);
  std::fputs("WAVEfmt ", f);
  word(16, 4);
  word(1, 2);  // PCM
  word(2, 2);
  word(static_cast<std::uint32_t>(rate), 4);
  word(static_cast<std::uint32_t>(rate) * 4, 4);
  word(4, 2);
  word(16, 2);
  std::fputs("data", f);
  word(data, 4);
  std::fwrite(samples.data(), 2, samples.size(), f);
  std::fclose(f);
  return path;
}

}  // namespace quillon::test
