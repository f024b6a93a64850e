// ARJ archives made by Debian's arj with every method it writes (0 stored, 1-3, 4 fast)
// read back by our decoder; folders and damaged archives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <random>

#include "archive/archive_file.h"
#include "archive/arj_decode.h"
#include "archive/listing.h"
#include "archive/unpack.h"
#include "archive_fixture.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi::archive {
namespace {

using test::TempDir;

// Files that reach the decoders' corners: long runs, text, incompressible bytes, one
// byte, nothing, and a file larger than the 26 KiB window several times over.
std::vector<std::pair<std::string, std::string>> Files() {
  std::mt19937 rng(5);
  std::string random(40000, '\0');
  for (char& c : random) c = static_cast<char>(rng());
  std::string text;
  for (int i = 0; i < 6000; ++i) text += "line " + std::to_string(i * 17 % 1013) + " of the ARJ sample\r\n";
  return {{"run.bin", std::string(200000, 'z')}, {"text.txt", text}, {"random.bin", random},
          {"one.txt", "1"}, {"empty.txt", ""}, {"sub/inner.txt", text.substr(0, 5000)}};
}

std::string MakeArj(const TempDir& dir, int method) {
  for (const auto& [name, data] : Files()) dir.Write("src/" + name, data);
  const std::string archive = (dir / ("m" + std::to_string(method) + ".arj")).string();
  const test::ProcessResult r = test::RunProcess(
      "/usr/bin/bash", {"-c", "cd '" + (dir / "src").string() + "' && /usr/bin/arj a -r -y -m" +
                                  std::to_string(method) + " '" + archive + "' '*' >/dev/null"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return archive;
}

class ArjMethods : public ::testing::TestWithParam<int> {};

TEST_P(ArjMethods, ArchivesOfArjUnpackByteForByte) {
  TempDir dir;
  const std::string archive = MakeArj(dir, GetParam());
  const Listing l = ListArchive(archive);
  ASSERT_TRUE(l.ok) << l.error;
  EXPECT_EQ(l.family, ArchiveFamily::kArj);
  // Made just now: the stamp reads as today, whatever form the host keeps it in.
  for (const Entry& e : l.entries) EXPECT_LT(std::llabs(e.mtime - static_cast<long long>(time(nullptr))), 86400) << e.name;
  std::filesystem::create_directories(dir / "out");
  const UnpackResult r = Unpack(archive, (dir / "out").string(), {});
  ASSERT_EQ(r.code, kOk) << r.detail;
  for (const auto& [name, data] : Files()) EXPECT_EQ(test::ReadFile(dir / "out" / name), data) << name;
}

INSTANTIATE_TEST_SUITE_P(Methods, ArjMethods, ::testing::Values(0, 1, 2, 3, 4));

TEST(Arj, DamagedArchivesFailWithAMessageAndNeverCrash) {
  TempDir dir;
  for (int method : {1, 4}) {
    const std::string bytes = test::ReadFile(MakeArj(dir, method));
    std::mt19937 rng(static_cast<unsigned>(method));
    for (std::size_t cut = 1; cut < bytes.size(); cut += 997) {
      std::string damaged = bytes.substr(0, cut);
      const std::string path = dir.Write("cut.arj", damaged).string();
      ListArchive(path);
      std::filesystem::create_directories(dir / "o");
      const UnpackResult r = Unpack(path, (dir / "o").string(), {});
      if (r.code != kOk) {
        EXPECT_FALSE(r.detail.empty());
      }
    }
    // Flipped bytes in the data: the CRC or the decoder says so.
    for (int round = 0; round < 30; ++round) {
      std::string damaged = bytes;
      for (int k = 0; k < 8; ++k) damaged[200 + rng() % (damaged.size() - 200)] ^= static_cast<char>(1 + rng() % 255);
      const std::string path = dir.Write("flip.arj", damaged).string();
      std::filesystem::remove_all(dir / "f");
      std::filesystem::create_directories(dir / "f");
      const UnpackResult r = Unpack(path, (dir / "f").string(), {});
      // The entries before the damage stay, each whole; the damaged one is not written.
      for (const auto& [name, data] : Files()) {
        if (std::filesystem::is_regular_file(dir / "f" / name)) {
          EXPECT_EQ(test::ReadFile(dir / "f" / name), data) << name;
        }
      }
      if (r.code != kOk) {
        EXPECT_TRUE(r.damaged || test::TreeOf(dir / "f").empty());
      }
    }
  }
}

TEST(Arj, RandomStreamsDecodeToAtMostTheirSize) {
  std::mt19937 rng(11);
  for (int method = 1; method <= 4; ++method)
    for (int round = 0; round < 40; ++round) {
      std::string junk(1 + rng() % 3000, '\0');
      for (char& c : junk) c = static_cast<char>(rng());
      std::uint64_t got = 0;
      std::string error;
      ArjDecode(method, junk, 50000, [&](std::string_view p) { got += p.size(); return true; }, &error);
      EXPECT_LE(got, 50000u);
    }
}

TEST(Arj, ThroughTheUnarj32jLibraryOfTheComponent) {
  TempDir dir;
  TArchiveFile f;
  f.SetFileName(MakeArj(dir, 1));
  EXPECT_EQ(f.ArchiverType(), TArchiverType::atArj);
  ASSERT_NE(f.OpenArchive(nullptr, 0), nullptr);
  HaruviIndividualInfo info;
  int files = 0;
  for (int r = f.FindFirst("*.*", &info); r == 0; r = f.FindNext(&info)) ++files;
  f.CloseArchive();
  EXPECT_EQ(files, 6);
  f.Options.Set("x", 1);
  EXPECT_EQ(f.Unpack(nullptr, nullptr, {}, (dir / "via").string()), 0) << f.GetOutput();
  EXPECT_EQ(test::ReadFile(dir / "via/sub/inner.txt"), Files()[5].second);
  dir.Write("p.txt", "p");
  EXPECT_THROW(f.Pack(nullptr, nullptr, {"p.txt"}, dir.path().string()), EArchiver);  // ARJ is read only
}

TEST(Crc32, KnownValue) { EXPECT_EQ(Crc32("123456789"), 0xCBF43926u); }

}  // namespace
}  // namespace haruvi::archive
