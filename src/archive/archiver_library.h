// Loading archiver libraries by name at run time: "UNLHA32.DLL" is the shared object
// unlha32.so in the archiver folder (lib/haruvi/archivers beside the program, or the
// build's own folder, or $HARUVI_ARCHIVERS). A library missing there is simply absent.
#pragma once

#include <map>
#include <memory>
#include <string>

namespace haruvi::archive {

// "UNLHA32.DLL" -> "unlha32.so"; "UNLHA32" -> "unlha32.so".
std::string ModuleFileName(const std::string& library);

// The folder searched: set explicitly (tests, the window's start-up) or found.
std::string ArchiverFolder();
void SetArchiverFolder(const std::string& folder);

class ArchiverLibrary {
 public:
  ~ArchiverLibrary();
  ArchiverLibrary(const ArchiverLibrary&) = delete;
  ArchiverLibrary& operator=(const ArchiverLibrary&) = delete;

  // The library, shared while anyone holds it; nullptr when it cannot be loaded.
  static std::shared_ptr<ArchiverLibrary> Load(const std::string& library);

  // An export looked up once and kept; nullptr when the library lacks it.
  void* Find(const std::string& export_name);
  template <typename Fn>
  Fn Get(const std::string& export_name) {
    return reinterpret_cast<Fn>(Find(export_name));
  }
  const std::string& path() const { return path_; }
  const std::string& name() const { return name_; }

 private:
  ArchiverLibrary(void* handle, std::string name, std::string path)
      : handle_(handle), name_(std::move(name)), path_(std::move(path)) {}
  void* handle_;
  std::string name_;
  std::string path_;
  std::map<std::string, void*> exports_;
};

}  // namespace haruvi::archive
