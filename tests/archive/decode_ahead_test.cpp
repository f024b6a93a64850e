// The gzip inflated on a second thread reads exactly like the one-thread path: the same
// listing text (packed shares included), the same unpacked tree, the same failure and
// message, on whole, multi-member, cut, damaged and oddly headed streams; and the thread
// ends whenever the reader does.
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <random>

#include "archive/decode_ahead.h"
#include "archive/listing.h"
#include "archive/reader.h"
#include "archive/unpack.h"
#include "archive_fixture.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::RawEntry;
using test::TempDir;

void PutLe32(std::string* s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s->push_back(static_cast<char>(v >> (8 * i)));
}

// One gzip member; `flags` asks for the optional header fields.
std::string Member(std::string_view data, int level = 6, unsigned flags = 0) {
  std::string m = "\x1F\x8B\x08";
  m.push_back(static_cast<char>(flags));
  m += std::string("\0\0\0\0\0\xFF", 6);
  if (flags & 4) m += std::string("\x06\0extras", 8);
  if (flags & 8) m += std::string("name.tar\0", 9);
  if (flags & 16) m += std::string("a comment\0", 10);
  if (flags & 2) m += "\x12\x34";
  m += test::Deflated(data, level, -15);
  PutLe32(&m, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                                               static_cast<uInt>(data.size()))));
  PutLe32(&m, static_cast<std::uint32_t>(data.size()));
  return m;
}

// A tar of some 3 MB: text that packs well, random bytes that do not, empty files,
// folders and a CP932 name, so its stream spans several blocks of the ring.
std::string SampleTar(const TempDir& dir) {
  std::mt19937 rng(11);
  std::vector<RawEntry> entries;
  for (int i = 0; i < 40; ++i) {
    std::string data;
    const std::size_t size = (rng() % 5) * 40000 + rng() % 3000;
    if (i % 4 == 0) {
      data.resize(size);
      for (char& c : data) c = static_cast<char>(rng());
    } else {
      while (data.size() < size) data += "line " + std::to_string(rng() % 1000) + " of the text\n";
    }
    if (i % 7 == 3) data.clear();
    entries.emplace_back("d" + std::to_string(i % 5) + "/file" + std::to_string(i) + ".txt", data);
  }
  entries.emplace_back("d1/sub", "", AE_IFDIR);
  entries.emplace_back("\x93\xFA\x96\x7B\x8C\xEA.txt", "name in CP932");
  const std::string path = (dir / "sample.tar").string();
  test::WriteRawArchive(path, entries, "ustar");
  return test::ReadFile(path);
}

// Everything a reading shows: the listing's text and outcome, and an unpacking's.
struct Outcome {
  bool ok = false;
  std::string error;
  ArchiveFamily family = ArchiveFamily::kNone;
  std::string text;
  int code = 0;
  std::string detail;
  bool damaged = false;
  std::uint64_t files = 0, bytes = 0;
  std::map<std::string, std::string> tree;
};

Outcome Read(const TempDir& dir, const std::string& path, bool ahead) {
  Outcome o;
  ReadControl control;
  control.decode_ahead = ahead;
  const Listing l = ListArchive(path, control);
  o.ok = l.ok;
  o.error = l.error;
  o.family = l.family;
  o.text = FormatListing("x", l.entries);
  const std::filesystem::path target = dir / (ahead ? "ahead" : "plain");
  std::filesystem::remove_all(target);
  std::filesystem::create_directories(target);
  UnpackOptions options;
  options.decode_ahead = ahead;
  const UnpackResult r = Unpack(path, target.string(), options);
  o.code = r.code;
  o.detail = r.detail;
  o.damaged = r.damaged;
  o.files = r.files;
  o.bytes = r.bytes;
  for (const std::string& p : test::TreeOf(target))
    o.tree[p] = std::filesystem::is_regular_file(target / p) ? test::ReadFile(target / p) : "<folder>";
  return o;
}

void ExpectAlike(const TempDir& dir, const std::string& name, const std::string& bytes) {
  const std::string path = dir.Write(name, bytes).string();
  const Outcome plain = Read(dir, path, false);
  const Outcome ahead = Read(dir, path, true);
  EXPECT_EQ(ahead.ok, plain.ok) << name;
  EXPECT_EQ(ahead.error, plain.error) << name;
  EXPECT_EQ(ahead.family, plain.family) << name;
  EXPECT_EQ(ahead.text, plain.text) << name;
  EXPECT_EQ(ahead.code, plain.code) << name;
  EXPECT_EQ(ahead.detail, plain.detail) << name;
  EXPECT_EQ(ahead.files, plain.files) << name;
  EXPECT_EQ(ahead.bytes, plain.bytes) << name;
  EXPECT_TRUE(ahead.tree == plain.tree) << name;
  // A failure always says why; only a damage leaves the files read whole before it.
  if (!ahead.ok) {
    EXPECT_FALSE(ahead.error.empty()) << name;
  }
  if (ahead.code != kOk) {
    EXPECT_FALSE(ahead.detail.empty()) << name;
    EXPECT_TRUE(ahead.damaged || ahead.tree.empty()) << name;
  }
}

