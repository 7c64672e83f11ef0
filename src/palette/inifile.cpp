#include "palette/inifile.h"

#include <utility>

#include "palette/safewrite.h"

namespace quillon::palette {

IniFile::IniFile(std::filesystem::path path, FileBytes contents)
    : m_path(std::move(path)),
      m_state(contents.state),
      m_problem(std::move(contents.problem)),
      m_document(IniDocument::parse(contents.bytes)) {}

IniFile IniFile::load(std::filesystem::path path) {
  FileBytes contents = readFileBounded(path);
  // Lines of 8-bit text added to UTF-16 text would garble the file for every
  // editor: such a file reads as empty and is never rewritten.
  const std::string_view start = std::string_view(contents.bytes).substr(0, 2);
  if (start == "\xFF\xFE" || start == "\xFE\xFF") {
    contents = {FileState::Unreadable, {}, path.string() + ": UTF-16 text, not a settings file"};
  }
  return IniFile(std::move(path), std::move(contents));
}

WriteResult IniFile::save() {
  if (m_state == FileState::Unreadable) {
    return WriteResult::failure(WriteError::UnreadableFile,
                                m_problem + " (not rewritten, so that nothing in it is lost)");
  }
  if (!m_document.modified()) return WriteResult::success();
  std::string bytes = m_document.serialise();
  WriteResult result = replaceFileContents(m_path, bytes);
  if (result) {
    m_state = FileState::Read;
    m_document = IniDocument::parse(bytes);
  }
  return result;
}

std::string ReadIni(const std::filesystem::path& file, std::string_view section,
                    std::string_view key) {
  return IniFile::load(file).value(section, key);
}

WriteResult WriteIni(const std::filesystem::path& file, std::string_view section,
                     std::string_view key, std::string_view value) {
  IniFile settings = IniFile::load(file);
  if (WriteResult result = settings.set(section, key, value); !result) return result;
  return settings.save();
}

}  // namespace quillon::palette
