// The piecewise conversions: each takes what it can convert without the bytes after the
// window and leaves the rest (a character's first bytes, an unfinished group or line) at
// the front of the next one.
#include "encoding/piece_convert.h"

#include <algorithm>
#include <cstring>

#include "encoding/byte_writer.h"
#include "encoding/char_code.h"
#include "encoding/codings.h"
#include "encoding/line_scan.h"

namespace haruvi::encoding {
namespace {

constexpr std::string_view kLineCodingSep = "\r";  // as ApplyCodingOp writes the line codings

void AppendTo(std::string& out, std::string&& piece) {
  if (out.empty()) out = std::move(piece);
  else out.append(piece);
}

// The characters that start before the lookahead bytes, or all at the end.
size_t CharLimit(std::string_view held, bool last) {
  if (last) return held.size();
  return held.size() > kPieceLookahead ? held.size() - kPieceLookahead : 0;
}

class CodeConversion : public PieceConversion {
 public:
  explicit CodeConversion(TCodingOp op) : op_(op) {}
  size_t Convert(std::string_view held, bool last, std::string& out) override {
    const size_t limit = CharLimit(held, last);
    if (limit == 0) return last ? held.size() : 0;
    size_t used = 0;
    AppendTo(out, ConvertCodePiece(op_, held, limit, &two_byte_, &used));
    return used;
  }

 private:
  TCodingOp op_;
  bool two_byte_ = false;
};

class WidthConversion : public PieceConversion {
 public:
  explicit WidthConversion(WidthOp op) : op_(op) {}
  size_t Convert(std::string_view held, bool last, std::string& out) override {
    const size_t limit = CharLimit(held, last);
    if (limit == 0) return last ? held.size() : 0;
    size_t used = 0;
    AppendTo(out, ConvertWidthPiece(op_, held, limit, &used));
    return used;
  }

 private:
  WidthOp op_;
};

class IdentityConversion : public PieceConversion {
 public:
  size_t Convert(std::string_view held, bool, std::string& out) override {
    out.append(held);
    return held.size();
  }
};

// Encoders of whole groups: each piece but the last a multiple of `unit` bytes.
template <typename Encode>
class GroupEncoder : public PieceConversion {
 public:
  GroupEncoder(size_t unit, Encode encode) : unit_(unit), encode_(encode) {}
  size_t Convert(std::string_view held, bool last, std::string& out) override {
    const size_t take = last ? held.size() : held.size() / unit_ * unit_;
    if (take == 0 && !last) return 0;
    AppendTo(out, encode_(held.substr(0, take), first_, last));
    first_ = false;
    return take;
  }

 private:
  size_t unit_;
  Encode encode_;
  bool first_ = true;
};
template <typename Encode>
std::unique_ptr<PieceConversion> MakeGroupEncoder(size_t unit, Encode encode) {
  return std::make_unique<GroupEncoder<Encode>>(unit, encode);
}

class Base64Decoding : public PieceConversion {
 public:
  size_t Convert(std::string_view held, bool last, std::string& out) override {
    decoder_.Decode(held, out);
    if (last) decoder_.Finish(out);
    return held.size();
  }

 private:
  Base64Decoder decoder_;
};

class BinHexDecoding : public PieceConversion {
 public:
  size_t Convert(std::string_view held, bool, std::string& out) override {
    decoder_.Decode(held, out);
    return held.size();
  }

 private:
  BinHexDecoder decoder_;
};

class MimeEncoding : public PieceConversion {
 public:
  size_t Convert(std::string_view held, bool last, std::string& out) override {
    if (!last && held.size() < 2) return 0;
    return encoder_.Encode(held, last ? held.size() : held.size() - 1, last, out);
  }

 private:
  MimeHeaderEncoder encoder_;
};

class MimeDecoding : public PieceConversion {
 public:
  size_t Convert(std::string_view held, bool last, std::string& out) override { return decoder_.Decode(held, last, out); }

 private:
  MimeHeaderDecoder decoder_;
};

// uudecode by whole lines. Only a line's first bytes count (its groups); the rest of a
// line longer than a window is passed over, so a line never has to be held whole.
class UuDecoding : public PieceConversion {
 public:
  size_t Convert(std::string_view held, bool last, std::string& out) override {
    if (ended_) return held.size();
    size_t i = 0;
    if (skipping_) {
      i = std::min(held.find_first_of("\r\n"), held.size());
      if (i == held.size()) return i;
      skipping_ = false;
    }
    const std::string_view rest = held.substr(i);
    const size_t end = last ? rest.size() : rest.find_last_of("\r\n") + 1;  // npos + 1 == 0
    if (end > 0) {
      Decode(rest.substr(0, end), out);
      return ended_ ? held.size() : i + end;
    }
    if (rest.size() < kLongLine) return i;  // the line's end has not come yet
    Decode(rest.substr(0, kLineHead), out);
    skipping_ = true;
    return held.size();
  }

