// The direct LHA binding; see lha_binding.h.
#include "archive/lha_binding.h"

#include <vector>

#include "archive/archiver_api.h"
#include "archive/result_codes.h"

namespace haruvi::archive {

void LhaBinding::Load() { lib_ = ArchiverLibrary::Load("UNLHA32"); }

std::uint32_t LhaBinding::Version() const {
  if (!lib_) return 0;
  const auto fn = lib_->Get<HaruviGetVersionFn>("UnlhaGetVersion");
  return fn ? fn() : 0;
}

int LhaBinding::Unlha(void* window, const std::string& command, std::string* output, std::uint32_t size,
                      HaruviProgress* progress) const {
  if (output) output->clear();
  const auto fn = lib_ ? lib_->Get<HaruviCommandFn>("Unlha") : nullptr;
  if (!fn) return kErrNotArchive;
  const auto set_progress = progress ? lib_->Get<HaruviSetProgressFn>("UnlhaSetProgress") : nullptr;
  std::vector<char> buffer(size ? size : 1, '\0');
  if (set_progress) set_progress(progress);
  const int rc = fn(window, command.c_str(), buffer.data(), static_cast<std::uint32_t>(buffer.size()));
  if (set_progress) set_progress(nullptr);
  buffer.back() = '\0';
  if (output) *output = buffer.data();
  return rc;
}

bool LhaBinding::CheckArchive(const std::string& path, int mode) const {
  const auto fn = lib_ ? lib_->Get<HaruviCheckArchiveFn>("UnlhaCheckArchive") : nullptr;
  return fn && fn(path.c_str(), mode) != 0;
}

}  // namespace haruvi::archive
