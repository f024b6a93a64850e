// TArchiverOptions, the switch set of the archiver component (one switch per LHA
// switch, -1 or empty when not given), and TCmdOpt, which builds a command line from
// pieces each appended with one blank in front.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace haruvi::archive {

enum class TPackFilter { pfArchiver, pfComponent };
enum class TResFileUse { ruOnPack, ruOnUnpack, ruOnRemoveItem, ruOnUpdate };

class TArchiverOptions {
 public:
  // The integer switches, in the order the LHA command line writes them.
  static constexpr std::array<const char*, 47> kIntSwitches = {
      "a",  "c",  "e",  "f",  "h",   "i",  "l",   "m",   "n",   "o",   "p",   "r",  "s",  "t",  "u",  "x",
      "y",  "z",  "jc", "jd", "je",  "jf", "jh",  "ji",  "jm",  "jn",  "jp",  "jr", "jss", "jw", "jyc", "jyd",
      "jyk", "jyn", "jyo", "ga", "gd", "ge", "gf", "gj", "gm", "gn", "go", "gp", "gs", "gu", "gw"};

  TArchiverOptions() { Reset(); }
  // Every integer switch to -1, every string switch to empty.
  void Reset();

  // An integer switch by name ("x", "jm"); -1 = not given. Unknown names read -1.
  int Get(std::string_view name) const;
  void Set(std::string_view name, int value);

  std::string w, jo, job, jz, gr;
  std::vector<std::string> jx;
  std::string UserOptions;
  std::string UserFileList;
  TPackFilter PackFilter = TPackFilter::pfComponent;
  std::string ResFileName;
  std::set<TResFileUse> ResFileUsage = {TResFileUse::ruOnPack, TResFileUse::ruOnUnpack, TResFileUse::ruOnRemoveItem};

 private:
  std::array<std::int8_t, kIntSwitches.size()> values_{};
};

class TCmdOpt {
 public:
  // " " + piece (nothing for an empty piece).
  void Add(std::string_view piece);
  // " -" + name + value, for an integer switch that is given.
  void AddInt(std::string_view name, int value);
  // A string value as one double-quoted piece: "-" + name + value; a name with a
  // leading blank is written without the "-"; no name: the value alone. Empty: nothing.
  void AddString(std::string_view name, std::string_view value);
  // A folder value: a string value ending with "/".
  void AddFolder(std::string_view name, std::string_view folder);
  // A path between double-quote characters.
  void AddQuoted(std::string_view path);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// "folder" with "/" added when it does not end with one.
std::string WithSlash(std::string_view folder);

}  // namespace haruvi::archive
