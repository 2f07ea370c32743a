#include "convert/changes/CsvCodec.h"

#include "platform/FileDescriptor.h"

namespace convert {
namespace {

/// The length of the valid UTF-8 sequence at `at`, 0 when the bytes there are not one.
std::size_t Utf8SequenceAt(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  if (first < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    if (first == 0xE0) low = 0xA0;   // no overlong forms
    if (first == 0xED) high = 0x9F;  // no surrogates
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

bool ValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceAt(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

constexpr const char* kHex = "0123456789ABCDEF";

/// "%" and every byte outside a valid UTF-8 sequence as "%XX"; the rest as it is.
std::string PercentEscaped(const std::string& cell) {
  std::string escaped;
  for (std::size_t i = 0; i < cell.size();) {
    const std::size_t length = cell[i] == '%' ? 0 : Utf8SequenceAt(cell, i);
    if (length > 0) {
      escaped.append(cell, i, length);
      i += length;
      continue;
    }
    const auto byte = static_cast<unsigned char>(cell[i++]);
    escaped += '%';
    escaped += kHex[byte >> 4];
    escaped += kHex[byte & 0xF];
  }
  return escaped;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentUnescaped(const std::string& text, std::size_t from) {
  std::string cell;
  for (std::size_t i = from; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (text[i] != '%') {
      cell += text[i];
    } else if (low < 0) {
      throw ChangeFileError("a cell holds an escape that Ordavel never writes.");
    } else {
      cell += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return cell;
}

/// Whether a spreadsheet would take a cell beginning with `c` for a formula, or whether the
/// apostrophe that neutralises one must itself be told apart.
bool NeedsApostrophe(char c) {
  return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r' || c == '\'';
}

std::string EncodedCell(const std::string& cell) {
  if (!ValidUtf8(cell)) return "'%" + PercentEscaped(cell);
  if (!cell.empty() && NeedsApostrophe(cell.front())) return "'" + cell;
  return cell;
}

std::string DecodedCell(std::string text) {
  if (text.starts_with("'%")) return PercentUnescaped(text, 2);
  if (text.starts_with('\'')) text.erase(0, 1);
  return text;
}

void AppendCell(std::string& line, const std::string& cell) {
  const std::string text = EncodedCell(cell);
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    line += text;
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

/// Parses the line that starts at `at` into `cells`; true, with `at` after its CR LF, when the
/// line is whole in `text`.
bool ParseLine(const std::string& text, std::size_t& at, std::vector<std::string>& cells) {
  cells.clear();
  std::string cell;
  bool quoted = false;
  for (std::size_t i = at; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        cell += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        cell += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.push_back(DecodedCell(std::move(cell)));
      cell.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      cells.push_back(DecodedCell(std::move(cell)));
      at = i + 2;
      return true;
    } else {
      cell += c;
    }
  }
  return false;
}

std::string CutShort(std::size_t line) {
  return "it ends in the middle of line " + std::to_string(line) + ".";
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    AppendCell(line, cells[i]);
  }
  return line + "\r\n";
}

void AppendCsvLine(std::string& lines, std::initializer_list<const std::string*> cells) {
  bool first = true;
  for (const std::string* cell : cells) {
    if (!first) lines += ',';
    first = false;
    AppendCell(lines, *cell);
  }
  lines += "\r\n";
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> cells;
  for (std::size_t at = 0; at < text.size();) {
    if (!ParseLine(text, at, cells)) throw ChangeFileError(CutShort(lines.size() + 1));
    lines.push_back(cells);
  }
  return lines;
}

void CsvReader::Rewind() {
  buffer_.clear();
  at_ = 0;
  offset_ = 0;
  line_ = 0;
}

bool CsvReader::Fill() {
  constexpr std::size_t kChunk = 64 * 1024;
  const std::optional<std::string> chunk = platform::ReadUpToAt(fd_, kChunk, offset_);
  if (!chunk) throw ChangeFileError("it cannot be read.");
  buffer_.erase(0, at_);
  at_ = 0;
  buffer_ += *chunk;
  offset_ += static_cast<long long>(chunk->size());
  return !chunk->empty();
}

std::optional<std::vector<std::string>> CsvReader::Next() {
  std::vector<std::string> cells;
  for (;;) {
    std::size_t end = at_;
    if (ParseLine(buffer_, end, cells)) {
      at_ = end;
      ++line_;
      return cells;
    }
    if (buffer_.size() - at_ > maxLine_) {
      throw ChangeFileError("line " + std::to_string(line_ + 1) +
                            " is longer than any row of a change file.");
    }
    if (!Fill()) {
      if (at_ < buffer_.size()) throw ChangeFileError(CutShort(line_ + 1));
      return std::nullopt;
    }
  }
}

}  // namespace convert
