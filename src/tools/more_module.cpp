// Finding and loading the module: beside the program first (the build), then the
// installed lib/haruvi folder.
#include "tools/more_module.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <map>

#include "platform/settings_location.h"

namespace haruvi::tool {
namespace {

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

MoreCommands Load(const char* file) {
  MoreCommands more;
  const std::filesystem::path exe = platform::ExecutablePath();
  const std::string folder = exe.empty() ? std::string(".") : exe.parent_path().string();
  std::string path = folder + "/" + file;
  if (!IsFile(path)) path = folder + "/../lib/haruvi/" + file;
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    more.error = why ? why : path + ": cannot be loaded";
    return more;
  }
  // The module stays loaded to the end: its commands' code and texts live in it.
  auto commands = reinterpret_cast<MoreCommandsFn>(::dlsym(handle, kMoreCommandsSymbol));
  more.last_input_size = reinterpret_cast<MoreLastInputSizeFn>(::dlsym(handle, kMoreLastInputSizeSymbol));
  if (!commands || !more.last_input_size) {
    more.error = path + ": not haruvi-tool's module";
    more.last_input_size = nullptr;
    return more;
  }
  std::size_t count = 0;
  const Command* table = commands(&count);
  more.commands.assign(table, table + count);
  return more;
}

}  // namespace

const MoreCommands& LoadMoreCommands(const char* file) {
  // One slot per module of kModules; the program is one thread when it loads them.
  static std::map<std::string, MoreCommands> loaded;
  auto it = loaded.find(file);
  if (it == loaded.end()) it = loaded.emplace(file, Load(file)).first;
  return it->second;
}

}  // namespace haruvi::tool
