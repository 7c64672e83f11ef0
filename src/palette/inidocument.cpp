#include "palette/inidocument.h"

#include <algorithm>

#include "palette/textencoding.h"

namespace quillon::palette {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A name or value of a line, decoded the way its whole line is.
std::string decodePart(std::string_view part, bool lineIsUtf8) {
  return lineIsUtf8 ? std::string(part) : windows1252ToUtf8(part);
}

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
  IniDocument doc;
  doc.m_bytes.assign(bytes);
  const std::string_view all = doc.m_bytes;
  std::size_t pos =
      all.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
  doc.m_bodyBegin = pos;
  bool lineEndSeen = false;
  Section* current = nullptr;  // the readable section the lines below belong to

  while (pos < all.size()) {
    const std::size_t stop = std::min(all.find_first_of("\r\n", pos), all.size());
    const std::string_view line = all.substr(pos, stop - pos);
    LineEnd end = LineEnd::None;
    std::size_t next = stop;
    if (stop < all.size()) {
      const bool crlf = all[stop] == '\r' && stop + 1 < all.size() && all[stop + 1] == '\n';
      end = crlf ? LineEnd::CrLf : (all[stop] == '\r' ? LineEnd::Cr : LineEnd::Lf);
      next = stop + (crlf ? 2 : 1);
      if (!lineEndSeen) doc.m_lineEnd = end;
      lineEndSeen = true;
    }

    const LineSyntax syntax = readLineSyntax(line);
    if (syntax.kind == LineKind::Other && !doc.m_records.empty() &&
        doc.m_records.back().kind == LineKind::Other) {
      // Lines nobody reads stay in one record, so a file of a million blank
      // lines costs one record, not a million.
      Record& run = doc.m_records.back();
      run.length = stop - run.begin;
      run.end = end;
    } else {
      const auto id = static_cast<std::uint32_t>(doc.m_records.size());
      if (!doc.m_records.empty()) doc.m_records.back().next = id;
      doc.m_records.push_back({pos, stop - pos, kNone, kNone, end, syntax.kind});
      const bool utf8 = syntax.kind != LineKind::Other && isValidUtf8(line);
      if (syntax.kind == LineKind::Section) {
        current = nullptr;
        if (!syntax.name.empty()) {
          auto [it, isFirst] = doc.m_sections.try_emplace(foldName(decodePart(syntax.name, utf8)));
          if (isFirst) {
            it->second.header = id;
            current = &it->second;
          }
        }
      } else if (syntax.kind == LineKind::Key && current != nullptr) {
        current->keys.try_emplace(foldName(decodePart(syntax.name, utf8)), id);
        current->lastKey = id;
      }
    }
    pos = next;
  }
  if (!doc.m_records.empty()) {
    doc.m_head = 0;
    doc.m_tail = static_cast<std::uint32_t>(doc.m_records.size() - 1);
  }
  return doc;
}

std::string_view IniDocument::content(const Record& record) const {
  if (record.text != kNone) return m_texts[record.text];
  return std::string_view(m_bytes).substr(record.begin, record.length);
}

std::string IniDocument::wholeValueOf(const Record& record) const {
  const std::string_view line = content(record);
  return decodePart(readLineSyntax(line).value, isValidUtf8(line));
}

