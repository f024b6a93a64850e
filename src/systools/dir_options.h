// The "dir" command text: what TForm7's switches make of a path ("\"/home\" /A:D /O:-N /S
// /V /L"), and what the listing reads back from such a text or a typed one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace haruvi::systools {

// TForm7's choices: item indexes of the attribute and sort combo boxes, the form's radio
// item (0 標凖, 1 /V, 2 /B, 3 /W) and the two check boxes.
struct DirChoices {
  int attribute = 0;
  int sort = 0;
  bool subfolders = false;
  int form = 0;
  bool lower = false;
};

// The combo boxes' items and the piece each adds.
const std::vector<std::string>& AttributeItems();
const std::vector<std::string>& SortItems();
std::string DirCommandText(const std::string& path, const DirChoices& c);

enum class DirForm { Normal, Verbose, Bare, Wide };

// One attribute condition of /A: the letter (D R H S A) and whether it must be absent.
struct AttrTest {
  char letter;
  bool negated;
};
// One sort key of /O: N S E D G A, reversed with "-".
struct SortKey {
  char letter;
  bool reversed;
};

struct DirRequest {
  std::string path;  // a folder, or a folder and a name pattern ("/tmp/*.txt")
  std::vector<AttrTest> attributes;
  bool any_attributes = false;  // "/A" alone: hidden and system entries too
  std::vector<SortKey> sort;
  bool subfolders = false;
  DirForm form = DirForm::Normal;
  bool lower = false;
  std::string error;  // a switch it does not know; the listing is not made
};

// Reads a command text: the path (in quotes, or up to the first blank before a switch),
// then switches in any order and case ("/a:-d", "/O-N", "/s").
DirRequest ParseDirCommand(std::string_view text);

}  // namespace haruvi::systools
