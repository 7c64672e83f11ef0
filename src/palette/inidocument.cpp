#include "palette/inidocument.h"

#include <algorithm>
#include <functional>
#include <tuple>

#include "palette/textencoding.h"

namespace quillon::palette {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A name or value of a line, decoded the way its whole line is.
std::string decodePart(std::string_view part, bool lineIsUtf8) {
  return lineIsUtf8 ? std::string(part) : windows1252ToUtf8(part);
}

std::string foldedNameOfLine(std::string_view line) {
  return foldName(decodePart(readLineSyntax(line).name, isValidUtf8(line)));
}

std::size_t hashName(const std::string& folded) { return std::hash<std::string>{}(folded); }

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
  IniDocument doc;
  doc.m_bytes.assign(bytes);
  const std::string_view all = doc.m_bytes;
  std::size_t pos =
      all.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
  doc.m_bodyBegin = pos;
  bool lineEndSeen = false;
  std::uint32_t section = kNone;  // the section line the lines below belong to

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
      Record record;
      record.begin = pos;
      record.length = stop - pos;
      record.end = end;
      record.kind = syntax.kind;
      doc.m_records.push_back(record);
      if (syntax.kind == LineKind::Section) {
        section = id;
        if (!syntax.name.empty()) {
          doc.m_sectionNames.push_back({hashName(foldedNameOfLine(line)), id});
        }
      } else if (syntax.kind == LineKind::Key && section != kNone) {
        doc.m_keyNames.push_back({hashName(foldedNameOfLine(line)), section, id});
        doc.m_records[section].lastKey = id;
      }
    }
    pos = next;
  }
  if (!doc.m_records.empty()) {
    doc.m_head = 0;
    doc.m_tail = static_cast<std::uint32_t>(doc.m_records.size() - 1);
  }
  std::sort(doc.m_sectionNames.begin(), doc.m_sectionNames.end(),
            [](const SectionName& a, const SectionName& b) {
              return std::tie(a.hash, a.record) < std::tie(b.hash, b.record);
            });
  std::sort(doc.m_keyNames.begin(), doc.m_keyNames.end(), [](const KeyName& a, const KeyName& b) {
    return std::tie(a.section, a.hash, a.record) < std::tie(b.section, b.hash, b.record);
  });
  return doc;
}

std::string_view IniDocument::content(const Record& record) const {
  if (record.text != kNone) return m_texts[record.text];
  return std::string_view(m_bytes).substr(record.begin, record.length);
}

std::string IniDocument::foldedName(const Record& record) const {
  return foldedNameOfLine(content(record));
}

std::uint32_t IniDocument::findSection(const std::string& folded) const {
  const std::size_t hash = hashName(folded);
  auto it =
      std::lower_bound(m_sectionNames.begin(), m_sectionNames.end(), hash,
                       [](const SectionName& entry, std::size_t h) { return entry.hash < h; });
  for (; it != m_sectionNames.end() && it->hash == hash; ++it) {
    if (foldedName(m_records[it->record]) == folded) return it->record;
  }
  for (const AddedName& added : m_added) {
    if (added.section == kNone && added.folded == folded) return added.record;
  }
  return kNone;
}

std::uint32_t IniDocument::findKey(std::uint32_t section, const std::string& folded) const {
  const std::size_t hash = hashName(folded);
  auto it =
      std::lower_bound(m_keyNames.begin(), m_keyNames.end(), std::pair(section, hash),
                       [](const KeyName& entry, const std::pair<std::uint32_t, std::size_t>& k) {
                         return std::tie(entry.section, entry.hash) < std::tie(k.first, k.second);
                       });
  for (; it != m_keyNames.end() && it->section == section && it->hash == hash; ++it) {
    if (foldedName(m_records[it->record]) == folded) return it->record;
  }
  for (const AddedName& added : m_added) {
    if (added.section == section && added.folded == folded) return added.record;
  }
  return kNone;
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
  const std::uint32_t header = findSection(foldName(trimBlanks(section)));
  if (header == kNone) return std::nullopt;
  const std::uint32_t line = findKey(header, foldName(trimBlanks(key)));
  if (line == kNone) return std::nullopt;
  return valueOf(m_records[line]);
}

std::string IniDocument::value(std::string_view section, std::string_view key) const {
  return find(section, key).value_or(std::string());
}

std::uint32_t IniDocument::addRecord(std::string text, LineKind kind) {
  const auto id = static_cast<std::uint32_t>(m_records.size());
  m_texts.push_back(std::move(text));
  Record record;
  record.text = static_cast<std::uint32_t>(m_texts.size() - 1);
  record.end = m_lineEnd;
  record.kind = kind;
  m_records.push_back(record);
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

  std::string folded = foldName(section);
  std::uint32_t header = findSection(folded);
  if (header == kNone) {
    header = addRecord("[" + std::string(section) + "]", LineKind::Section);
    appendRecord(header);
    m_added.push_back({kNone, std::move(folded), header});
  }
  folded = foldName(key);
  if (const std::uint32_t line = findKey(header, folded); line != kNone) {
    if (wholeValueOf(m_records[line]) == value) return WriteResult::success();
    // Keep the file's own spelling of the key; the line is new text now.
    const std::string_view old = content(m_records[line]);
    std::string text = decodePart(readLineSyntax(old).name, isValidUtf8(old));
    text += '=';
    text += value;
    m_texts.push_back(std::move(text));
    m_records[line].text = static_cast<std::uint32_t>(m_texts.size() - 1);
  } else {
    const std::uint32_t id = addRecord(std::string(key) + "=" + std::string(value), LineKind::Key);
    const std::uint32_t lastKey = m_records[header].lastKey;
    insertAfter(lastKey != kNone ? lastKey : header, id);
    m_records[header].lastKey = id;
    m_added.push_back({header, std::move(folded), id});
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
  std::uint32_t section = kNone;  // the readable section the lines below belong to
  std::string sectionName;
  for (std::uint32_t id = m_head; id != kNone; id = m_records[id].next) {
    const Record& record = m_records[id];
    const std::string_view line = content(record);
    if (record.kind == LineKind::Section) {
      sectionName = decodePart(readLineSyntax(line).name, isValidUtf8(line));
      const bool first = !sectionName.empty() && findSection(foldName(sectionName)) == id;
      section = first ? id : kNone;
    } else if (record.kind == LineKind::Key && section != kNone) {
      std::string key = decodePart(readLineSyntax(line).name, isValidUtf8(line));
      if (findKey(section, foldName(key)) == id) {
        result.push_back({sectionName, std::move(key), valueOf(record)});
      }
    }
  }
  return result;
}

}  // namespace quillon::palette
