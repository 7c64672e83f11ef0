// A settings file on disk (a palette, Config.ini): read once, changed key by
// key, written once, whole or not at all. UI thread (one object per caller).
//
//   IniFile config = IniFile::load(folder / "Config.ini");
//   config.set("Favoris", "Nb", "2");
//   if (const WriteResult r = config.save(); !r) { /* r.message() */ }
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "palette/boundedread.h"
#include "palette/inidocument.h"
#include "palette/writeresult.h"

namespace quillon::palette {

class IniFile {
 public:
  // Never fails. A missing file reads as empty and is created by save(); an
  // unreadable one (a folder, too large, refused) also reads as empty, but
  // save() refuses to replace what it could not read. UTF-16 text with a
  // byte-order mark reads as its text, and save() refuses it too.
  static IniFile load(std::filesystem::path path);

  const std::filesystem::path& path() const { return m_path; }
  FileState state() const { return m_state; }
  const IniDocument& document() const { return m_document; }

  std::optional<std::string> find(std::string_view section, std::string_view key) const {
    return m_document.find(section, key);
  }
  std::string value(std::string_view section, std::string_view key) const {
    return m_document.value(section, key);
  }
  // Changes the copy in memory only; see IniDocument::set.
  WriteResult set(std::string_view section, std::string_view key, std::string_view value) {
    return m_document.set(section, key, value);
  }

  // Writes the changes, if any, through replaceFileContents.
  WriteResult save();

 private:
  IniFile(std::filesystem::path path, FileBytes contents);

  std::filesystem::path m_path;
  FileState m_state = FileState::Missing;
  std::string m_problem;
  IniDocument m_document;
};

// One key of a settings file, read or written in one call. A missing or
// unreadable file, section or key reads as the empty string.
std::string ReadIni(const std::filesystem::path& file, std::string_view section,
                    std::string_view key);
WriteResult WriteIni(const std::filesystem::path& file, std::string_view section,
                     std::string_view key, std::string_view value);

}  // namespace quillon::palette
