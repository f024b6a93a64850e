// The settings file's text in memory: lines kept as they were (comments, order, each
// line's own end), sections and keys found without regard to case, and the forms the
// file may come in (UTF-8 with or without a byte-order mark, UTF-16 with one). Reading
// and writing agree on every line end: CR LF, a lone CR and a lone LF each end a line.
#pragma once

#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

namespace haruvi::platform {

enum class IniEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct IniLine {
  std::string text;  // UTF-8 (a UTF-16 file is converted on reading)
  std::string end;   // "\r\n", "\r", "\n" or "" for a last line without one
};

class IniText {
 public:
  static IniText Parse(std::string_view data);
  // The file's bytes in the form it came in.
  std::string Serialize() const;
  // False when the file's bytes could not be read as its form says (UTF-16 with a broken
  // surrogate, an odd length): such a file is read but never written over.
  bool Writable() const { return writable_; }

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::vector<std::string> Keys(std::string_view section) const;
  bool HasSection(std::string_view section) const;
  // Sets a value (line breaks in it become blanks); false when it was already so.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes a key; false when it was not there.
  bool Erase(std::string_view section, std::string_view key);

 private:
  struct Span {
    std::size_t header = std::string::npos;  // npos: no such section
    std::size_t last = 0;                    // the line after the section
  };
  Span FindSection(std::string_view section) const;
  // Where each key's value is, by lower-cased "section\0key", as Get finds it (the first
  // section of a name, the first key in it): built on the first read after a change, so
  // reading n keys costs the file once, not n times.
  void Index() const;

  mutable std::vector<std::pair<std::string, std::size_t>> index_;
  mutable bool indexed_ = false;

  IniEncoding encoding_ = IniEncoding::Utf8;
  std::vector<IniLine> lines_;
  std::string newline_ = "\r\n";  // for new lines: the file's first line end
  bool writable_ = true;
};

}  // namespace haruvi::platform
