// One line scanner serves reading and writing, so that a value the program writes is the value it
// reads back. The rules are those of the Windows profile functions: a line ends at LF; blanks
// (CR included) around names and values are dropped; a section header is '[' up to the last ']'
// of its line; the first section and the first key of a name count; no comments.
#include "text/ini.h"

#include <optional>

#include "text/text.h"

namespace zk {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view s) {
  std::size_t b = s.find_first_not_of(kBlanks);
  if (b == std::string_view::npos) return {};
  std::size_t e = s.find_last_not_of(kBlanks);
  return s.substr(b, e - b + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

struct Line {
  std::size_t begin = 0, end = 0;  // end: after the LF, or the end of the text
  enum Kind { Blank, Section, Key, Other } kind = Other;
  std::string_view name, value;
};

// The lines of INI text, one at a time.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {
    if (text_.substr(0, kUtf8Bom.size()) == kUtf8Bom) pos_ = kUtf8Bom.size();
  }
  std::optional<Line> next() {
    if (pos_ >= text_.size()) return std::nullopt;
    Line line;
    line.begin = pos_;
    std::size_t lf = text_.find('\n', pos_);
    line.end = lf == std::string_view::npos ? text_.size() : lf + 1;
    pos_ = line.end;
    std::string_view body = trimmed(text_.substr(line.begin, line.end - line.begin));
    if (body.empty()) {
      line.kind = Line::Blank;
    } else if (std::size_t close = body.rfind(']'); body.front() == '[' && close != std::string_view::npos) {
      line.kind = Line::Section;
      line.name = trimmed(body.substr(1, close - 1));
    } else if (std::size_t eq = body.find('='); eq != std::string_view::npos) {
      line.kind = Line::Key;
      line.name = trimmed(body.substr(0, eq));
      line.value = trimmed(body.substr(eq + 1));
    }
    return line;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Where a key is, or where it would go.
struct Place {
  bool sectionFound = false;
  std::optional<Line> key;                             // the first line of the key in the first section
  std::size_t afterLastLine = std::string_view::npos;  // after the section's last non-blank line
};

Place locate(std::string_view text, std::string_view section, std::string_view key) {
  Place place;
  Scanner scan(text);
  bool inSection = false;
  while (auto line = scan.next()) {
    if (line->kind == Line::Section) {
      if (place.sectionFound) break;  // the first section of the name is the one
      inSection = sameName(line->name, section);
      if (inSection) {
        place.sectionFound = true;
        place.afterLastLine = line->end;
      }
      continue;
    }
    if (!inSection || line->kind == Line::Blank) continue;
    place.afterLastLine = line->end;
    if (line->kind == Line::Key && sameName(line->name, key)) {
      place.key = line;
      break;
    }
  }
  return place;
}

}  // namespace

std::string iniReadKey(std::string_view content, std::string_view section, std::string_view key) {
  return iniReadKeys(content, section, {key}).front();
}

bool iniHasKey(std::string_view content, std::string_view section, std::string_view key) {
  return locate(content.substr(0, content.find('\0')), section, key).key.has_value();
}

std::vector<std::string> iniReadKeys(std::string_view content, std::string_view section,
                                     std::initializer_list<std::string_view> keys) {
  std::string_view text = content.substr(0, content.find('\0'));
  std::vector<std::string> values;
  for (std::string_view key : keys) {
    Place place = locate(text, section, key);
    values.emplace_back(place.key ? place.key->value : std::string_view());
  }
  return values;
}

// A line edit, as the Windows profile functions do: the key's line is replaced (or added after the
// last line of its section, or a new section is appended) and every other byte stays as it was.
// Text after a NUL byte is out of the reader's sight; it is kept, and the edit lands before it.
std::string iniWriteKey(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string_view text = content.substr(0, content.find('\0'));
  std::string_view hidden = content.substr(text.size());
  std::string line = "=";
  for (char c : value)
    if (c != '\r' && c != '\n' && c != '\0') line += c;  // a line break would forge another key
  line += "\r\n";

  Place place = locate(text, section, key);
  std::string out;
  out.reserve(content.size() + key.size() + line.size() + section.size() + 8);
  if (place.key) {
    // The key keeps its spelling on disk.
    out.append(text.substr(0, place.key->begin)).append(place.key->name).append(line);
    out.append(text.substr(place.key->end));
  } else if (place.sectionFound) {
    std::size_t at = place.afterLastLine;
    out.append(text.substr(0, at));
    if (at > 0 && out.back() != '\n') out += "\r\n";
    out.append(key).append(line).append(text.substr(at));
  } else {
    out.append(text);
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out.append("[").append(section).append("]\r\n").append(key).append(line);
  }
  return out.append(hidden);
}

}  // namespace zk
