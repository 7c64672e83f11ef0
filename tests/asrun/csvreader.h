// A small RFC 4180 reader, written from the RFC rather than from the
// writer, to check that what the log writes reads back as it was meant.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::asrun::test {

using Record = std::vector<std::string>;

inline std::vector<Record> readCsv(std::string_view text) {
  std::vector<Record> records;
  Record record;
  std::string field;
  std::size_t i = 0;
  bool fieldStarted = false;
  while (i < text.size()) {
    const char c = text[i];
    if (!fieldStarted && c == '"') {
      ++i;
      while (true) {
        if (i >= text.size()) throw std::runtime_error("unterminated quoted field");
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += text[i++];
      }
      fieldStarted = true;
      continue;
    }
    if (c == ',') {
      record.push_back(field);
      field.clear();
      fieldStarted = false;
      ++i;
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      record.push_back(field);
      records.push_back(record);
      record.clear();
      field.clear();
      fieldStarted = false;
      i += 2;
    } else if (c == '"' || c == '\r' || c == '\n') {
      throw std::runtime_error("a quote or line break in an unquoted field");
    } else {
      field += c;
      fieldStarted = true;
      ++i;
    }
  }
  if (!record.empty() || !field.empty()) throw std::runtime_error("last line not ended by CR LF");
  return records;
}

}  // namespace quillon::asrun::test
