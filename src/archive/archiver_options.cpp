// Archiver switches and the command-line builder; see archiver_options.h.
#include "archive/archiver_options.h"

#include <algorithm>

namespace haruvi::archive {
namespace {

int IndexOf(std::string_view name) {
  for (std::size_t i = 0; i < TArchiverOptions::kIntSwitches.size(); ++i)
    if (name == TArchiverOptions::kIntSwitches[i]) return static_cast<int>(i);
  return -1;
}

}  // namespace

void TArchiverOptions::Reset() {
  values_.fill(-1);
  w.clear();
  jo.clear();
  job.clear();
  jz.clear();
  gr.clear();
  jx.clear();
}

int TArchiverOptions::Get(std::string_view name) const {
  const int i = IndexOf(name);
  return i < 0 ? -1 : values_[static_cast<std::size_t>(i)];
}

void TArchiverOptions::Set(std::string_view name, int value) {
  const int i = IndexOf(name);
  if (i >= 0) values_[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(std::clamp(value, -128, 127));
}

void TCmdOpt::Add(std::string_view piece) {
  if (piece.empty()) return;
  text_ += ' ';
  text_ += piece;
}

void TCmdOpt::AddInt(std::string_view name, int value) {
  if (value == -1) return;
  Add("-" + std::string(name) + std::to_string(value));
}

void TCmdOpt::AddString(std::string_view name, std::string_view value) {
  if (value.empty()) return;
  std::string piece;
  if (name.empty()) piece = value;
  else if (name.front() == ' ') piece = std::string(name.substr(1)) + std::string(value);
  else piece = "-" + std::string(name) + std::string(value);
  AddQuoted(piece);
}

void TCmdOpt::AddFolder(std::string_view name, std::string_view folder) {
  if (folder.empty()) return;
  AddString(name, WithSlash(folder));
}

void TCmdOpt::AddQuoted(std::string_view path) { Add("\"" + std::string(path) + "\""); }

std::string WithSlash(std::string_view folder) {
  std::string f(folder);
  if (f.empty() || f.back() != '/') f += '/';
  return f;
}

}  // namespace haruvi::archive
