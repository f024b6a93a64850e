// "archive": list, unpack and create archives with the archive core. The listing is the
// pane's text (CP932, CR LF); refused entries and skipped files are named on standard
// error, and the exit code says that something was refused, kept or renamed (1) or
// failed (3). The total counts the files written only; a damaged archive gives what was
// read before the damage, which is named.
#include <cstring>
#include <iostream>

#include "archive/create.h"
#include "archive/listing.h"
#include "archive/unpack.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

constexpr int kExitFailed = 3;

int RunArchive(const Args& args);
const Command kArchive{
    "archive",
    "archive list [-v] ARCHIVE | unpack [--overwrite] [--flat] ARCHIVE FOLDER | "
    "create [--update] FORMAT ARCHIVE FILE...",
    "list or unpack (safely) LZH, ZIP, CAB, ARJ, RAR, 7z, ISO, cpio and tar archives with any compression; create "
    "LZH, ZIP, CAB and tar ones", &RunArchive, true};

int List(Args args) {
  const bool verbose = !args.empty() && args[0] == "-v";
  if (verbose) args.erase(args.begin());
  if (!args.empty() && args[0] == "--") args.erase(args.begin());
  if (args.size() != 1) return UsageError(kArchive, "list wants one archive");
  const std::string& path = args.back();
  const archive::Listing listing = archive::ListArchive(path);
  if (!listing.ok && listing.entries.empty()) {
    PrintError(path + ": " + listing.error);
    return kExitFailed;
  }
  const std::string name = archive::NameCodec::ToPane(path);
  const std::string text = verbose ? archive::FormatVerboseListing(name, listing.entries)
                                   : archive::FormatListing(name, listing.entries);
  if (!WriteOutput(text)) return kExitFailed;
  if (!listing.ok) {
    PrintError(path + ": " + listing.error);
    return kExitFailed;
  }
  return kExitOk;
}

int Unpack(Args args) {
  archive::UnpackOptions options;
  while (!args.empty() && args[0].rfind("--", 0) == 0) {
    if (args[0] == "--") {
      args.erase(args.begin());
      break;
    }
    if (args[0] == "--overwrite") options.overwrite = true;
    else if (args[0] == "--flat") options.ignore_folders = true;
    else return UsageError(kArchive, "unknown option " + args[0]);
    args.erase(args.begin());
  }
  if (args.size() != 2) return UsageError(kArchive, "unpack wants an archive and a folder");
  const archive::UnpackResult r = archive::Unpack(args[0], args[1], options);
  for (const archive::RefusedEntry& e : r.refused)
    PrintError(args[0] + ": refused " + e.name + ": " + archive::RefusalText(e.why) +
               (e.error ? std::string(" (") + std::strerror(e.error) + ")" : std::string()));
  for (const archive::RenamedEntry& e : r.renamed)
    PrintError(args[0] + ": unpacked " + e.name + " as " + e.kept_as + ": an earlier entry has the same name");
  for (const std::string& k : r.kept) PrintError(args[1] + ": kept the existing " + k);
  const bool failed = r.code != archive::kOk && r.code != archive::kErrAlreadyExists;
  if (failed && !r.damaged) {
    PrintError(args[0] + ": " + r.detail + " (nothing was unpacked)");
    return kExitFailed;
  }
  if (failed) PrintError(args[0] + ": " + r.detail + " (the entries before the damage were unpacked)");
  std::cout << r.files << " files, " << r.bytes << " bytes unpacked into " << args[1] << '\n';
  if (failed) return kExitFailed;
  return r.refused.empty() && r.kept.empty() && r.renamed.empty() ? kExitOk : kExitNoMatch;
}

int Create(Args args) {
  archive::CreateOptions options;
  if (!args.empty() && args[0] == "--update") {
    options.update = true;
    args.erase(args.begin());
  }
  if (!args.empty() && args[0] == "--") args.erase(args.begin());
  if (args.size() < 3) return UsageError(kArchive, "create wants a format, an archive and files");
  archive::CreateFormat format;
  if (!archive::ParseCreateFormat(args[0], &format))
    return UsageError(kArchive, "unknown format " + args[0] + " (lzh, zip, tar, tgz, bz2, cab)");
  const std::vector<std::string> files(args.begin() + 2, args.end());
  const archive::CreateResult r = archive::CreateArchive(format, args[1], files, "", options);
  for (const auto& [name, why] : r.skipped) PrintError("skipped " + name + ": " + why);
  if (r.code != archive::kOk) {
    PrintError(args[1] + ": " + r.detail);
    return kExitFailed;
  }
  for (const std::string& name : r.added) std::cout << name << '\n';
  return r.skipped.empty() ? kExitOk : kExitNoMatch;
}

int RunArchive(const Args& args) {
  if (args.empty()) return UsageError(kArchive, "list, unpack or create?");
  const Args rest(args.begin() + 1, args.end());
  if (args[0] == "list") return List(rest);
  if (args[0] == "unpack") return Unpack(rest);
  if (args[0] == "create") return Create(rest);
  return UsageError(kArchive, "unknown archive command " + args[0]);
}

const bool registered = RegisterCommand(kArchive);

}  // namespace
}  // namespace haruvi::tool
