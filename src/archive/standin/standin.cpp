// The shared body of the stand-in archiver libraries; see standin.h.
#include "archive/standin/standin.h"

#include <fnmatch.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "archive/listing.h"
#include "archive/unpack.h"
#include "encoding/utf8_sjis.h"
#include "platform/system_error.h"

namespace haruvi::archive::standin {
namespace {

// The words of a command line; `names` marks the words that were quoted, which are
// names whatever they start with (a file called "-dash.txt" is no switch).
std::vector<std::string> Tokens(const std::string& line, std::vector<bool>* names = nullptr) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    std::string token;
    bool quoted = false;
    bool was_quoted = false;
    while (i < line.size() && (quoted || line[i] != ' ')) {
      if (line[i] == '"') {
        quoted = !quoted;
        was_quoted = true;
      } else {
        token.push_back(line[i]);
      }
      ++i;
    }
    out.push_back(token);
    if (names) names->push_back(was_quoted);
  }
  return out;
}

bool IsFolderToken(const std::string& t) { return !t.empty() && (t.back() == '/' || t.back() == '\\'); }

std::string Unquoted(const char* path) {
  std::string p = path ? path : "";
  p.erase(std::remove(p.begin(), p.end(), '"'), p.end());
  return p;
}

void PutOutput(const std::string& text, char* output, std::uint32_t size) {
  if (!output || size == 0) return;
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(output, text.data(), n);
  output[n] = '\0';
}

std::string Sjis(const std::string& utf8) { return encoding::PathToSjis(utf8); }

bool Reads(const LibraryTraits& traits, ArchiveFamily family) { return traits.reads.count(family) > 0; }

// The progress each calling thread handed over. A map under a lock rather than a
// thread_local: the sanitizers' leak check trips over the thread-local storage of a
// library loaded at run time.
std::mutex g_progress_mutex;
std::map<std::thread::id, HaruviProgress*> g_progress;

HaruviProgress* ThisThreadsProgress() {
  std::lock_guard<std::mutex> lock(g_progress_mutex);
  const auto it = g_progress.find(std::this_thread::get_id());
  return it == g_progress.end() ? nullptr : it->second;
}

// How the core reads for the command now running: with the caller's progress, when set,
// whose total becomes the archive's size.
ReadControl Control(const std::string& archive) {
  ReadControl control;
  if (HaruviProgress* p = ThisThreadsProgress()) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(archive, ec);
    p->total = ec ? 0 : static_cast<std::uint64_t>(size);
    p->done = 0;
    control.cancel = &p->cancel;
    control.progress = &p->done;
  }
  return control;
}

// What an archive is, from its first header (no reading of the whole).
ArchiveFamily FamilyOf(const std::string& archive, const ReadControl& control) {
  Reader r;
  std::string error;
  Entry e;
  if (!r.Open(archive, &error, control)) return ArchiveFamily::kNone;
  r.Next(&e, &error);
  return r.Family();
}

struct Walk {
  std::vector<Entry> entries;
  std::size_t next = 0;
  std::string wildcard;
  int damage = 0;  // the result code ending the walk after the last entry read (0: none)
};

std::uint16_t DosDate(const std::tm& t) {
  return static_cast<std::uint16_t>(((t.tm_year - 80) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday);
}
std::uint16_t DosTime(const std::tm& t) {
  return static_cast<std::uint16_t>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2));
}

void Fill(const Entry& e, HaruviIndividualInfo* info) {
  std::memset(info, 0, sizeof *info);
  info->original_size = static_cast<std::uint32_t>(std::min<std::uint64_t>(e.size, 0xFFFFFFFFu));
  info->compressed_size = static_cast<std::uint32_t>(std::min<std::uint64_t>(e.packed, 0xFFFFFFFFu));
  info->crc = e.crc;
  info->ratio = static_cast<std::uint16_t>(std::min(RatioPerMille(e.size, e.packed), 65535));
  const std::time_t t = static_cast<std::time_t>(e.mtime);
  std::tm tm{};
  if (localtime_r(&t, &tm) && tm.tm_year >= 80) {
    info->date = DosDate(tm);
    info->time = DosTime(tm);
  } else {
    info->date = (1 << 5) | 1;
  }
  const std::string name = NameCodec::ToPane(e.name);
  std::strncpy(info->file_name, name.c_str(), sizeof info->file_name - 1);
  std::strncpy(info->attribute, AttributeText(e).c_str(), sizeof info->attribute - 1);
  std::strncpy(info->method, e.method.c_str(), sizeof info->method - 1);
}

int Step(Walk* w, HaruviIndividualInfo* info) {
  while (w->next < w->entries.size()) {
    const Entry& e = w->entries[w->next++];
    const std::string name = NameCodec::ToPane(e.name);
    const std::string& pattern = w->wildcard;
    if (pattern.empty() || pattern == "*" || pattern == "*.*" || fnmatch(pattern.c_str(), name.c_str(), 0) == 0) {
      Fill(e, info);
      return 0;
    }
  }
  return w->damage ? w->damage : -1;
}