std::string IniDocument::valueOf(const Record& record) const {
  std::string value = wholeValueOf(record);
  value.resize(cutUtf8(value, kMaxValueBytes).size());
  return value;
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const {
  const auto s = m_sections.find(foldName(trimBlanks(section)));
  if (s == m_sections.end()) return std::nullopt;
  const auto k = s->second.keys.find(foldName(trimBlanks(key)));
  if (k == s->second.keys.end()) return std::nullopt;
  return valueOf(m_records[k->second]);
}

std::string IniDocument::value(std::string_view section, std::string_view key) const {
  return find(section, key).value_or(std::string());
}

std::uint32_t IniDocument::addRecord(std::string text, LineKind kind) {
  const auto id = static_cast<std::uint32_t>(m_records.size());
  m_texts.push_back(std::move(text));
  m_records.push_back(
      {0, 0, static_cast<std::uint32_t>(m_texts.size() - 1), kNone, m_lineEnd, kind});
  return id;
}

void IniDocument::insertAfter(std::uint32_t anchor, std::uint32_t record) {
  Record& before = m_records[anchor];
  if (before.end == LineEnd::None) before.end = m_lineEnd;  // it was the file's last line
  m_records[record].next = before.next;
  before.next = record;
  if (m_tail == anchor) m_tail = record;
}

void IniDocument::appendRecord(std::uint32_t record) {
  if (m_tail == kNone) {
    m_head = m_tail = record;
  } else {
    insertAfter(m_tail, record);
  }
}

WriteResult IniDocument::set(std::string_view section, std::string_view key,
                             std::string_view value) {
  section = trimBlanks(section);
  key = trimBlanks(key);
  value = trimBlanks(value);
  if (!isWritableSectionName(section)) {
    return WriteResult::failure(
        WriteError::InvalidName,
        "the section name \"" + std::string(section) + "\" cannot be stored in a settings file");
  }
  if (!isWritableKeyName(key)) {
    return WriteResult::failure(
        WriteError::InvalidName,
        "the key name \"" + std::string(key) + "\" cannot be stored in a settings file");
  }
  if (!isWritableValue(value)) {
    return WriteResult::failure(
        WriteError::InvalidValue,
        "the value for \"" + std::string(key) + "\" cannot be stored in a settings file");
  }

  auto [s, isNewSection] = m_sections.try_emplace(foldName(section));
  Section& target = s->second;
  if (isNewSection) {
    target.header = addRecord("[" + std::string(section) + "]", LineKind::Section);
    appendRecord(target.header);
  }
  const std::string foldedKey = foldName(key);
  const auto k = target.keys.find(foldedKey);
  if (k != target.keys.end()) {
    Record& line = m_records[k->second];
    if (wholeValueOf(line) == value) return WriteResult::success();
    // Keep the file's own spelling of the key; the line is new text now.
    const std::string_view old = content(line);
    const std::string name = decodePart(readLineSyntax(old).name, isValidUtf8(old));
    m_texts.push_back(name + "=" + std::string(value));
    line.text = static_cast<std::uint32_t>(m_texts.size() - 1);
  } else {
    const std::uint32_t id = addRecord(std::string(key) + "=" + std::string(value), LineKind::Key);
    insertAfter(target.lastKey != kNone ? target.lastKey : target.header, id);
    target.keys.emplace(foldedKey, id);
    target.lastKey = id;
  }
  m_modified = true;
  return WriteResult::success();
}

std::string IniDocument::serialise() const {
  std::string out;
  out.reserve(m_bytes.size() + 64 * m_texts.size());
  out.append(m_bytes, 0, m_bodyBegin);
  for (std::uint32_t id = m_head; id != kNone; id = m_records[id].next) {
    const Record& record = m_records[id];
    out += content(record);
    switch (record.end) {
      case LineEnd::None:
        break;
      case LineEnd::Lf:
        out += '\n';
        break;
      case LineEnd::Cr:
        out += '\r';
        break;
      case LineEnd::CrLf:
        out += "\r\n";
        break;
    }
  }
  return out;
}

std::vector<IniEntry> IniDocument::entries() const {
  std::vector<IniEntry> result;
  const Section* current = nullptr;
  std::string sectionName;
  for (std::uint32_t id = m_head; id != kNone; id = m_records[id].next) {
    const Record& record = m_records[id];
    if (record.kind == LineKind::Section) {
      current = nullptr;
      const std::string_view line = content(record);
      sectionName = decodePart(readLineSyntax(line).name, isValidUtf8(line));
      const auto s = m_sections.find(foldName(sectionName));
      if (s != m_sections.end() && s->second.header == id) current = &s->second;
    } else if (record.kind == LineKind::Key && current != nullptr) {
      const std::string_view line = content(record);
      std::string key = decodePart(readLineSyntax(line).name, isValidUtf8(line));
      const auto k = current->keys.find(foldName(key));
      if (k != current->keys.end() && k->second == id) {
        result.push_back({sectionName, std::move(key), valueOf(record)});
      }
    }
  }
  return result;
}

}  // namespace quillon::palette
