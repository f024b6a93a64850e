// "detect", "conv" and "width": the encoding library on the command line. detect maps
// files so that a 100 MB text is looked at in place; conv and width read and write in
// pieces, so any size of input takes the same memory.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "encoding/char_code.h"
#include "encoding/codings.h"
#include "encoding/guarded_map.h"
#include "encoding/jis_convert.h"
#include "encoding/map_prefetch.h"
#include "encoding/piece_convert.h"
#include "encoding/text_form.h"
#include "encoding/unicode_convert.h"
#include "encoding/width.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

namespace enc = haruvi::encoding;

// The bytes of a file (mapped, guarded against the file being cut short) or of standard
// input (read).
class Input {
 public:
  static std::unique_ptr<Input> Open(const std::string& path) {
    auto in = std::unique_ptr<Input>(new Input);
    if (path.empty() || path == "-") {
      auto data = ReadInput("");
      if (!data) return nullptr;
      in->owned_ = std::move(*data);
      return in;
    }
    struct stat st {};
    const int fd = OpenInputFile(path, &st);
    if (fd < 0) return nullptr;
    const bool mapped = in->map_.Map(fd, static_cast<size_t>(st.st_size));
    ::close(fd);
    if (!mapped) {
      auto data = ReadInput(path);
      if (!data) return nullptr;
      in->owned_ = std::move(*data);
      return in;
    }
    if (in->map_.size() == 0) return in;  // empty: nothing was mapped
    ::madvise(const_cast<char*>(in->map_.data()), in->map_.size(), MADV_SEQUENTIAL);
    // Faulting a page at a time costs more than the scan: the page tables are filled on
    // another thread ahead of it (and no further than the scan goes: a huge file's code
    // is decided by its first bytes long before its end).
    in->prefetch_ = std::make_unique<enc::MapPrefetch>(in->map_.data(), in->map_.size());
    return in;
  }
  ~Input() { prefetch_.reset(); }  // done with the mapping first
  std::string_view bytes() const {
    return map_.data() ? std::string_view(map_.data(), map_.size()) : std::string_view(owned_);
  }
  // True when the file was cut short under the mapping: the bytes are not the file's.
  bool Changed() const { return map_.Changed(); }

 private:
  Input() = default;
  enc::GuardedMap map_;
  std::string owned_;
  std::unique_ptr<enc::MapPrefetch> prefetch_;
};

// ---------------------------------------------------------------- detect
int RunDetect(const Args& args);
const Command kDetect{"detect", "detect [FILE...]",
                      "print each file's character code name and path (standard input: \"-\")", &RunDetect};

int RunDetect(const Args& args) {
  Args files = args.empty() ? Args{"-"} : args;
  int status = kExitOk;
  std::string lines;
  for (const std::string& path : files) {
    auto in = Input::Open(path);
    if (!in) {
      status = kExitNoMatch;
      continue;
    }
    const std::string name = enc::CodeNameOf(in->bytes());
    if (in->Changed()) {
      PrintError(path + ": " + enc::kFileChangedWhileRead);
      status = kExitNoMatch;
      continue;
    }
    lines += name + "\t" + ForTerminal(STDOUT_FILENO, path) + "\n";
  }
  return WriteOutput(lines) ? status : kExitNoMatch;
}

// Runs a piecewise conversion from `source` to standard output; `what` names it in messages.
int RunPieces(const std::string& what, const InputDescriptor& in, enc::PieceSource& source,
              enc::PieceConversion& conversion) {
  enc::ChunkWriter writer(&WriteOutput);
  try {
    switch (enc::ConvertPieces(source, conversion, writer)) {
      case enc::PieceRunResult::kDone: return kExitOk;
      case enc::PieceRunResult::kReadError: in.PrintReadError(); return kExitNoMatch;
      case enc::PieceRunResult::kWriteError: return kExitNoMatch;
    }
  } catch (const enc::PieceLimitError& e) {
    writer.Flush();
    PrintError(what + ": " + e.what());
  }
  return kExitNoMatch;
}

// ---------------------------------------------------------------- conv
struct OpName {
  std::string_view name;
  enc::TCodingOp op;
};
constexpr OpName kOps[] = {
    {"jis2sjis", enc::coJisToSjis}, {"euc2sjis", enc::coEucToSjis},       {"sjis2jis", enc::coSjisToJis},
    {"euc2jis", enc::coEucToJis},   {"sjis2euc", enc::coSjisToEuc},       {"jis2euc", enc::coJisToEuc},
    {"base64", enc::coBase64Encode}, {"mime", enc::coMimeHeaderEncode},   {"base64d", enc::coBase64Decode},
    {"uu", enc::coUuEncode},        {"uud", enc::coUuDecode},             {"binhex", enc::coBinHexEncode},
    {"binhexd", enc::coBinHexDecode}, {"mimed", enc::coMimeHeaderDecode}, {"auto", enc::coAutoToSjis},
};