TEST(DecodeAhead, WholeAndMultiMemberStreamsReadAsOnOneThread) {
  TempDir dir;
  const std::string tar = SampleTar(dir);
  ASSERT_GT(tar.size(), 2u << 20);
  const std::string whole = Member(tar);
  ExpectAlike(dir, "whole.tgz", whole);
  ExpectAlike(dir, "fast.tgz", Member(tar, 1));
  ExpectAlike(dir, "stored.tgz", Member(tar, 0));
  ExpectAlike(dir, "fields.tgz", Member(tar, 6, 2 | 4 | 8 | 16));
  // Members cut anywhere, an empty one among them.
  std::string multi;
  std::size_t at = 0;
  for (const std::size_t cut : {1000u, 70000u, 70001u, 1500000u, 2600000u}) {
    multi += Member(std::string_view(tar).substr(at, cut - at), 6, 8);
    at = cut;
  }
  multi += Member("") + Member(std::string_view(tar).substr(at));
  ExpectAlike(dir, "multi.tgz", multi);
  // After the last member: bytes that are no member are passed over.
  ExpectAlike(dir, "garbage.tgz", whole + "not a member at all");
  ExpectAlike(dir, "wrongmethod.tgz", whole + std::string("\x1F\x8B\x09\0\0\0\0\0\0\xFF", 10));
  ExpectAlike(dir, "halfheader.tgz", whole + "\x1F\x8B");
  Reader r;
  std::string error;
  ASSERT_TRUE(r.Open(dir.Write("t.tgz", whole).string(), &error)) << error;
  EXPECT_EQ(r.Family(), ArchiveFamily::kTgz);
  EXPECT_TRUE(r.WholeCompressed());
}

TEST(DecodeAhead, CutAndDamagedStreamsFailAsOnOneThread) {
  TempDir dir;
  const std::string tar = SampleTar(dir);
  const std::string whole = Member(tar);
  std::string multi = Member(tar.substr(0, 900000)) + Member(tar.substr(900000));
  for (int k = 1; k < 12; ++k) ExpectAlike(dir, "cut" + std::to_string(k), whole.substr(0, whole.size() * k / 12));
  for (int k = 1; k < 4; ++k) ExpectAlike(dir, "mcut" + std::to_string(k), multi.substr(0, multi.size() * k / 4));
  ExpectAlike(dir, "cuttrailer", whole.substr(0, whole.size() - 3));
  ExpectAlike(dir, "cutheader", whole.substr(0, 6));
  // The trailer's CRC and length are not checked by either path.
  std::string bad = whole;
  bad[bad.size() - 6] ^= 0x5A;
  ExpectAlike(dir, "badcrc", bad);
  bad = whole;
  bad[bad.size() - 2] ^= 0x5A;
  ExpectAlike(dir, "badlength", bad);
  // Damage inside the deflated data: some gives an error, some wrong bytes.
  for (int k = 1; k < 8; ++k) {
    bad = whole;
    bad[bad.size() * k / 8] ^= 0x55;
    ExpectAlike(dir, "flip" + std::to_string(k), bad);
  }
  // Deflated data that fails at once, random bytes behind a good header, and a member
  // of text that is no archive.
  ExpectAlike(dir, "junk", Member("").substr(0, 10) + std::string(5000, '\xFF'));
  std::mt19937 rng(3);
  for (int round = 0; round < 12; ++round) {
    std::string junk = Member("").substr(0, 10);
    junk.resize(10 + rng() % 200000);
    for (std::size_t i = 10; i < junk.size(); ++i) junk[i] = static_cast<char>(rng());
    ExpectAlike(dir, "random" + std::to_string(round), junk);
  }
  ExpectAlike(dir, "text", Member(std::string(300000, 'a')));
}

TEST(DecodeAhead, TheThreadEndsWhenTheReaderStopsEarly) {
  TempDir dir;
  // 24 MB of output from a small file: the ring fills long before the end.
  std::vector<RawEntry> entries;
  for (int i = 0; i < 3; ++i) entries.emplace_back("zeros" + std::to_string(i), std::string(8u << 20, '\0'));
  const std::string tar_path = (dir / "zeros.tar").string();
  test::WriteRawArchive(tar_path, entries, "ustar");
  const std::string path = dir.Write("zeros.tgz", Member(test::ReadFile(tar_path))).string();
  for (int stop_after = 0; stop_after < 3; ++stop_after) {
    Reader r;
    std::string error;
    ASSERT_TRUE(r.Open(path, &error)) << error;
    Entry e;
    for (int i = 0; i < stop_after; ++i) ASSERT_EQ(r.Next(&e, &error), 1) << error;
  }  // each Reader joins its thread on the way out, whether the ring is full or not
  DecodeAhead never_read;
  std::string error;
  ASSERT_TRUE(never_read.Start(path, &error));
  never_read.Stop();
  never_read.Stop();
  EXPECT_FALSE(DecodeAhead().Start((dir / "missing.tgz").string(), &error));
  EXPECT_FALSE(error.empty());
}

TEST(DecodeAhead, HeadersAreReadAsTheFilterReadsThem) {
  const auto length = [](const std::string& s) {
    return GzipHeaderLength(reinterpret_cast<const unsigned char*>(s.data()), s.size());
  };
  EXPECT_EQ(length(Member("x")), 10u);
  EXPECT_EQ(length(Member("x", 6, 2 | 4 | 8 | 16)), 10u + 8 + 9 + 10 + 2);
  EXPECT_EQ(length(std::string("\x1F\x8B\x08\x20\0\0\0\0\0\xFF", 10)), 0u);  // a reserved flag
  EXPECT_EQ(length(std::string("\x1F\x8B\x08\x08\0\0\0\0\0\xFFname", 14)), 0u);  // name never ends
  EXPECT_EQ(length(std::string("\x1F\x8B\x08\0\0\0\0", 7)), 0u);
}

}  // namespace
}  // namespace haruvi::archive
