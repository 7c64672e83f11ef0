#include "palette/inifile.h"

#include <utility>

#include "palette/safewrite.h"
#include "palette/textencoding.h"

namespace quillon::palette {

IniFile::IniFile(std::filesystem::path path, FileBytes contents)
    : m_path(std::move(path)),
      m_state(contents.state),
      m_problem(std::move(contents.problem)),
      m_document(IniDocument::parse(contents.bytes)) {}

IniFile IniFile::load(std::filesystem::path path) {
  FileBytes contents = readFileBounded(path);
  // A palette saved as "Unicode" by a Windows editor is UTF-16 with a
  // byte-order mark: it reads as its text. Lines of 8-bit text added to it
  // would garble it for every editor, so it is never rewritten.
  const std::string_view start = std::string_view(contents.bytes).substr(0, 2);
  if (start == "\xFF\xFE" || start == "\xFE\xFF") {
    const bool bigEndian = start == "\xFE\xFF";
    contents = {FileState::Unreadable,
                utf16ToUtf8(std::string_view(contents.bytes).substr(2), bigEndian),
                path.string() + ": UTF-16 text, which the program does not write"};
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
