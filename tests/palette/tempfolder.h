// A fresh folder for one test, removed afterwards, and whole-file helpers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillon::palette::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(std::string_view name) const { return m_path / name; }
  // Names of everything in the folder, sorted.
  std::string listing() const;

 private:
  std::filesystem::path m_path;
};

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

}  // namespace quillon::palette::test