int RunConv(const Args& args);
const Command kConv{"conv", "conv [--raw] [--lossy] OP [FILE]",
                    "code conversion OP (jis2sjis euc2sjis sjis2jis euc2jis sjis2euc jis2euc base64 mime "
                    "base64d uu uud binhex binhexd mimed auto) of a file read as CR LF lines; --raw: bytes as they "
                    "are. Unicode OP (sjis2utf8 utf82sjis euc2utf8 utf82euc jis2utf8 utf82jis utf162utf8 utf82utf16 "
                    "utf82utf16le utf82utf16be) converts the bytes as they are; characters the target cannot hold "
                    "are counted on standard error and exit 3 unless --lossy",
                    &RunConv, true};

constexpr int kExitLossy = 3;

// A Unicode conversion of the bytes as they are; what the target cannot hold is counted.
int RunUnicodeConv(enc::UnicodeOp op, bool lossy, const std::string& path) {
  InputDescriptor in;
  if (!in.Open(path)) return kExitNoMatch;
  enc::PieceReader reader(in.fd(), in.limit());
  std::size_t missing = 0;
  std::unique_ptr<enc::PieceConversion> conversion = enc::MakeUnicodeConversion(op, &missing);
  const std::string what = std::string("conv ").append(enc::UnicodeOpName(op));
  const int status = RunPieces(what, in, reader, *conversion);
  if (status != kExitOk || missing == 0) return status;
  PrintError(what + ": " + std::to_string(missing) + " character" + (missing == 1 ? "" : "s") +
             " could not be converted" + (lossy ? " (written as substitutes)" : ""));
  return lossy ? kExitOk : kExitLossy;
}

int RunConv(const Args& args) {
  size_t k = 0;
  bool raw = false, lossy = false;
  for (; k < args.size() && (args[k] == "--raw" || args[k] == "--lossy"); ++k) (args[k] == "--raw" ? raw : lossy) = true;
  if (k < args.size() && args[k] == "--") ++k;
  if (k >= args.size()) return UsageError(kConv, "missing OP");
  if (args.size() > k + 2) return UsageError(kConv, "too many arguments");
  if (auto unicode = enc::UnicodeOpNamed(args[k])) return RunUnicodeConv(*unicode, lossy, k + 1 < args.size() ? args[k + 1] : "");
  const OpName* op = nullptr;
  for (const OpName& o : kOps)
    if (o.name == args[k]) op = &o;
  if (!op) return UsageError(kConv, "unknown OP '" + args[k] + "'");
  InputDescriptor in;
  if (!in.Open(k + 1 < args.size() ? args[k + 1] : "")) return kExitNoMatch;
  // Read and written in pieces, so neither the input nor the output waits in memory.
  enc::PieceReader reader(in.fd(), in.limit());
  enc::CrLfLineSource lines(reader);
  enc::PieceSource& source = raw ? static_cast<enc::PieceSource&>(reader) : lines;
  std::unique_ptr<enc::PieceConversion> conversion = enc::MakeCodingConversion(op->op);
  if (!conversion) {
    // "auto" converts from the code that detection finds; it decides on the first bytes
    // that tell, which a text that is not too long holds in full.
    if (!source.Fill(enc::kMaxHeldBytes + 1)) {
      in.PrintReadError();
      return kExitNoMatch;
    }
    if (source.AtEnd()) return WriteOutput(enc::ApplyCodingOp(op->op, source.Held())) ? kExitOk : kExitNoMatch;
    conversion = enc::MakeAutoToSjisConversion(source.Held());
    if (!conversion) {
      PrintError("conv auto: the character code is still undecided after the first " +
                 std::string(enc::kMaxHeldText) + "; name the conversion");
      return kExitNoMatch;
    }
  }
  return RunPieces(std::string("conv ").append(op->name), in, source, *conversion);
}

// ---------------------------------------------------------------- width
int RunWidth(const Args& args);
const Command kWidth{"width", "width OP [FILE]",
                     "width conversion OP of Shift_JIS text: han2zen (half to full width), zen2han (full to "
                     "half width), kana2zen (half-width kana only)",
                     &RunWidth};

int RunWidth(const Args& args) {
  if (args.empty()) return UsageError(kWidth, "missing OP");
  if (args.size() > 2) return UsageError(kWidth, "too many arguments");
  enc::WidthOp op;
  if (args[0] == "han2zen") op = enc::WidthOp::kHankakuToZenkaku;
  else if (args[0] == "zen2han") op = enc::WidthOp::kZenkakuToHankaku;
  else if (args[0] == "kana2zen") op = enc::WidthOp::kHalfKanaToFull;
  else return UsageError(kWidth, "unknown OP '" + args[0] + "'");
  InputDescriptor in;
  if (!in.Open(args.size() > 1 ? args[1] : "")) return kExitNoMatch;
  enc::PieceReader reader(in.fd(), in.limit());
  return RunPieces("width " + args[0], in, reader, *enc::MakeWidthConversion(op));
}

const bool registered = RegisterCommand(kDetect) && RegisterCommand(kConv) && RegisterCommand(kWidth);

}  // namespace
}  // namespace haruvi::tool