// The line that ends the listing of a damaged archive.
std::string DamageLine(const std::string& reason) {
  return Sjis(ResultMessage(DamageCode(reason)) + " 読めた所までの項目を表示しました。(" + reason + ")") + "\r\n";
}

// What an unpacking did, entry by entry: the files written, those refused (with why),
// those unpacked under another name, those kept because the target had them, then the
// damage or failure that ended it, and a total of the files written only.
std::string UnpackReport(const std::string& archive, const UnpackResult& r) {
  std::string text;
  for (const std::string& w : r.written) text += w + "\r\n";
  for (const RefusedEntry& e : r.refused) {
    const std::string reason = e.error ? "（" + platform::SystemErrorText(e.error) + "）" : std::string();
    text += e.name + Sjis(std::string(" : ") + RefusalTextJa(e.why) + reason + "。展開しませんでした") + "\r\n";
  }
  for (const RenamedEntry& e : r.renamed)
    text += e.name + Sjis(" : 同じ名前の項目が先にあるため ") + e.kept_as + Sjis(" として展開しました") + "\r\n";
  for (const std::string& k : r.kept) text += Sjis(k) + Sjis(" : 既に存在するため展開しませんでした") + "\r\n";
  if (r.code != kOk && r.code != kErrAlreadyExists) {
    text += Sjis(r.detail_ja) + "\r\n";
    if (!r.damaged) return text;
    text += Sjis("壊れている所より前の項目は展開しました。") + "\r\n";
  }
  return text + Sjis(archive + " : " + std::to_string(r.files) + " 個のファイルを展開しました") + "\r\n";
}

}  // namespace

bool ParseCommand(const LibraryTraits& traits, const std::string& line, Command* out) {
  *out = Command{};
  std::vector<bool> quoted;
  std::vector<std::string> t = Tokens(line, &quoted);
  if (t.empty()) return false;
  std::size_t i = 0;
  if (traits.style == Style::kZipPack) {
    out->op = 'a';
  } else {
    std::string word = t[i++];
    if (!word.empty() && word[0] == '-') word.erase(0, 1);
    if (word.size() != 1) return false;
    out->op = word[0];
    if (out->op == 'c') {  // tar's "c" makes a new archive; "a" and "u" add to one
      out->op = 'a';
      out->fresh = true;
    }
    if (out->op == 't') out->op = 'l';
    if (std::string("lvxeau").find(out->op) == std::string::npos) return false;
  }
  std::vector<std::string> plain;
  for (; i < t.size(); ++i) {
    const std::string& s = t[i];
    if (traits.style == Style::kTar && (s == "-f" || s == "-o") && i + 1 < t.size()) {
      (s == "-f" ? out->archive : out->folder) = t[++i];
      continue;
    }
    if (!s.empty() && s[0] == '-' && !quoted[i]) {
      if (traits.style == Style::kTar && (s.rfind("-z", 0) == 0 || s.rfind("-B", 0) == 0)) out->tar_filter = s[1];
      if (s == "-o" || s == "-c1" || s == "-y" || s == "--overwrite") out->overwrite = true;
      if (s == "-j" || s == "-x0") out->flat = true;
      continue;
    }
    plain.push_back(s);
  }
  std::size_t k = 0;
  if (out->archive.empty()) {
    if (plain.empty()) return false;
    out->archive = plain[k++];
  }
  if (out->folder.empty() && k < plain.size() && IsFolderToken(plain[k])) out->folder = plain[k++];
  out->files.assign(plain.begin() + static_cast<std::ptrdiff_t>(k), plain.end());
  if (out->op == 'e') out->flat = true;
  if (traits.style == Style::kRar && out->op == 'e') out->op = 'x';
  return !out->archive.empty();
}

