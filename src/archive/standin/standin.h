// Our stand-ins for the archiver libraries: one small shared object per library name,
// each exporting the interface's functions under its prefix over the archive core. This
// is the part they share: reading a command line in the library's style, running it,
// and the open/find/close walk over an archive's entries.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "archive/archiver_api.h"
#include "archive/create.h"
#include "archive/reader.h"

namespace haruvi::archive::standin {

// How a library's command lines read (its command-line ancestor's style).
enum class Style {
  kLha,      // "x -+ -x1 "archive" "folder/" files"; words l v x e a u
  kZip,      // "-x -o "archive" "folder/" files"
  kZipPack,  // no word: "-r "archive" files"
  kCab,      // "-x"/"-a" like kZip
  kTar,      // "x -f "archive" -o "folder"" ; words x c l v
  kRar,      // "-x"/"-e"
};

struct LibraryTraits {
  const char* library;              // "UNLHA32.DLL"
  Style style;
  std::set<ArchiveFamily> reads;    // what it lists and unpacks
  bool packs = false;
  CreateFormat pack_format = CreateFormat::kLzh;
  std::uint32_t version = 100;
};

struct Command {
  char op = 0;  // 'l' 'v' 'x' 'e' 'a' 'u'
  std::string archive;
  std::string folder;
  std::vector<std::string> files;
  bool overwrite = false;
  bool flat = false;
  bool fresh = false;  // a new archive rather than adding to an old one
  char tar_filter = 0;  // 'z' or 'B' from tar's switches
};

// False for a line the library does not understand.
bool ParseCommand(const LibraryTraits& traits, const std::string& line, Command* out);

// The library entry: runs the command and leaves its report (CP932) in the output
// buffer, cut to its size and NUL-terminated.
int RunCommand(const LibraryTraits& traits, const char* line, char* output, std::uint32_t size);
// Non-zero when `path` (quotes allowed) is an archive this library reads.
int CheckArchive(const LibraryTraits& traits, const char* path);
HaruviArcHandle OpenArchive(const LibraryTraits& traits, const char* path);
int CloseArchive(HaruviArcHandle handle);
int FindFirst(HaruviArcHandle handle, const char* wildcard, HaruviIndividualInfo* info);
int FindNext(HaruviArcHandle handle, HaruviIndividualInfo* info);
// The whole sizes of the entry the last FindFirst/FindNext gave (the record holds 32 bits).
int GetSizes(HaruviArcHandle handle, std::uint64_t* original, std::uint64_t* packed);
// The progress the next commands on this thread report and heed (null: none).
int SetProgress(HaruviProgress* progress);
// tar32's kind number: 1 tar, 2 gzip, 6 bzip2, 8 another format it reads (7z, cpio,
// ISO, xar), 0 anything else.
int TarArchiveType(const char* path);

}  // namespace haruvi::archive::standin
