// The piecewise conversions against the whole-text ones: random Japanese and stray
// bytes fed through windows that grow a few bytes at a time, so every cut falls inside a
// double-byte character, a kana and its mark, a JIS escape, a Base64 or uuencode group
// or an encoded word somewhere.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <random>
#include <string>
#include <thread>

#include "encoding/codings.h"
#include "encoding/crlf_lines.h"
#include "encoding/piece_convert.h"
#include "encoding/width.h"

namespace haruvi::encoding {
namespace {

// Fragments of every kind the conversions treat apart.
std::string RandomText(std::mt19937& rng, size_t size) {
  static const std::string kParts[] = {
      "\x88\x9F", "\x82\xA0", "\xB6\xDE", "\xCA\xDF", "\xB3\xDE", "\xB1",  "\xDE", "\xB0\xA1", "\xA4\xA2",
      "\x8E\xB6\x8E\xDE", "\x8E\xCA\x8E\xDF", "\x8E",  "\x1B$B", "\x1B(B", "\x1B(J", "\x1B$@", "\x1B", "\x1B$",
      "0!", "%,", "a", "A", "7", " ", "\r\n", "\n", "\r", "\x88", "\xFC", "\xFF", "\x7F",
      "=?ISO-2022-JP?B?", "=?iso-2022-jp?b?", "?=", "GyRCMCE=", "M", "`", ":", "B@*M$3S", "+/="};
  std::string text;
  while (text.size() < size) {
    if (rng() % 16 == 0) text += static_cast<char>(rng() % 256);
    else text += kParts[rng() % std::size(kParts)];
  }
  return text;
}

// Feeds `text` to `conversion` through a window that grows by 1 to `step` bytes.
std::string InPieces(PieceConversion& conversion, std::string_view text, std::mt19937& rng, size_t step) {
  std::string out;
  size_t taken = 0, held = 0;
  for (;;) {
    held = std::min(text.size(), held + 1 + rng() % step);
    const bool last = held == text.size();
    const size_t used = conversion.Convert(text.substr(taken, held - taken), last, out);
    EXPECT_LE(used, held - taken);
    taken += used;
    if (last) {
      EXPECT_EQ(taken, text.size());
      return out;
    }
  }
}

struct Op {
  TCodingOp op;
  const char* name;
};
constexpr Op kCodingOps[] = {
    {coJisToSjis, "jis2sjis"}, {coEucToSjis, "euc2sjis"}, {coSjisToJis, "sjis2jis"},     {coEucToJis, "euc2jis"},
    {coSjisToEuc, "sjis2euc"}, {coJisToEuc, "jis2euc"},   {coBase64Encode, "base64"},    {coMimeHeaderEncode, "mime"},
    {coBase64Decode, "base64d"}, {coUuEncode, "uu"},      {coUuDecode, "uud"},           {coBinHexEncode, "binhex"},
    {coBinHexDecode, "binhexd"}, {coMimeHeaderDecode, "mimed"}};

TEST(PieceConvert, EveryCodingJoinsUpToTheWholeTextWhereverItIsCut) {
  std::mt19937 rng(7);
  for (int round = 0; round < 12; ++round) {
    const std::string text = RandomText(rng, 1 + rng() % 3000);
    for (const Op& op : kCodingOps) {
      const std::string whole = ApplyCodingOp(op.op, text);
      for (size_t step : {1u, 5u, 40u}) {
        auto conversion = MakeCodingConversion(op.op);
        ASSERT_TRUE(conversion) << op.name;
        ASSERT_TRUE(InPieces(*conversion, text, rng, step) == whole) << op.name << " round " << round << " step " << step;
      }
    }
  }
}

TEST(PieceConvert, CodingsOfLongRegularInputsJoinUp) {
  // Whole uuencode lines, BinHex lines and Base64 over many pieces, and an empty input.
  std::mt19937 rng(3);
  std::string bytes(100000, '\0');
  for (char& c : bytes) c = static_cast<char>(rng());
  const std::string uu = UuEncode(bytes, "\r\n"), binhex = BinHexEncode(bytes, "\n"), b64 = Base64Encode(bytes);
  const std::pair<TCodingOp, std::string> rows[] = {{coUuDecode, uu},     {coBinHexDecode, binhex},
                                                    {coBase64Decode, b64}, {coUuEncode, bytes},
                                                    {coBinHexEncode, bytes}, {coBase64Encode, bytes}};
  for (const auto& [op, text] : rows) {
    auto conversion = MakeCodingConversion(op);
    EXPECT_TRUE(InPieces(*conversion, text, rng, 5000) == ApplyCodingOp(op, text)) << op;
    auto again = MakeCodingConversion(op);
    EXPECT_EQ(InPieces(*again, "", rng, 1), ApplyCodingOp(op, "")) << op;
  }
  EXPECT_EQ(ApplyCodingOp(coUuDecode, uu), bytes);
}

TEST(PieceConvert, AUuLineLongerThanAWindowDecodesByItsHead) {
  std::mt19937 rng(5);
  const std::string text = "M" + std::string(200000, 'A') + "\r\n#0V%T\r\n";
  auto conversion = MakeCodingConversion(coUuDecode);
  EXPECT_EQ(InPieces(*conversion, text, rng, 70000), UuDecode(text));
}

TEST(PieceConvert, WidthJoinsUpToTheWholeTextWhereverItIsCut) {
  std::mt19937 rng(9);
  const std::pair<WidthOp, std::string (*)(std::string_view)> ops[] = {
      {WidthOp::kHankakuToZenkaku, HankakuToZenkaku},
      {WidthOp::kZenkakuToHankaku, ZenkakuToHankaku},
      {WidthOp::kHalfKanaToFull, HalfKanaToFull}};
  for (int round = 0; round < 12; ++round) {
    const std::string text = RandomText(rng, 1 + rng() % 3000);
    for (const auto& [op, whole] : ops) {
      auto conversion = MakeWidthConversion(op);
      ASSERT_TRUE(InPieces(*conversion, text, rng, 1 + round * 3) == whole(text)) << round;
    }
  }
}

TEST(PieceConvert, AutoDecidesOnTheFirstBytesOnlyWhenTheyDecide) {
  std::mt19937 rng(1);
  const std::string euc = "abc\xB0\xA1\xF0\xA1" + RandomText(rng, 2000);
  auto from_euc = MakeAutoToSjisConversion(std::string_view(euc).substr(0, 1000));
  ASSERT_TRUE(from_euc);
  EXPECT_TRUE(InPieces(*from_euc, euc, rng, 30) == ApplyCodingOp(coAutoToSjis, euc));
  const std::string jis = "abc\x1B$B0!\x1B(B" + RandomText(rng, 2000);
  auto from_jis = MakeAutoToSjisConversion(std::string_view(jis).substr(0, 1000));
  ASSERT_TRUE(from_jis);
  EXPECT_TRUE(InPieces(*from_jis, jis, rng, 30) == ApplyCodingOp(coAutoToSjis, jis));
  EXPECT_FALSE(MakeAutoToSjisConversion("plain ascii"));
  EXPECT_FALSE(MakeAutoToSjisConversion("\xB0\xA1\xB0\xA1"));  // EUC or Shift_JIS: not yet
}

// Hands out its text a few bytes per Fill, whatever is asked for.
class TrickleSource : public PieceSource {
 public:
  TrickleSource(std::string text, std::mt19937& rng) : text_(std::move(text)), rng_(rng) {}
  bool Fill(size_t) override {
    end_ = std::min(text_.size(), end_ + 1 + rng_() % 7);
    return true;
  }
  std::string_view Held() const override { return std::string_view(text_).substr(start_, end_ - start_); }
  void Consume(size_t count) override { start_ += count; }
  bool AtEnd() const override { return end_ == text_.size(); }