int RunCommand(const LibraryTraits& traits, const char* line, char* output, std::uint32_t size) {
  PutOutput("", output, size);
  Command c;
  if (!line || !ParseCommand(traits, line, &c)) return kErrCommand;
  switch (c.op) {
    case 'l':
    case 'v': {
      const Listing l = ListArchive(c.archive, Control(c.archive));
      if (l.cancelled) return kErrUserCancel;
      if (!l.ok && l.entries.empty()) return kErrNotArchive;
      if (!Reads(traits, l.family)) return kErrNotArchive;
      const std::string name = NameCodec::ToPane(c.archive);
      std::string text = c.op == 'l' ? FormatListing(name, l.entries) : FormatVerboseListing(name, l.entries);
      if (!l.ok) text += "\r\n" + DamageLine(l.error);
      PutOutput(text, output, size);
      return l.ok ? kOk : DamageCode(l.error);
    }
    case 'x':
    case 'e': {
      const ReadControl control = Control(c.archive);
      if (!traits.reads.empty() && !Reads(traits, FamilyOf(c.archive, control)))
        return control.cancel && control.cancel->load() ? kErrUserCancel : kErrNotArchive;
      UnpackOptions opt;
      opt.cancel = control.cancel;
      opt.progress = control.progress;
      opt.overwrite = c.overwrite;
      opt.ignore_folders = c.flat;
      // The destination is made when missing, as the command-line unpackers do.
      std::error_code ec;
      if (!c.folder.empty()) std::filesystem::create_directories(c.folder, ec);
      const UnpackResult r = Unpack(c.archive, c.folder.empty() ? "." : c.folder, opt);
      PutOutput(UnpackReport(c.archive, r), output, size);
      if (r.code != kOk) return r.code;
      return r.refused.empty() ? kOk : kErrSkipped;
    }
    case 'a':
    case 'u': {
      if (!traits.packs) return kErrNotSupported;
      CreateOptions opt;
      if (HaruviProgress* p = ThisThreadsProgress()) opt.cancel = &p->cancel;
      opt.update = !c.fresh;
      opt.base_names = true;
      std::string base = c.folder;
      while (base.size() > 1 && (base.back() == '/' || base.back() == '\\')) base.pop_back();
      CreateFormat format = traits.pack_format;
      if (traits.style == Style::kTar) {
        // tar32 packs as its switches say: -z gzip, -B bzip2, else by the name.
        if (c.tar_filter == 'z') format = CreateFormat::kTgz;
        else if (c.tar_filter == 'B') format = CreateFormat::kBz2;
        else if (!FormatForName(c.archive, &format) || format == CreateFormat::kLzh || format == CreateFormat::kZip ||
                 format == CreateFormat::kCab)
          format = CreateFormat::kTar;
      }
      const CreateResult r = CreateArchive(format, c.archive, c.files, base, opt);
      std::string text;
      for (const std::string& n : r.added) text += Sjis(n) + "\r\n";
      for (const auto& [n, why] : r.skipped) text += Sjis(n + " : " + why) + "\r\n";
      if (r.code != kOk) text += Sjis(r.detail_ja) + "\r\n";
      PutOutput(text, output, size);
      return r.code;
    }
    default: return kErrCommand;
  }
}

int CheckArchive(const LibraryTraits& traits, const char* path) {
  Reader r;
  std::string error;
  Entry e;
  if (!r.Open(Unquoted(path), &error) || r.Next(&e, &error) < 0) return 0;
  return Reads(traits, r.Family()) ? 1 : 0;
}

int SetProgress(HaruviProgress* progress) {
  std::lock_guard<std::mutex> lock(g_progress_mutex);
  if (progress)
    g_progress[std::this_thread::get_id()] = progress;
  else
    g_progress.erase(std::this_thread::get_id());
  return 1;
}

// A damaged archive opens with the entries read before the damage; the walk over them
// ends with the damage's result code instead of -1, so a listing can say so.
HaruviArcHandle OpenArchive(const LibraryTraits& traits, const char* path) {
  // Another library's archive is told from its first header, not read through: the
  // component asks each library in turn when a name does not say the kind.
  if (!Reads(traits, FamilyOf(Unquoted(path), {}))) return nullptr;
  Listing l = ListArchive(Unquoted(path), Control(Unquoted(path)));
  if (l.cancelled || (!l.ok && l.entries.empty()) || !Reads(traits, l.family)) return nullptr;
  auto* w = new Walk;
  w->entries = std::move(l.entries);
  if (!l.ok) w->damage = DamageCode(l.error);
  return w;
}

int GetSizes(HaruviArcHandle handle, std::uint64_t* original, std::uint64_t* packed) {
  auto* w = static_cast<Walk*>(handle);
  if (!w || w->next == 0 || w->next > w->entries.size()) return -1;
  const Entry& e = w->entries[w->next - 1];
  if (original) *original = e.size;
  if (packed) *packed = e.packed;
  return 0;
}

int CloseArchive(HaruviArcHandle handle) {
  delete static_cast<Walk*>(handle);
  return 0;
}

int FindFirst(HaruviArcHandle handle, const char* wildcard, HaruviIndividualInfo* info) {
  if (!handle || !info) return -1;
  auto* w = static_cast<Walk*>(handle);
  w->next = 0;
  w->wildcard = wildcard ? wildcard : "";
  return Step(w, info);
}

int FindNext(HaruviArcHandle handle, HaruviIndividualInfo* info) {
  if (!handle || !info) return -1;
  return Step(static_cast<Walk*>(handle), info);
}

int TarArchiveType(const char* path) {
  Reader r;
  std::string error;
  Entry e;
  if (!r.Open(Unquoted(path), &error) || r.Next(&e, &error) < 0) return 0;
  switch (r.Family()) {
    case ArchiveFamily::kTar: return 1;
    case ArchiveFamily::kTgz: return 2;
    case ArchiveFamily::kBz2: return 6;
    case ArchiveFamily::k7z:
    case ArchiveFamily::kOther: return 8;
    default: return 0;
  }
}

}  // namespace haruvi::archive::standin
