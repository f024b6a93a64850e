// The archiver classes of the archiver component: TArchiver (the operations and their
// "not supported" defaults) and one class per library family, each building its
// library's command lines from TArchiverOptions and calling the library by prefix.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/archiver_api.h"
#include "archive/archiver_library.h"
#include "archive/archiver_options.h"

namespace haruvi::archive {

// Errors of the component; the message is the text the user sees (UTF-8).
class EArchiver : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TArchiverType { atLha, atZip, atCab, atArj, atTar, atTgz, atBZ2, atRar, atBga, atYz1, atNone, atAutoDetect };

// What one library call is given.
struct ArcCall {
  void* window = nullptr;
  std::string archive;
  std::string folder;  // destination (unpack) or base folder (pack); may be empty
  std::vector<std::string> files;
  const TArchiverOptions* options = nullptr;
  std::string* output = nullptr;  // the library's text
  std::uint32_t output_size = 8192;
};

class TArchiver {
 public:
  virtual ~TArchiver() = default;
  // Makes the archiver of a type and loads its library (EArchiver when missing).
  static std::unique_ptr<TArchiver> Make(TArchiverType type);

  virtual void LoadDLL();
  virtual void FreeDLL();
  virtual HaruviArcHandle OpenArchive(void* window, const std::string& archive, std::uint32_t mode);
  virtual int FindFirst(HaruviArcHandle handle, HaruviIndividualInfo* info, const std::string& wildcard);
  virtual int FindNext(HaruviArcHandle handle, HaruviIndividualInfo* info);
  virtual int CloseArchive(HaruviArcHandle handle);
  // The whole sizes of the entry the last find gave; false when the library keeps only
  // the record's 32 bits.
  virtual bool EntrySizes(HaruviArcHandle, std::uint64_t*, std::uint64_t*) { return false; }
  virtual int Unpack(const ArcCall& call) = 0;
  virtual int Pack(const ArcCall& call);
  virtual int RemoveItems(const ArcCall& call);
  virtual int UpdateItems(const ArcCall& call);
  virtual int MakeSfx(const ArcCall& call);
  virtual int ExtractMem(const ArcCall& call);
  virtual int CheckArchive(const std::string& archive, int mode, int flags);
  virtual void SetOwnerWindow(void* window) { owner_ = window; }
  virtual void KillOwnerWindow(void*) { owner_ = nullptr; }
  // The progress the next commands report and heed, in libraries that take one.
  void SetProgress(HaruviProgress* progress) { progress_ = progress; }

  // The command line of the last command.
  const std::string& CommandLine() const { return command_line_; }
  virtual TArchiverType Type() const = 0;

 protected:
  void* owner_ = nullptr;
  HaruviProgress* progress_ = nullptr;
  std::string command_line_;
};

// An archiver over one library of the common shape (prefix, open/find/close, check).
class TPrefixArchiver : public TArchiver {
 public:
  TPrefixArchiver(const char* library, const char* prefix, const char* missing_message)
      : library_(library), prefix_(prefix), missing_(missing_message) {}
  void LoadDLL() override;
  void FreeDLL() override { lib_.reset(); }
  HaruviArcHandle OpenArchive(void* window, const std::string& archive, std::uint32_t mode) override;
  int FindFirst(HaruviArcHandle handle, HaruviIndividualInfo* info, const std::string& wildcard) override;
  int FindNext(HaruviArcHandle handle, HaruviIndividualInfo* info) override;
  int CloseArchive(HaruviArcHandle handle) override;
  int CheckArchive(const std::string& archive, int mode, int flags) override;
  bool EntrySizes(HaruviArcHandle handle, std::uint64_t* original, std::uint64_t* packed) override;

 protected:
  // The export prefix + suffix of `lib` (the loaded one by default); EArchiver with the
  // entry-not-found message when missing.
  void* Export(const std::string& suffix, ArchiverLibrary* lib = nullptr);
  // Runs the prefix function with `line`, keeps the line, fills the output.
  int Run(const std::string& line, const ArcCall& call, ArchiverLibrary* lib = nullptr,
          const std::string& prefix = {});
  // Hands the progress to `lib` for its commands with `prefix`, for the scope.
  class ProgressScope {
   public:
    ProgressScope(ArchiverLibrary* lib, const std::string& prefix, HaruviProgress* progress);
    ~ProgressScope();

