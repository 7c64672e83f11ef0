// An INI-style settings file held in memory: read once, looked up and
// changed key by key, written back once. UI thread (no shared state; one
// document per caller).
//
// Every line the caller does not change comes back byte for byte, whatever
// its encoding, comment or oddity. Lookups follow the profile-file
// conventions the stored files rely on: section and key names without letter
// case and surrounding blanks, values without surrounding blanks, and where a
// name appears twice the first one counts (a duplicate section as a whole is
// ignored, for reading and for writing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "palette/inisyntax.h"
#include "palette/writeresult.h"

namespace quillon::palette {

struct IniEntry {
  std::string section;
  std::string key;
  std::string value;
};

class IniDocument {
 public:
  // An empty document: a file that does not exist yet.
  IniDocument() = default;

  // Any bytes make a document; nothing is ever refused or lost. A UTF-8
  // byte-order mark is skipped; CR LF, LF and a lone CR all end a line.
  // Meant for settings files (see kMaxSettingsFileBytes): lines are counted
  // in 32 bits.
  static IniDocument parse(std::string_view bytes);

  // The value of `key` in `section`, as UTF-8, without surrounding blanks and
  // cut to kMaxValueBytes; nothing when the section or the key is missing.
  std::optional<std::string> find(std::string_view section, std::string_view key) const;
  // The same, with a missing key read as the empty string.
  std::string value(std::string_view section, std::string_view key) const;

  // Stores `value` (blanks around names and value are dropped): the key's
  // line is rewritten where it is, or a line is added after the section's
  // last key, or the section is added at the end. New lines are UTF-8 and
  // end the way the file's lines end (LF in a new file). Storing the value a
  // key already has changes nothing.
  WriteResult set(std::string_view section, std::string_view key, std::string_view value);

  // The file's bytes, with the changes made since parse().
  std::string serialise() const;
  bool modified() const { return m_modified; }

  // Every key that can be read, in file order.
  std::vector<IniEntry> entries() const;

 private:
  enum class LineEnd : unsigned char { None, Lf, Cr, CrLf };
  static constexpr std::uint32_t kNone = UINT32_MAX;

  // One section line, one key line, or a run of other lines kept as they are.
  struct Record {
    std::size_t begin = 0;  // the content in m_bytes, when text is kNone
    std::size_t length = 0;
    std::uint32_t text = kNone;  // else: index of the content in m_texts
    std::uint32_t next = kNone;
    std::uint32_t lastKey = kNone;  // of a section line: new keys go after it
    LineEnd end = LineEnd::None;
    LineKind kind = LineKind::Other;
  };

  // The names parse() found, sorted for binary search by the hash of the
  // folded name; equal hashes stay in file order, so the first of duplicate
  // names is met first. Flat arrays rather than hash maps: a hostile file of
  // a million names then costs a sort, not a million allocations.
  struct SectionName {
    std::size_t hash;
    std::uint32_t record;
  };
  struct KeyName {
    std::size_t hash;
    std::uint32_t section;  // the section line above it
    std::uint32_t record;
  };
  // Names set() added: few, searched one by one.
  struct AddedName {
    std::uint32_t section;  // kNone for a section line
    std::string folded;
    std::uint32_t record;
  };

  std::string_view content(const Record& record) const;
  std::string foldedName(const Record& record) const;
  // The record of the first section or key of that folded name, or kNone.
  std::uint32_t findSection(const std::string& folded) const;
  std::uint32_t findKey(std::uint32_t section, const std::string& folded) const;
  // The value of a key line: whole, or cut to kMaxValueBytes for the caller.
  std::string wholeValueOf(const Record& record) const;
  std::string valueOf(const Record& record) const;
  std::uint32_t addRecord(std::string text, LineKind kind);
  void insertAfter(std::uint32_t anchor, std::uint32_t record);
  void appendRecord(std::uint32_t record);

  std::string m_bytes;          // the file as read
  std::size_t m_bodyBegin = 0;  // after the byte-order mark
  std::vector<Record> m_records;
  std::vector<std::string> m_texts;
  std::vector<SectionName> m_sectionNames;
  std::vector<KeyName> m_keyNames;
  std::vector<AddedName> m_added;
  std::uint32_t m_head = kNone;
  std::uint32_t m_tail = kNone;
  LineEnd m_lineEnd = LineEnd::Lf;  // how the file's lines end: the first line end found
  bool m_modified = false;
};

}  // namespace quillon::palette
