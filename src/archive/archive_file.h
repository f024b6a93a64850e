// TArchiveFile: picks an archiver for a file (by extension, else by asking the libraries
// in turn) and offers check, open/find/close, unpack and pack with the library's output
// text. Errors are EArchiver exceptions with the texts the user sees.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/archivers.h"

namespace haruvi::archive {

class TArchiveFile {
 public:
  TArchiveFile();
  ~TArchiveFile();

  // Setting the name chooses the type from its extension (".exe" by content at once).
  void SetFileName(const std::string& name);
  const std::string& FileName() const { return file_name_; }
  // atYz1 raises "書庫の形式を特定できませんでした。".
  void SetArchiverType(TArchiverType type);
  TArchiverType ArchiverType() const { return type_; }

  std::uint32_t OutputSize = 8192;
  // Set: open, unpack and pack report into it and stop when its cancel is set (with
  // 32800), in the libraries that take a progress.
  HaruviProgress* Progress = nullptr;
  TArchiverOptions Options;

  int CheckArchive(int mode, int flags);
  HaruviArcHandle OpenArchive(void* window, std::uint32_t mode);
  int FindFirst(const std::string& wildcard, HaruviIndividualInfo* info);
  int FindNext(HaruviIndividualInfo* info);
  // The whole sizes of the entry the last find gave; false when only the record's are known.
  bool EntrySizes(std::uint64_t* original, std::uint64_t* packed);
  void CloseArchive();
  // `options` null: the component's own Options.
  int Unpack(void* window, const TArchiverOptions* options, const std::vector<std::string>& files,
             const std::string& folder);
  int Pack(void* window, const TArchiverOptions* options, const std::vector<std::string>& files,
           const std::string& base);
  const std::string& GetOutput() const { return output_; }
  // The command line of the last command.
  std::string CommandLine() const { return archiver_ ? archiver_->CommandLine() : std::string(); }

  // Which archiver the content calls for: the libraries asked in their order; atNone
  // when none says yes.
  static TArchiverType DetectByContent(const std::string& path);
  static TArchiverType TypeForName(const std::string& name);

 private:
  TArchiver& Archiver();

  std::string file_name_;
  TArchiverType type_ = TArchiverType::atAutoDetect;
  std::unique_ptr<TArchiver> archiver_;
  HaruviArcHandle handle_ = nullptr;
  std::string output_;
};

}  // namespace haruvi::archive
