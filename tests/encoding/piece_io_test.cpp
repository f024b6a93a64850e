// The piece reader, the chunked writer, whole inputs read from a pipe, and the Shift_JIS
// boundary a piece may end on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "encoding/piece_io.h"
#include "support/temp_dir.h"

namespace haruvi::encoding {
namespace {

// A pipe with `text` written into it from another thread; read from fd().
class FedPipe {
 public:
  explicit FedPipe(std::string text) : text_(std::move(text)) {
    ::signal(SIGPIPE, SIG_IGN);  // a reader that stops early must not end the tests
    EXPECT_EQ(::pipe(fds_), 0);
    feeder_ = std::thread([this] {
      for (size_t at = 0; at < text_.size();) {
        const ssize_t n = ::write(fds_[1], text_.data() + at, std::min<size_t>(text_.size() - at, 1000));
        if (n <= 0) break;
        at += static_cast<size_t>(n);
      }
      ::close(fds_[1]);
    });
  }
  ~FedPipe() {
    ::close(fds_[0]);  // a writer still blocked gets EPIPE and ends
    feeder_.join();
  }
  int fd() const { return fds_[0]; }

 private:
  std::string text_;
  int fds_[2] = {-1, -1};
  std::thread feeder_;
};

std::string Pattern(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + i * 7 % 26);
  return s;
}

TEST(PieceIo, UnconsumedBytesLeadTheNextWindow) {
  const std::string text = Pattern(3 * kPieceBytes + 100);
  FedPipe pipe(text);
  PieceReader reader(pipe.fd());
  std::string seen;
  while (true) {
    ASSERT_TRUE(reader.Fill(kPieceBytes));
    const std::string_view held = reader.Held();
    ASSERT_TRUE(reader.AtEnd() || held.size() >= kPieceBytes);
    ASSERT_EQ(held.substr(0, 0), std::string_view());
    const size_t take = reader.AtEnd() ? held.size() : held.size() - 3;  // leave three each time
    seen.append(held.substr(0, take));
    reader.Consume(take);
    if (reader.AtEnd() && reader.Held().empty()) break;
  }
  EXPECT_TRUE(seen == text);
  EXPECT_EQ(reader.BytesRead(), text.size());
}

TEST(PieceIo, AWindowGrowsWhenAsked) {
  FedPipe pipe(Pattern(5 * kPieceBytes));
  PieceReader reader(pipe.fd());
  ASSERT_TRUE(reader.Fill(4 * kPieceBytes + 1));
  EXPECT_GE(reader.Held().size(), 4 * kPieceBytes + 1);
  EXPECT_EQ(reader.Held().substr(0, 10), Pattern(10));
}

TEST(PieceIo, ReadsStopAtTheLimit) {
  FedPipe pipe(Pattern(1000));
  PieceReader reader(pipe.fd(), 300);
  ASSERT_TRUE(reader.Fill(kPieceBytes));
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.Held(), Pattern(300));
}

TEST(PieceIo, ReadErrorsAreReported) {
  PieceReader reader(-1);
  EXPECT_FALSE(reader.Fill(10));
  WholeInput whole;
  EXPECT_FALSE(whole.ReadFrom(-1));
}

TEST(PieceIo, ChunkWriterGathersSmallPiecesAndPassesBigOnes) {
  std::vector<size_t> sizes;
  ChunkWriter writer(
      [&](std::string_view b) {
        sizes.push_back(b.size());
        return true;
      },
      100);
  for (int k = 0; k < 30; ++k) ASSERT_TRUE(writer.Append("0123456789"));
  ASSERT_TRUE(writer.Append(std::string(500, 'x')));
  ASSERT_TRUE(writer.Flush());
  EXPECT_EQ(sizes, (std::vector<size_t>{100, 100, 100, 500}));
  ChunkWriter failing([](std::string_view) { return false; }, 4);
  EXPECT_FALSE(failing.Append("12345"));
}

TEST(PieceIo, WholeInputFromAPipeHoldsEveryByte) {
  const std::string text = Pattern(3 * kPieceBytes + 17);
  FedPipe pipe(text);
  WholeInput whole;
  ASSERT_TRUE(whole.ReadFrom(pipe.fd()));
  EXPECT_TRUE(whole.Bytes() == text);
  WholeInput moved = std::move(whole);
  EXPECT_TRUE(moved.Bytes() == text);
  EXPECT_TRUE(whole.Bytes().empty());
}

TEST(PieceIo, WholeInputMapsARegularFileButNotAPipe) {
  test::TempDir dir;
  const std::string text = Pattern(kPieceBytes + 5);
  for (const std::string& content : {text, std::string()}) {
    const int fd = ::open(dir.Write("in.txt", content).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    WholeInput whole;
    ASSERT_TRUE(whole.Map(fd, content.size()));
    ::close(fd);  // the mapping outlives the descriptor
    EXPECT_TRUE(whole.Bytes() == content) << content.size();
    WholeInput moved = std::move(whole);
    EXPECT_TRUE(moved.Bytes() == content);
  }
  FedPipe pipe("abc");
  WholeInput whole;
  EXPECT_FALSE(whole.Map(pipe.fd(), 3));
}

TEST(PieceIo, ShiftJisBoundaryNeverSplitsAPair) {
  EXPECT_EQ(SjisBoundaryBefore(""), 0u);
  EXPECT_EQ(SjisBoundaryBefore("ab"), 2u);
  EXPECT_EQ(SjisBoundaryBefore("a\x88"), 1u);          // a lead byte waits for its trail
  EXPECT_EQ(SjisBoundaryBefore("a\x88\x9F"), 3u);      // 0x9F is a lead byte, but paired here
  EXPECT_EQ(SjisBoundaryBefore("a\x88\x88\x88"), 3u);  // pairs counted from the last sure end
  EXPECT_EQ(SjisBoundaryBefore("\x88\x41\x88"), 2u);   // 'A' as a trail byte ends a character
  EXPECT_EQ(SjisBoundaryBefore("\x88\x88\x88\x88"), 4u);
}

}  // namespace
}  // namespace haruvi::encoding
