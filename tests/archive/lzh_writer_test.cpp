// Our LZH archives read back whole by libarchive (through Reader) and by Debian's lhasa:
// data of every shape the compressor meets, CP932 names, folders, and the checksum.
#include <gtest/gtest.h>

#include <random>

#include "archive/lh5_encoder.h"
#include "archive/listing.h"
#include "archive/lzh_writer.h"
#include "archive/reader.h"
#include "support/run_process.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::S;
using test::TempDir;

std::string Random(std::size_t n, unsigned seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() % static_cast<unsigned>(alphabet));
  return s;
}

std::string Text(std::size_t lines) {
  std::string s;
  for (std::size_t i = 0; i < lines; ++i)
    s += "line " + std::to_string(i) + " " + S("日本語のテキスト") + std::to_string(i * 7 % 13) + "\r\n";
  return s;
}

// The shapes that reach the compressor's corners: nothing, one byte, one symbol only,
// long runs (matches of the maximum length), incompressible bytes (stored as -lh0-),
// a small alphabet, and text long enough for many blocks of 16384 codes.
std::vector<std::pair<std::string, std::string>> Samples() {
  return {{"empty", ""},
          {"one", "x"},
          {"run", std::string(300000, 'a')},
          {"random", Random(200000, 1)},
          {"small_alphabet", Random(150000, 2, 3)},
          {"text", Text(20000)},
          {"two", "ab"},
          {"window_edge", Random(8192, 3) + Random(8192, 3) + Random(100, 4)}};
}

std::string WriteSamples(const TempDir& dir) {
  std::string out;
  LzhWriter w(out);
  std::string error;
  for (const auto& [name, data] : Samples()) EXPECT_TRUE(w.AddFile(name, data, 1700000000, 0644, &error)) << error;
  EXPECT_TRUE(w.AddFile(S("フォルダ/日本語名.txt"), "kanji", 1700000000, 0600, &error));
  EXPECT_TRUE(w.AddDirectory("empty_folder", 1700000000, 0755, &error));
  w.Finish();
  return dir.Write("samples.lzh", out).string();
}

TEST(LzhWriter, EveryShapeOfDataReadsBackThroughLibarchive) {
  TempDir dir;
  const std::string path = WriteSamples(dir);
  Reader r;
  std::string error;
  ASSERT_TRUE(r.Open(path, &error)) << error;
  std::map<std::string, std::string> got;
  std::map<std::string, std::string> methods;
  Entry e;
  while (r.Next(&e, &error) == 1) {
    std::string data;
    ASSERT_TRUE(r.ReadData([&](std::string_view p) { data.append(p); return true; }, &error)) << e.name << error;
    got[e.name] = data;
    methods[e.name] = e.method;
  }
  for (const auto& [name, data] : Samples()) {
    ASSERT_TRUE(got.count(name)) << name;
    EXPECT_EQ(got[name], data) << name;
  }
  // The CP932 name comes back as the name it stands for.
  EXPECT_EQ(got["フォルダ/日本語名.txt"], "kanji");
  EXPECT_TRUE(got.count("empty_folder/"));
  EXPECT_EQ(methods["random"], "-lh0-");
  EXPECT_EQ(methods["text"], "-lh5-");
  EXPECT_EQ(methods["run"], "-lh5-");
}

TEST(LzhWriter, ListingsShowEachMembersCrc16) {
  TempDir dir;
  std::string out;
  LzhWriter w(out);
  std::string error;
  ASSERT_TRUE(w.AddFile("a.txt", "123456789", 0, 0644, &error));
  ASSERT_TRUE(w.AddFile(std::string(250, 'n'), "x", 0, 0644, &error));  // a padded header
  w.Finish();
  const Listing l = ListArchive(dir.Write("c.lzh", out).string());
  ASSERT_EQ(l.entries.size(), 2u);
  EXPECT_TRUE(l.entries[0].has_crc);
  EXPECT_EQ(l.entries[0].crc, 0xBB3Du);
  EXPECT_EQ(l.entries[1].crc, Crc16("x"));
}

TEST(LzhWriter, LhasaTestsAndUnpacksOurArchives) {
  TempDir dir;
  const std::string path = WriteSamples(dir);
  const test::ProcessResult t = test::RunProcess("/usr/bin/lhasa", {"t", path});
  EXPECT_EQ(t.exit_code, 0) << t.out << t.err;
  EXPECT_EQ(t.out.find("CRC error"), std::string::npos) << t.out;
  std::filesystem::create_directories(dir / "x");
  const test::ProcessResult x = test::RunProcess("/usr/bin/lhasa", {"xqw=" + (dir / "x").string(), path});
  ASSERT_EQ(x.exit_code, 0) << x.out << x.err;
  for (const auto& [name, data] : Samples()) EXPECT_EQ(test::ReadFile(dir / "x" / name), data) << name;
}

TEST(LzhWriter, RefusesWhatAHeaderCannotHold) {
  std::string out;
  LzhWriter w(out);
  std::string error;
  EXPECT_FALSE(w.AddFile("", "x", 0, 0644, &error));
  EXPECT_FALSE(w.AddFile(std::string("a\xFF") + "b", "x", 0, 0644, &error));
  EXPECT_FALSE(w.AddFile(std::string(70000, 'n'), "x", 0, 0644, &error));
  EXPECT_TRUE(out.empty());
}

TEST(LzhWriter, HeaderSizeNeverEndsInAZeroByte) {
  // Names of every length around 256 bytes of header: old readers take a header size
  // whose low byte is 0 for the end mark.
  for (std::size_t n = 200; n < 280; ++n) {
    std::string out;
    LzhWriter w(out);
    std::string error;
    ASSERT_TRUE(w.AddFile(std::string(n, 'a'), "data", 0, 0644, &error));
    EXPECT_NE(static_cast<unsigned char>(out[0]), 0) << n;
  }
}

TEST(Crc16, KnownValues) {
  EXPECT_EQ(Crc16(""), 0);
  EXPECT_EQ(Crc16("123456789"), 0xBB3D);  // CRC-16/ARC check value
  EXPECT_EQ(Crc16("6789", Crc16("12345")), 0xBB3D);
}

}  // namespace
}  // namespace haruvi::archive