   private:
    HaruviSetProgressFn set_ = nullptr;
  };
  // The common tail: UserOptions, archive, folder, files (or the response file),
  // UserFileList.
  void Tail(TCmdOpt& c, const ArcCall& call, TResFileUse use, bool zip_names) const;
  // The LHA switch text (also ARJ's).
  void LhaSwitches(TCmdOpt& c, const TArchiverOptions& o) const;

  std::string library_;
  std::string prefix_;
  std::string missing_;
  std::shared_ptr<ArchiverLibrary> lib_;
};

class TLha32 : public TPrefixArchiver {
 public:
  TLha32();
  int Unpack(const ArcCall& call) override { return Word("x", call, TResFileUse::ruOnUnpack); }
  int Pack(const ArcCall& call) override { return Word("u", call, TResFileUse::ruOnPack); }
  int RemoveItems(const ArcCall& call) override { return Word("d", call, TResFileUse::ruOnRemoveItem); }
  int UpdateItems(const ArcCall& call) override { return Word("f", call, TResFileUse::ruOnUpdate); }
  TArchiverType Type() const override { return TArchiverType::atLha; }

 protected:
  int Word(const char* word, const ArcCall& call, TResFileUse use);
};

class TArj32 : public TLha32 {
 public:
  TArj32();
  int Unpack(const ArcCall& call) override { return Word("x", call, TResFileUse::ruOnUnpack); }
  int Pack(const ArcCall& call) override { return TArchiver::Pack(call); }
  int RemoveItems(const ArcCall& call) override { return TArchiver::RemoveItems(call); }
  int UpdateItems(const ArcCall& call) override { return TArchiver::UpdateItems(call); }
  TArchiverType Type() const override { return TArchiverType::atArj; }
};

class TZip32 : public TPrefixArchiver {
 public:
  TZip32();
  void LoadDLL() override;
  void FreeDLL() override;
  HaruviArcHandle OpenArchive(void* window, const std::string& archive, std::uint32_t mode) override;
  int CheckArchive(const std::string& archive, int mode, int flags) override;
  int Unpack(const ArcCall& call) override;
  int Pack(const ArcCall& call) override;
  TArchiverType Type() const override { return TArchiverType::atZip; }

 private:
  ArchiverLibrary* Reader();
  std::shared_ptr<ArchiverLibrary> unzip_, zip_, lmzip_;
};

class TCab32 : public TPrefixArchiver {
 public:
  TCab32();
  int Unpack(const ArcCall& call) override { return Word("-x", call, TResFileUse::ruOnUnpack); }
  int Pack(const ArcCall& call) override { return Word("-a", call, TResFileUse::ruOnPack); }
  TArchiverType Type() const override { return TArchiverType::atCab; }

 private:
  int Word(const char* word, const ArcCall& call, TResFileUse use);
};

class TTar32 : public TPrefixArchiver {
 public:
  TTar32();
  int Unpack(const ArcCall& call) override { return Word("x", call, TResFileUse::ruOnUnpack); }
  int Pack(const ArcCall& call) override { return Word("c", call, TResFileUse::ruOnPack); }
  TArchiverType Type() const override { return TArchiverType::atTar; }

 protected:
  virtual void Compression(TCmdOpt&, const TArchiverOptions&) const {}
  int Word(const char* word, const ArcCall& call, TResFileUse use);
};

class TTgz32 : public TTar32 {
 public:
  TArchiverType Type() const override { return TArchiverType::atTgz; }

 protected:
  void Compression(TCmdOpt& c, const TArchiverOptions& o) const override;
};

class TBZ232 : public TTar32 {
 public:
  TArchiverType Type() const override { return TArchiverType::atBZ2; }
  int MakeSfx(const ArcCall&) override;

 protected:
  void Compression(TCmdOpt& c, const TArchiverOptions& o) const override;
};

class TRar32 : public TPrefixArchiver {
 public:
  TRar32();
  int Unpack(const ArcCall& call) override;
  TArchiverType Type() const override { return TArchiverType::atRar; }
};

class TBGA32 : public TPrefixArchiver {
 public:
  TBGA32();
  int Unpack(const ArcCall& call) override { return Word("x", call, TResFileUse::ruOnUnpack); }
  int Pack(const ArcCall& call) override { return Word("a", call, TResFileUse::ruOnPack); }
  int RemoveItems(const ArcCall& call) override { return Word("d", call, TResFileUse::ruOnRemoveItem); }
  TArchiverType Type() const override { return TArchiverType::atBga; }

 private:
  int Word(const char* word, const ArcCall& call, TResFileUse use);
};

}  // namespace haruvi::archive
