// An archive's table of contents and its listing texts: the columnar listing (name cut
// to 12 columns with "+" for names in folders, sizes, ratio, date, attributes, method,
// CRC, sums at the end) and the verbose one with each full name on its own line.
// Texts are CP932 with CR LF line ends, as the pane holds them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/reader.h"

namespace haruvi::archive {

struct Listing {
  bool ok = false;
  std::string error;  // why the archive could not be read (whole or from some entry on)
  bool cancelled = false;  // the control's cancel flag ended the reading
  std::vector<Entry> entries;
  ArchiveFamily family = ArchiveFamily::kNone;
};

// Reads every header of the archive (and passes over the data to measure what each
// entry takes). Entries read before a damage or a cancel are kept, with `error` set.
Listing ListArchive(const std::string& path, const ReadControl& control = {});

// The 4-letter attribute text of an entry ("drwx", "-rw-").
std::string AttributeText(const Entry& e);
// Packed size per mille of the original size (0 for an empty entry).
int RatioPerMille(std::uint64_t original, std::uint64_t packed);

// The listing's text; `archive_name` is the archive's path as the pane shows it.
std::string FormatListing(const std::string& archive_name, const std::vector<Entry>& entries);
std::string FormatVerboseListing(const std::string& archive_name, const std::vector<Entry>& entries);

}  // namespace haruvi::archive