 private:
  // A length character and 21 groups cover the longest line length (63): what follows
  // them is skipped, so a line's first kLineHead bytes decode as the whole line does.
  static constexpr size_t kLineHead = 1 + 4 * 21;
  static constexpr size_t kLongLine = 1 << 16;
  // A "begin" line is looked for only before the first line that holds anything, as the
  // whole text's decoding looks for it only at its start.
  void Decode(std::string_view lines, std::string& out) {
    AppendTo(out, UuDecode(lines, &ended_, !started_));
    if (lines.find_first_not_of("\r\n") != std::string_view::npos) started_ = true;
  }
  bool started_ = false;
  bool ended_ = false;     // a line of another length than 45, or "end", ended the decoding
  bool skipping_ = false;  // inside a long line whose head was decoded
};

}  // namespace

std::unique_ptr<PieceConversion> MakeCodingConversion(TCodingOp op) {
  switch (op) {
    case coJisToSjis:
    case coEucToSjis:
    case coSjisToJis:
    case coEucToJis:
    case coSjisToEuc:
    case coJisToEuc:
      return std::make_unique<CodeConversion>(op);
    case coBase64Encode:
      return MakeGroupEncoder(3 * 4096, [](std::string_view t, bool, bool) { return Base64Encode(t); });
    case coBase64Decode: return std::make_unique<Base64Decoding>();
    case coMimeHeaderEncode: return std::make_unique<MimeEncoding>();
    case coMimeHeaderDecode: return std::make_unique<MimeDecoding>();
    case coUuEncode:
      return MakeGroupEncoder(45 * 1024, [](std::string_view t, bool, bool last) {
        return UuEncodePiece(t, kLineCodingSep, last);
      });
    case coUuDecode: return std::make_unique<UuDecoding>();
    case coBinHexEncode:
      return MakeGroupEncoder(48 * 1024, [](std::string_view t, bool first, bool last) {
        return BinHexEncodePiece(t, kLineCodingSep, first, last);
      });
    case coBinHexDecode: return std::make_unique<BinHexDecoding>();
    case coAutoToSjis: return nullptr;
  }
  return std::make_unique<IdentityConversion>();
}

std::unique_ptr<PieceConversion> MakeWidthConversion(WidthOp op) { return std::make_unique<WidthConversion>(op); }

std::unique_ptr<PieceConversion> MakeAutoToSjisConversion(std::string_view first_bytes) {
  // Detection stops at its deciding byte, so a decision in the first bytes is the whole
  // text's; ASCII and EUC-or-Shift_JIS may still change further on.
  switch (DetectCharCode(first_bytes)) {
    case ccJis83:
    case ccJis78: return std::make_unique<CodeConversion>(coJisToSjis);
    case ccEuc: return std::make_unique<CodeConversion>(coEucToSjis);
    case ccSjis:
    case ccBinary: return std::make_unique<IdentityConversion>();
    case ccAscii:
    case ccEucOrSjis: break;
  }
  return nullptr;
}

bool CrLfLineSource::Fill(std::size_t want) {
  while (!at_end_ && buf_.size() - start_ < want) {
    if (start_ > 0) {
      buf_.erase(0, start_);
      start_ = 0;
    }
    if (!raw_.Fill(kPieceBytes)) return false;
    const std::string_view bytes = raw_.Held();
    const std::string_view text = UpToFirstNul(bytes);
    const bool nul = text.size() < bytes.size();
    Join(text);
    raw_.Consume(bytes.size());
    if (nul || raw_.AtEnd()) {
      if (open_line_) buf_.append("\r\n");
      at_end_ = true;
    }
  }
  return true;
}

void CrLfLineSource::Join(std::string_view bytes) {
  if (bytes.empty()) return;
  // An LF opening the piece pairs with the CR that closed the one before, whose line end
  // is written already.
  const size_t from = cr_before_ && bytes.front() == '\n' ? 1 : 0;
  cr_before_ = false;
  buf_.reserve(buf_.size() + bytes.size() + bytes.size() / 8 + 16);
  for (LineCursor c(bytes, from); !c.AtEnd(); c.Advance()) {
    buf_.append(c.Line());
    if (c.EndLength() == 0) {  // goes on in the next piece
      open_line_ = true;
      break;
    }
    buf_.append("\r\n");
    open_line_ = false;
    cr_before_ = c.Next() == bytes.size() && bytes.back() == '\r';
  }
}

PieceRunResult ConvertPieces(PieceSource& source, PieceConversion& conversion, ChunkWriter& writer) {
  size_t want = kPieceBytes;
  std::string out;
  for (;;) {
    if (!source.Fill(want)) return PieceRunResult::kReadError;
    const std::string_view held = source.Held();
    const bool last = source.AtEnd();
    out.clear();
    const size_t used = conversion.Convert(held, last, out);
    source.Consume(used);
    if (!out.empty() && !writer.Append(out)) return PieceRunResult::kWriteError;
    if (last) return writer.Flush() ? PieceRunResult::kDone : PieceRunResult::kWriteError;
    // A conversion that took nothing waits for a longer window.
    want = used == 0 ? std::min(std::max(2 * held.size(), held.size() + kPieceBytes), kMaxHeldBytes + 1) : kPieceBytes;
  }
}

}  // namespace haruvi::encoding
