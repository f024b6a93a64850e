// dlopen behind ArchiverLibrary; see archiver_library.h.
#include "archive/archiver_library.h"

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

namespace haruvi::archive {
namespace {

std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::string& ExplicitFolder() {
  static std::string folder;
  return folder;
}
std::map<std::string, std::weak_ptr<ArchiverLibrary>>& Loaded() {
  static std::map<std::string, std::weak_ptr<ArchiverLibrary>> loaded;
  return loaded;
}

bool IsFolder(const std::string& p) {
  struct stat st {};
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ProgramFolder() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string exe(buf, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/'));
}

}  // namespace

std::string ModuleFileName(const std::string& library) {
  std::string name = library;
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) name.resize(name.size() - 4);
  return name + ".so";
}

void SetArchiverFolder(const std::string& folder) {
  std::lock_guard<std::mutex> g(Lock());
  ExplicitFolder() = folder;
}

std::string ArchiverFolder() {
  {
    std::lock_guard<std::mutex> g(Lock());
    if (!ExplicitFolder().empty()) return ExplicitFolder();
  }
  if (const char* env = std::getenv("HARUVI_ARCHIVERS"); env && *env) return env;
  const std::string installed = ProgramFolder() + "/../lib/haruvi/archivers";
  if (IsFolder(installed)) return installed;
#ifdef HARUVI_ARCHIVERS_BUILD_DIR
  return HARUVI_ARCHIVERS_BUILD_DIR;
#else
  return installed;
#endif
}

std::shared_ptr<ArchiverLibrary> ArchiverLibrary::Load(const std::string& library) {
  const std::string path = ArchiverFolder() + "/" + ModuleFileName(library);
  std::lock_guard<std::mutex> g(Lock());
  if (auto held = Loaded()[path].lock()) return held;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  std::shared_ptr<ArchiverLibrary> lib(new ArchiverLibrary(handle, library, path));
  Loaded()[path] = lib;
  return lib;
}

ArchiverLibrary::~ArchiverLibrary() {
  if (handle_) dlclose(handle_);
}

void* ArchiverLibrary::Find(const std::string& export_name) {
  const auto it = exports_.find(export_name);
  if (it != exports_.end()) return it->second;
  void* fn = dlsym(handle_, export_name.c_str());
  exports_[export_name] = fn;
  return fn;
}

}  // namespace haruvi::archive