 private:
  std::string text_;
  std::mt19937& rng_;
  size_t start_ = 0, end_ = 0;
};

TEST(PieceConvert, LineSourceJoinsLinesAsTheWholeTextJoinsThem) {
  std::mt19937 rng(13);
  for (std::string text : {std::string(), std::string("a"), std::string("\r"), std::string("\n\r\r\n"),
                           std::string("ab\r\0cd", 6), std::string("\0x", 2), RandomText(rng, 5000)}) {
    if (rng() % 2) text += std::string("\0tail\r", 6);
    TrickleSource raw(text, rng);
    CrLfLineSource lines(raw);
    std::string joined;
    while (true) {
      ASSERT_TRUE(lines.Fill(1 + rng() % 50));
      joined.append(lines.Held());
      lines.Consume(lines.Held().size());
      if (lines.AtEnd()) break;
    }
    EXPECT_TRUE(joined == JoinLinesWithCrLf(text)) << text.size();
  }
}

TEST(PieceConvert, ConvertPiecesReadsAPipeAndWritesTheWholeResult) {
  std::mt19937 rng(17);
  std::string text = RandomText(rng, 3 * kPieceBytes + 12345);
  std::erase(text, '\0');  // a NUL ends the reading: the pipe would be left full
  for (const TCodingOp op : {coSjisToJis, coJisToEuc, coMimeHeaderEncode, coBase64Encode}) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::thread feeder([&] {
      for (size_t at = 0; at < text.size();) at += static_cast<size_t>(::write(fds[1], text.data() + at, text.size() - at));
      ::close(fds[1]);
    });
    PieceReader reader(fds[0]);
    CrLfLineSource lines(reader);
    std::string out;
    size_t blocks = 0;
    ChunkWriter writer([&](std::string_view b) {
      out.append(b);
      ++blocks;
      return true;
    });
    EXPECT_EQ(ConvertPieces(lines, *MakeCodingConversion(op), writer), PieceRunResult::kDone);
    feeder.join();
    ::close(fds[0]);
    EXPECT_TRUE(out == ApplyCodingOp(op, JoinLinesWithCrLf(text))) << op;
    EXPECT_GE(blocks, 2u) << op;  // written as it went, not at the end
  }
}

TEST(PieceConvert, AnEncodedWordWaitsForItsEndMarkAcrossPieces) {
  MimeHeaderDecoder decoder;
  std::string out;
  const std::string text = "x=?ISO-2022-JP?B?GyRC";
  EXPECT_EQ(decoder.Decode(text, false, out), 1u);  // the word waits
  EXPECT_EQ(out, "x");
  const std::string more = text.substr(1) + "MCE=?=y=?ISO";
  const size_t used = decoder.Decode(more, false, out);
  EXPECT_EQ(out, "x\x1B$B0!\x1B(J");
  EXPECT_EQ(more.substr(used), "y=?ISO");  // may begin a prefix
}

}  // namespace
}  // namespace haruvi::encoding

namespace haruvi::encoding {
namespace {

// Found by the fuzzer: an "end" line ends the decoding in pieces as in the whole text, and
// a "begin" line counts only at the start of the input.
TEST(PieceConvert, UudecodeHonoursBeginAndEndLinesWhereverThePiecesFall) {
  std::mt19937 rng(5);
  for (const std::string& text : {std::string("J\xad" "JJend\r(J6\xff" "2iiii66\x96"),
                                 std::string("\r\nbegin 644 a\r\n#0V%T\r\nend\r\n#0V%T\r\n"),
                                 std::string("#0V%T\r\nbegin 644 a\r\n#0V%T\r\n")}) {
    for (size_t step : {1u, 2u, 3u, 7u}) {
      auto conversion = MakeCodingConversion(coUuDecode);
      EXPECT_EQ(InPieces(*conversion, text, rng, step), UuDecode(text)) << step;
    }
  }
}

}  // namespace
}  // namespace haruvi::encoding
