// The archiver component; see archive_file.h.
#include "archive/archive_file.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>

namespace haruvi::archive {
namespace {

constexpr std::uint32_t kQuietOpen = 8388610;  // the mode content detection opens with

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return s;
}

std::string Extension(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return Lower(name.substr(dot));
}

// Asks one archiver type whether it takes the file; a missing library or an error is
// a "no".
bool Opens(TArchiverType type, const std::string& path) {
  try {
    std::unique_ptr<TArchiver> a = TArchiver::Make(type);
    if (!a) return false;
    HaruviArcHandle h = a->OpenArchive(nullptr, path, kQuietOpen);
    if (!h) return false;
    a->CloseArchive(h);
    return true;
  } catch (const EArchiver&) {
    return false;
  }
}

// Expands folders (recursively, against the base folder) into the files below them.
void Expand(const std::string& base, const std::string& name, std::vector<std::string>* out, int depth) {
  const std::string path = name.empty() || name[0] == '/' || base.empty() ? name : WithSlash(base) + name;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return;
  if (!S_ISDIR(st.st_mode) || depth > 256) {
    out->push_back(name);
    return;
  }
  DIR* d = opendir(path.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (const dirent* e = readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) Expand(base, WithSlash(name) + n, out, depth + 1);
}

}  // namespace

TArchiveFile::TArchiveFile() = default;

TArchiveFile::~TArchiveFile() {
  if (handle_) CloseArchive();
}

TArchiverType TArchiveFile::TypeForName(const std::string& name) {
  const std::string ext = Extension(name);
  if (ext == ".lzh") return TArchiverType::atLha;
  if (ext == ".cab") return TArchiverType::atCab;
  if (ext == ".zip") return TArchiverType::atZip;
  if (ext == ".arj") return TArchiverType::atArj;
  if (ext == ".rar") return TArchiverType::atRar;
  if (ext == ".gza" || ext == ".bza") return TArchiverType::atBga;
  if (ext == ".bz2") return TArchiverType::atBZ2;
  if (ext == ".tar") return TArchiverType::atTar;
  if (ext == ".z" || ext == ".gz" || ext == ".tgz" || ext == ".taz") return TArchiverType::atTgz;
  return TArchiverType::atNone;
}

TArchiverType TArchiveFile::DetectByContent(const std::string& path) {
  char full[PATH_MAX];
  const std::string absolute = realpath(path.c_str(), full) ? std::string(full) : path;
  try {
    std::unique_ptr<TArchiver> lha = TArchiver::Make(TArchiverType::atLha);
    if (lha->CheckArchive(absolute, 16, 0) && Opens(TArchiverType::atLha, absolute)) return TArchiverType::atLha;
  } catch (const EArchiver&) {
  }
  if (Opens(TArchiverType::atCab, absolute)) return TArchiverType::atCab;
  if (Opens(TArchiverType::atBga, absolute)) return TArchiverType::atBga;
  struct stat st {};
  if (stat(absolute.c_str(), &st) == 0 && Opens(TArchiverType::atZip, absolute)) return TArchiverType::atZip;
  if (Opens(TArchiverType::atArj, absolute)) return TArchiverType::atArj;
  if (Opens(TArchiverType::atRar, absolute)) return TArchiverType::atRar;
  if (auto tar = ArchiverLibrary::Load("tar32.dll")) {
    if (auto kind = tar->Get<HaruviGetArchiveTypeFn>("TarGetArchiveType")) {
      const int k = kind(absolute.c_str());
      if (k == 1 || k == 8) return TArchiverType::atTar;
      if (k >= 2 && k <= 5) return TArchiverType::atTgz;
      if (k == 6 || k == 7) return TArchiverType::atBZ2;
    }
  }
  return TArchiverType::atNone;
}

void TArchiveFile::SetFileName(const std::string& name) {
  file_name_ = name;
  TArchiverType t = TypeForName(name);
  if (Extension(name) == ".exe") t = DetectByContent(name);
  if (t == TArchiverType::atNone) return;  // stays as it was: the content decides later
  if (t != type_) archiver_.reset();
  type_ = t;
}

void TArchiveFile::SetArchiverType(TArchiverType type) {
  if (type == TArchiverType::atYz1) throw EArchiver("書庫の形式を特定できませんでした。");
  if (type != type_) archiver_.reset();
  type_ = type;
}

TArchiver& TArchiveFile::Archiver() {
  if (!archiver_) {
    if (type_ == TArchiverType::atAutoDetect || type_ == TArchiverType::atNone) type_ = DetectByContent(file_name_);
    if (type_ == TArchiverType::atNone) {
      type_ = TArchiverType::atAutoDetect;
      throw EArchiver("書庫の形式を判別できません。");
    }
    archiver_ = TArchiver::Make(type_);
    if (!archiver_) throw EArchiver("書庫の形式を判別できません。");
  }
  return *archiver_;
}

int TArchiveFile::CheckArchive(int mode, int flags) { return Archiver().CheckArchive(file_name_, mode, flags); }

HaruviArcHandle TArchiveFile::OpenArchive(void* window, std::uint32_t mode) {
  Archiver().SetProgress(Progress);
  handle_ = Archiver().OpenArchive(window, file_name_, mode);
  return handle_;
}

int TArchiveFile::FindFirst(const std::string& wildcard, HaruviIndividualInfo* info) {
  return Archiver().FindFirst(handle_, info, wildcard);
}

int TArchiveFile::FindNext(HaruviIndividualInfo* info) { return Archiver().FindNext(handle_, info); }

bool TArchiveFile::EntrySizes(std::uint64_t* original, std::uint64_t* packed) {
  return handle_ && Archiver().EntrySizes(handle_, original, packed);
}

void TArchiveFile::CloseArchive() {
  if (handle_ && archiver_) archiver_->CloseArchive(handle_);
  handle_ = nullptr;
}

int TArchiveFile::Unpack(void* window, const TArchiverOptions* options, const std::vector<std::string>& files,
                         const std::string& folder) {
  TArchiver& a = Archiver();
  ArcCall call;
  call.window = window;
  call.archive = file_name_;
  call.folder = folder;
  call.files = files;
  call.options = options ? options : &Options;
  call.output = &output_;
  call.output_size = OutputSize;
  a.SetOwnerWindow(window);
  a.SetProgress(Progress);
  const int rc = a.Unpack(call);
  a.KillOwnerWindow(window);
  return rc;
}

int TArchiveFile::Pack(void* window, const TArchiverOptions* options, const std::vector<std::string>& files,
                       const std::string& base) {
  TArchiver& a = Archiver();
  ArcCall call;
  call.window = window;
  call.archive = file_name_;
  call.folder = base;
  call.options = options ? options : &Options;
  call.output = &output_;
  call.output_size = OutputSize;
  if (call.options->PackFilter == TPackFilter::pfComponent) {
    for (const std::string& f : files) Expand(base, f, &call.files, 0);
    if (call.files.empty()) {
      output_.clear();
      return 0;
    }
  } else {
    call.files = files;
  }
  a.SetOwnerWindow(window);
  a.SetProgress(Progress);
  const int rc = a.Pack(call);
  a.KillOwnerWindow(window);
  return rc;
}

}  // namespace haruvi::archive
