// The archiver classes and their command lines; see archivers.h.
#include "archive/archivers.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "archive/result_codes.h"

namespace haruvi::archive {
namespace {

constexpr const char* kLhaMissing = "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。";
constexpr const char* kZipMissing = "ZIP 形式書庫を解凍するには UNZIP32.DLL が、作成するには ZIP32J.DLL が必要です。";
constexpr const char* kZipNoPacker = "ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。";
constexpr const char* kZipNoUnpacker = "ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。";
constexpr const char* kCabMissing = "CAB 形式書庫を扱うには CAB32.DLL が 必要です。";
constexpr const char* kArjMissing = "ARJ 形式書庫を扱うには UNARJ32J.DLL が 必要です。";
constexpr const char* kTarMissing = "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。";
constexpr const char* kRarMissing = "この機能の使用には UNRAR32.DLL が 必要です。";
constexpr const char* kBgaMissing = "Bga 形式書庫を扱うには BGA32.DLL が 必要です。";

std::string ZipName(const std::string& name) {
  std::string out;
  for (char ch : name) {
    if (ch == '\\') out += '/';
    else if (ch == '[') out += "[[]";
    else out += ch;
  }
  return out;
}

}  // namespace

// ---- TArchiver: the defaults ----

void TArchiver::LoadDLL() { throw EArchiver("Abstract method 'TArchiver.LoadDLL' was called"); }
void TArchiver::FreeDLL() { throw EArchiver("Abstract method 'TArchiver.FreeDLL' was called"); }
HaruviArcHandle TArchiver::OpenArchive(void*, const std::string&, std::uint32_t) { return nullptr; }
int TArchiver::FindFirst(HaruviArcHandle, HaruviIndividualInfo*, const std::string&) { return -1; }
int TArchiver::FindNext(HaruviArcHandle, HaruviIndividualInfo*) { return -1; }
int TArchiver::CloseArchive(HaruviArcHandle) { return 0; }
int TArchiver::Pack(const ArcCall&) { throw EArchiver("この形式では書庫ファイルの作成をサポートしておりません。"); }
int TArchiver::RemoveItems(const ArcCall&) {
  throw EArchiver("この形式の書庫ではファイルの削除をサポートしておりません。");
}
int TArchiver::UpdateItems(const ArcCall&) { throw EArchiver("この形式の書庫では書庫の更新をサポートしておりません。"); }
int TArchiver::MakeSfx(const ArcCall&) { throw EArchiver("この形式では自己解凍書庫の作成をサポートしておりません。"); }
int TArchiver::ExtractMem(const ArcCall&) { throw EArchiver("この形式ではメモリへの展開をサポートしておりません。"); }
int TArchiver::CheckArchive(const std::string&, int, int) {
  throw EArchiver("この形式では書庫チェック機能をサポートしておりません。");
}

std::unique_ptr<TArchiver> TArchiver::Make(TArchiverType type) {
  std::unique_ptr<TArchiver> a;
  switch (type) {
    case TArchiverType::atLha: a = std::make_unique<TLha32>(); break;
    case TArchiverType::atZip: a = std::make_unique<TZip32>(); break;
    case TArchiverType::atCab: a = std::make_unique<TCab32>(); break;
    case TArchiverType::atArj: a = std::make_unique<TArj32>(); break;
    case TArchiverType::atTar: a = std::make_unique<TTar32>(); break;
    case TArchiverType::atTgz: a = std::make_unique<TTgz32>(); break;
    case TArchiverType::atBZ2: a = std::make_unique<TBZ232>(); break;
    case TArchiverType::atRar: a = std::make_unique<TRar32>(); break;
    case TArchiverType::atBga: a = std::make_unique<TBGA32>(); break;
    default: return nullptr;
  }
  a->LoadDLL();
  return a;
}

// ---- TPrefixArchiver ----

void TPrefixArchiver::LoadDLL() {
  lib_ = ArchiverLibrary::Load(library_);
  if (!lib_) throw EArchiver(missing_);
}

void* TPrefixArchiver::Export(const std::string& suffix, ArchiverLibrary* lib) {
  if (!lib) lib = lib_.get();
  if (!lib) throw EArchiver(missing_);
  void* fn = lib->Find(prefix_ + suffix);
  if (!fn) throw EArchiver(lib->path() + " に " + prefix_ + suffix + " のエントリが見つかりません。");
  return fn;
}

TPrefixArchiver::ProgressScope::ProgressScope(ArchiverLibrary* lib, const std::string& prefix, HaruviProgress* progress) {
  if (!progress || !lib) return;
  set_ = lib->Get<HaruviSetProgressFn>(prefix + "SetProgress");
  if (set_) set_(progress);
}

TPrefixArchiver::ProgressScope::~ProgressScope() {
  if (set_) set_(nullptr);
}

HaruviArcHandle TPrefixArchiver::OpenArchive(void* window, const std::string& archive, std::uint32_t mode) {
  auto open = reinterpret_cast<HaruviOpenArchiveFn>(Export("OpenArchive"));
  ProgressScope scope(lib_.get(), prefix_, progress_);
  return open(window, archive.c_str(), mode);
}
int TPrefixArchiver::FindFirst(HaruviArcHandle h, HaruviIndividualInfo* info, const std::string& wildcard) {
  return reinterpret_cast<HaruviFindFirstFn>(Export("FindFirst"))(h, wildcard.c_str(), info);
}
int TPrefixArchiver::FindNext(HaruviArcHandle h, HaruviIndividualInfo* info) {
  return reinterpret_cast<HaruviFindNextFn>(Export("FindNext"))(h, info);
}
bool TPrefixArchiver::EntrySizes(HaruviArcHandle h, std::uint64_t* original, std::uint64_t* packed) {
  const auto sizes = lib_ ? lib_->Get<HaruviGetSizes64Fn>(prefix_ + "GetSizes64") : nullptr;
  return sizes && sizes(h, original, packed) == 0;
}
int TPrefixArchiver::CloseArchive(HaruviArcHandle h) {
  return reinterpret_cast<HaruviCloseArchiveFn>(Export("CloseArchive"))(h);
}
int TPrefixArchiver::CheckArchive(const std::string& archive, int mode, int) {
  return reinterpret_cast<HaruviCheckArchiveFn>(Export("CheckArchive"))(archive.c_str(), mode);
}

int TPrefixArchiver::Run(const std::string& line, const ArcCall& call, ArchiverLibrary* lib,
                         const std::string& prefix) {
  command_line_ = line;
  if (!lib) lib = lib_.get();
  const std::string name = prefix.empty() ? prefix_ : prefix;
  void* fn = lib ? lib->Find(name) : nullptr;
  if (!fn) throw EArchiver((lib ? lib->path() : library_) + " に " + name + " のエントリが見つかりません。");
  std::vector<char> buffer(std::max<std::uint32_t>(call.output_size, 1), '\0');
  ProgressScope scope(lib, name, progress_);
  const int rc = reinterpret_cast<HaruviCommandFn>(fn)(call.window, line.c_str(), buffer.data(),
                                                        static_cast<std::uint32_t>(buffer.size()));
  buffer.back() = '\0';  // the text ends at its first NUL, never past the buffer
  if (call.output) *call.output = buffer.data();
  return rc;
}

void TPrefixArchiver::LhaSwitches(TCmdOpt& c, const TArchiverOptions& o) const {
  c.Add("-+");
  for (const char* name : TArchiverOptions::kIntSwitches) {
    const std::string n = name;
    c.AddInt(n, n == "n" && owner_ ? 1 : o.Get(n));  // quiet while a window owns the call
    if (n == "u") c.AddFolder("w", o.w);
    if (n == "jn") {
      c.AddString("jo", o.jo);
      c.AddString("job", o.job);
    }
    if (n == "jw")
      for (const std::string& x : o.jx) c.AddString("jx", x);
    if (n == "jyo") c.AddString("jz", o.jz);
    if (n == "gp") c.AddString("gr", o.gr);
  }
}

void TPrefixArchiver::Tail(TCmdOpt& c, const ArcCall& call, TResFileUse use, bool zip_names) const {
  const TArchiverOptions& o = *call.options;
  c.Add(o.UserOptions);
  c.AddQuoted(call.archive);
  if (!call.folder.empty()) c.AddQuoted(WithSlash(call.folder));
  if (!o.ResFileName.empty() && o.ResFileUsage.count(use) && !call.files.empty()) {
    std::ofstream res(o.ResFileName, std::ios::binary | std::ios::trunc);
    for (const std::string& f : call.files) res << (zip_names ? ZipName(f) : f) << "\n";
    c.AddQuoted("@" + o.ResFileName);
  } else {
    for (const std::string& f : call.files) c.AddQuoted(zip_names ? ZipName(f) : f);
  }
  c.Add(o.UserFileList);
}

// ---- TLha32, TArj32 ----

TLha32::TLha32() : TPrefixArchiver("UNLHA32.DLL", "Unlha", kLhaMissing) {}
TArj32::TArj32() {
  library_ = "UNARJ32J.DLL";
  prefix_ = "Unarj";
  missing_ = kArjMissing;
}

int TLha32::Word(const char* word, const ArcCall& call, TResFileUse use) {
  TCmdOpt c;
  LhaSwitches(c, *call.options);
  Tail(c, call, use, false);
  return Run(word + c.Text(), call);
}

// ---- TZip32 ----

TZip32::TZip32() : TPrefixArchiver("UNZIP32.DLL", "UnZip", kZipMissing) {}

void TZip32::LoadDLL() {
  unzip_ = ArchiverLibrary::Load("UNZIP32.DLL");
  zip_ = ArchiverLibrary::Load("ZIP32J.DLL");
  lmzip_ = ArchiverLibrary::Load("LMZIP32.DLL");
  if (!unzip_ && !zip_ && !lmzip_) throw EArchiver(kZipMissing);
  lib_ = unzip_ ? unzip_ : lmzip_;
}

void TZip32::FreeDLL() {
  unzip_.reset();
  zip_.reset();
  lmzip_.reset();
  lib_.reset();
}

ArchiverLibrary* TZip32::Reader() {
  ArchiverLibrary* lib = unzip_ ? unzip_.get() : lmzip_.get();
  if (!lib) throw EArchiver(kZipNoUnpacker);
  return lib;
}

HaruviArcHandle TZip32::OpenArchive(void* window, const std::string& archive, std::uint32_t mode) {
  lib_ = unzip_ ? unzip_ : lmzip_;
  Reader();
  return TPrefixArchiver::OpenArchive(window, archive, mode);
}

int TZip32::CheckArchive(const std::string& archive, int mode, int flags) {
  lib_ = unzip_ ? unzip_ : lmzip_;
  Reader();
  return TPrefixArchiver::CheckArchive(archive, mode, flags);
}

int TZip32::Unpack(const ArcCall& call) {
  const TArchiverOptions& o = *call.options;
  TCmdOpt c;
  if (o.Get("c") == 1) c.Add("-o");
  if (owner_ || o.Get("n") > 0) c.Add("--i");
  if (o.Get("x") == 0) c.Add("-j");
  Tail(c, call, TResFileUse::ruOnUnpack, true);
  ArchiverLibrary* lib = Reader();
  if (!lib->Find("UnZip")) throw EArchiver(std::string("UnZip") + " のエントリが見つかりません。");
  return Run("-x" + c.Text(), call, lib, "UnZip");
}

int TZip32::Pack(const ArcCall& call) {
  const TArchiverOptions& o = *call.options;
  TCmdOpt c;
  if (zip_) {
    if (o.Get("a") > 0) c.Add("-S");
    if (o.Get("a") < 2) c.Add("-D");
    if (o.Get("l") > 0) c.Add("-v");
    if (o.Get("n") > 0) c.Add("-q");
    if (o.Get("r") > 0) c.Add("-r");
    if (o.Get("n") > 0) c.Add("-o");
    if (o.Get("u") > 0) c.Add("-u");
    if (o.Get("x") == 0) c.Add("-j");
    if (o.Get("jc") > 0) c.Add("-FF");
    if (o.Get("ji") > 0) c.Add("-k");
    if (o.Get("jm") != -1) c.Add("-" + std::to_string(o.Get("jm")));
    if (o.Get("gd") > 0) c.Add("-J");
    Tail(c, call, TResFileUse::ruOnPack, true);
    if (!zip_->Find("Zip")) throw EArchiver(std::string("Zip") + " のエントリが見つかりません。");
    return Run(c.Text(), call, zip_.get(), "Zip");
  }
  if (!lmzip_) throw EArchiver(kZipNoPacker);
  c.Add("-ru");
  if (o.Get("c") == 1) c.Add("-o");
  if (o.Get("x") == 0) c.Add("-j");
  Tail(c, call, TResFileUse::ruOnPack, true);
  // The old archive is not deleted first: the library writes the new one beside it and
  // replaces it only when complete, so a failed pack keeps it.
  return Run(c.Text(), call, lmzip_.get(), "Zip");
}

// ---- TCab32 ----

TCab32::TCab32() : TPrefixArchiver("CAB32.DLL", "Cab", kCabMissing) {}

int TCab32::Word(const char* word, const ArcCall& call, TResFileUse use) {
  const TArchiverOptions& o = *call.options;
  TCmdOpt c;
  if (o.Get("c") == 1) c.Add("-o");
  if (owner_ || o.Get("n") > 0) c.Add("-i");
  if (o.Get("r") > 0) c.Add("-r");
  if (o.Get("x") == 0) c.Add("-j");
  if (o.Get("ji") > 0) c.Add("-q");
  Tail(c, call, use, false);
  return Run(word + c.Text(), call);
}

// ---- the tar family ----

TTar32::TTar32() : TPrefixArchiver("tar32.dll", "Tar", kTarMissing) {}

int TTar32::Word(const char* word, const ArcCall& call, TResFileUse) {
  const TArchiverOptions& o = *call.options;
  TCmdOpt c;
  if (o.Get("a") > 0) c.Add("-AH");
  else if (o.Get("a") == 0) c.Add("-I");
  if (!owner_ && o.Get("n") > 0) c.Add("--display-dialog=0");
  if (o.Get("o") > 0) c.Add("-g");
  if (o.Get("c") == 1) c.Add("--overwrite");
  if (o.Get("p") != -1) c.Add("-check-all-path=" + std::to_string(o.Get("p")));
  if (o.Get("x") != -1) c.Add("-use-directory=" + std::to_string(o.Get("x")));
  Compression(c, o);
  c.Add(o.UserOptions);
  c.Add("-f");
  c.AddQuoted(call.archive);
  if (!call.folder.empty()) {
    c.Add("-o");
    c.AddQuoted(WithSlash(call.folder));
  }
  for (const std::string& f : call.files) c.AddQuoted(f);
  c.Add(o.UserFileList);
  return Run(word + c.Text(), call);
}

void TTgz32::Compression(TCmdOpt& c, const TArchiverOptions& o) const {
  c.Add(o.Get("jm") > 0 ? "-z" + std::to_string(o.Get("jm")) : std::string("-z"));
}

void TBZ232::Compression(TCmdOpt& c, const TArchiverOptions& o) const {
  c.Add(o.Get("jm") > 0 ? "-B" + std::to_string(o.Get("jm")) : std::string("-B"));
}

int TBZ232::MakeSfx(const ArcCall&) { throw EArchiver("BZ2 形式書庫は自己解凍形式にできません。"); }

// ---- TRar32 ----

TRar32::TRar32() : TPrefixArchiver("UNRAR32.DLL", "Unrar", kRarMissing) {}

int TRar32::Unpack(const ArcCall& call) {
  const TArchiverOptions& o = *call.options;
  TCmdOpt c;
  if (o.Get("c") <= 0) c.Add("-u");
  if (o.Get("m") > 0) c.Add("-y");
  if (o.Get("p") > 0) c.Add("-s");
  Tail(c, call, TResFileUse::ruOnUnpack, false);
  return Run((o.Get("x") == 0 ? "-e" : "-x") + c.Text(), call);
}

// ---- TBGA32 ----

TBGA32::TBGA32() : TPrefixArchiver("BGA32.DLL", "Bga", kBgaMissing) {}

int TBGA32::Word(const char* word, const ArcCall& call, TResFileUse use) {
  const TArchiverOptions& o = *call.options;
  TCmdOpt c;
  if (o.Get("a") > 0) c.Add("-a");
  c.Add(o.Get("c") <= 0 ? "-n" : "-o");
  if (owner_ || o.Get("n") > 0) c.Add("-i");
  if (o.Get("r") > 0) c.Add("-r");
  if (o.Get("x") <= 0) c.Add("-j");
  if (o.Get("jm") != -1) c.Add("-l" + std::to_string(o.Get("jm")));
  Tail(c, call, use, false);
  return Run(word + c.Text(), call);
}

}  // namespace haruvi::archive
