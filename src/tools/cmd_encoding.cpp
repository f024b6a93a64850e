// "detect", "conv" and "width": the encoding library on the command line. Files are
// mapped rather than read so that a 100 MB text is looked at in place.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "encoding/char_code.h"
#include "encoding/codings.h"
#include "encoding/crlf_lines.h"
#include "encoding/jis_convert.h"
#include "encoding/width.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

namespace enc = haruvi::encoding;

// The bytes of a file (mapped) or of standard input (read).
class Input {
 public:
  static std::optional<Input> Open(const std::string& path) {
    Input in;
    if (path.empty() || path == "-") {
      auto data = ReadInput("");
      if (!data) return std::nullopt;
      in.owned_ = std::move(*data);
      return in;
    }
    struct stat st {};
    const int fd = OpenInputFile(path, &st);
    if (fd < 0) return std::nullopt;
    if (st.st_size == 0) {
      ::close(fd);
      return in;  // empty: nothing to map
    }
    void* map = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
      auto data = ReadInput(path);
      if (!data) return std::nullopt;
      in.owned_ = std::move(*data);
      return in;
    }
    ::madvise(map, static_cast<size_t>(st.st_size), MADV_SEQUENTIAL);
    in.map_ = map;
    in.size_ = static_cast<size_t>(st.st_size);
    return in;
  }
  Input(Input&& other) noexcept : map_(other.map_), size_(other.size_), owned_(std::move(other.owned_)) {
    other.map_ = nullptr;
  }
  Input& operator=(Input&&) = delete;
  ~Input() {
    if (map_) ::munmap(map_, size_);
  }
  std::string_view bytes() const {
    return map_ ? std::string_view(static_cast<const char*>(map_), size_) : std::string_view(owned_);
  }

 private:
  Input() = default;
  void* map_ = nullptr;
  size_t size_ = 0;
  std::string owned_;
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
    lines += enc::CharCodeName(enc::DetectCharCode(in->bytes())) + "\t" + path + "\n";
  }
  return WriteOutput(lines) ? status : kExitNoMatch;
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
const Command kConv{"conv", "conv [--raw] OP [FILE]",
                    "code conversion OP (jis2sjis euc2sjis sjis2jis euc2jis sjis2euc jis2euc base64 mime "
                    "base64d uu uud binhex binhexd mimed auto) of a file read as CR LF lines; --raw: bytes as they are",
                    &RunConv};

int RunConv(const Args& args) {
  size_t k = 0;
  const bool raw = k < args.size() && args[k] == "--raw";
  if (raw) ++k;
  if (k >= args.size()) return UsageError(kConv, "missing OP");
  if (args.size() > k + 2) return UsageError(kConv, "too many arguments");
  const OpName* op = nullptr;
  for (const OpName& o : kOps)
    if (o.name == args[k]) op = &o;
  if (!op) return UsageError(kConv, "unknown OP '" + args[k] + "'");
  auto in = Input::Open(k + 1 < args.size() ? args[k + 1] : "");
  if (!in) return kExitNoMatch;
  // Most files already read as CR LF lines: convert them in place, without a copy.
  std::string lines;
  std::string_view text = in->bytes();
  if (!raw && !enc::IsJoinedWithCrLf(text)) text = lines = enc::JoinLinesWithCrLf(text);
  // Big texts go out piece by piece, so the output never waits in memory: Base64 in
  // pieces of whole groups (one unbroken line), the conversions in pieces of whole lines
  // (an LF is never part of a character, JIS is written back in single-byte mode before
  // it, and reading JIS carries its mode from piece to piece; a line end that is the
  // second byte of an escape is no place to cut).
  constexpr size_t kPiece = 3 << 18;
  if (op->op == enc::coBase64Encode) {
    for (size_t at = 0; at < text.size(); at += kPiece)
      if (!WriteOutput(enc::Base64Encode(text.substr(at, kPiece)))) return kExitNoMatch;
    return kExitOk;
  }
  const bool reads_jis = op->op == enc::coJisToSjis || op->op == enc::coJisToEuc;
  if (reads_jis || op->op == enc::coSjisToEuc || op->op == enc::coEucToSjis || op->op == enc::coSjisToJis ||
      op->op == enc::coEucToJis) {
    bool two_byte = false;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.size();
      for (size_t from = at + kPiece; from < text.size();) {
        const size_t lf = text.find('\n', from);
        if (lf == std::string_view::npos) break;
        if (!reads_jis || text[lf - 1] != '\x1B') {
          end = lf + 1;
          break;
        }
        from = lf + 1;
      }
      const std::string_view piece = text.substr(at, end - at);
      const std::string out = op->op == enc::coJisToSjis ? enc::JisToSjis(piece, &two_byte)
                              : op->op == enc::coJisToEuc ? enc::JisToEuc(piece, &two_byte)
                                                          : enc::ApplyCodingOp(op->op, piece);
      if (!WriteOutput(out)) return kExitNoMatch;
      at = end;
    }
    return kExitOk;
  }
  return WriteOutput(enc::ApplyCodingOp(op->op, text)) ? kExitOk : kExitNoMatch;
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
  std::string (*routine)(std::string_view) = nullptr;
  if (args[0] == "han2zen") routine = &enc::HankakuToZenkaku;
  else if (args[0] == "zen2han") routine = &enc::ZenkakuToHankaku;
  else if (args[0] == "kana2zen") routine = &enc::HalfKanaToFull;
  else return UsageError(kWidth, "unknown OP '" + args[0] + "'");
  auto in = Input::Open(args.size() > 1 ? args[1] : "");
  if (!in) return kExitNoMatch;
  return WriteOutput(routine(in->bytes())) ? kExitOk : kExitNoMatch;
}

const bool registered = RegisterCommand(kDetect) && RegisterCommand(kConv) && RegisterCommand(kWidth);

}  // namespace
}  // namespace haruvi::tool
