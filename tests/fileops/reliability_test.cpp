// The engine when the system says no: a full disk (a file-size limit), FIFOs and sockets
// in the tree, link loops, a source that shrinks while it is copied, a move to another
// file system, and folders the user may not read or write. No source byte is lost, the
// report names the file and the system's reason, and no partial target is left.
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

#include "file_op_ui.h"
#include "fileops/shfop.h"
#include "support/temp_dir.h"

namespace haruvi::fileops {
namespace {

using test::ReadFile;
using test::ScriptedUi;
using test::TempDir;
namespace fs = std::filesystem;

TSHFOP Op(TwFuncOption op, std::vector<std::string> from, std::string to) {
  return test::MakeOp(op, std::move(from), std::move(to), {NOCONFIRMMKDIR});
}

bool NoLeftovers(const fs::path& folder) {
  for (auto& e : fs::recursive_directory_iterator(folder))
    if (e.path().filename().string().find(".haruvi-") != std::string::npos) return false;
  return true;
}

// Runs `body` under a file-size limit, as a full disk fails a write part way.
template <typename F>
void WithFileSizeLimit(rlim_t bytes, F body) {
  struct rlimit old {};
  ::getrlimit(RLIMIT_FSIZE, &old);
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = bytes;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  body();
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, old_handler);
}

TEST(Reliability, AFullDiskFailsTheFileNamesItAndLeavesNoPart) {
  TempDir dir;
  const std::string big(100000, 'b');
  dir.Write("src/big.bin", big);
  dir.Write("src/small.txt", "s");
  TSHFOP op = Op(wCOPY, {(dir / "src").string()}, (dir / "dst").string());
  bool ok = true;
  WithFileSizeLimit(4096, [&] { ok = op.Execute(nullptr); });
  EXPECT_FALSE(ok);
  ASSERT_EQ(op.Problems().size(), 1u);
  EXPECT_EQ(op.Problems()[0].path, (dir / "src/big.bin").string());
  EXPECT_NE(op.Problems()[0].reason.find("ファイルが大きすぎます"), std::string::npos) << op.Problems()[0].reason;
  EXPECT_FALSE(fs::exists(dir / "dst/src/big.bin"));
  EXPECT_EQ(ReadFile(dir / "dst/src/small.txt"), "s");
  EXPECT_EQ(ReadFile(dir / "src/big.bin"), big);
  EXPECT_TRUE(NoLeftovers(dir / "dst"));
  // A replace that fails keeps the old target.
  dir.Write("dst/src/big.bin", "old");
  TSHFOP again = Op(wCOPY, {(dir / "src/big.bin").string()}, (dir / "dst/src").string());
  again.Options.Add(NOCONFIRMATION);
  WithFileSizeLimit(4096, [&] { ok = again.Execute(nullptr); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadFile(dir / "dst/src/big.bin"), "old");
}

// A copy killed at any moment leaves in the target only whole files: the copy of a file
// has no name until it is whole.
TEST(Reliability, ACopyKilledAtAnyMomentLeavesNoPartInTheTarget) {
  TempDir dir;
  std::string big(4 << 20, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 % 251);
  dir.Write("src/a.bin", big);
  dir.Write("src/b.bin", big.substr(0, 1 << 20));
  unsigned seed = 3;
  for (int round = 0; round < 30; ++round) {
    const fs::path dst = dir / ("dst" + std::to_string(round));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TSHFOP op = Op(wCOPY, {(dir / "src").string()}, dst.string());
      ::_exit(op.Execute(nullptr) ? 0 : 1);
    }
    ::usleep(500 + ::rand_r(&seed) % 20000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!fs::exists(dst)) continue;
    for (auto& e : fs::recursive_directory_iterator(dst)) {
      const std::string name = e.path().filename().string();
      if (e.is_directory()) continue;
      ASSERT_TRUE(name == "a.bin" || name == "b.bin") << "round " << round << ": " << name;
      ASSERT_EQ(ReadFile(e.path()), name == "a.bin" ? big : big.substr(0, 1 << 20)) << "round " << round;
    }
  }
}

// A file whose size reads 0 but holds bytes (/proc) is copied with them.
TEST(Reliability, AFileWhoseSizeReadsZeroIsCopiedWithItsBytes) {
  TempDir dir;
  TSHFOP op = Op(wCOPY, {"/proc/self/mounts"}, (dir / "dst").string());
  ASSERT_TRUE(op.Execute(nullptr));
  EXPECT_NE(ReadFile(dir / "dst/mounts").find(" / "), std::string::npos);
}

TEST(Reliability, FifosAndSocketsAreReportedAndNeverOpened) {
  TempDir dir;
  dir.Write("src/plain.txt", "p");
  ASSERT_EQ(::mkfifo((dir / "src/pipe").c_str(), 0600), 0);
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr {};
  addr.sun_family = AF_UNIX;
  const std::string sock = (dir / "src/sock").string();
  ASSERT_LT(sock.size(), sizeof addr.sun_path);
  std::memcpy(addr.sun_path, sock.c_str(), sock.size() + 1);
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  TSHFOP op = Op(wCOPY, {(dir / "src").string()}, (dir / "dst").string());
  EXPECT_FALSE(op.Execute(nullptr));  // returns: nothing blocked on the FIFO
  ::close(s);
  EXPECT_EQ(op.Problems().size(), 2u);
  EXPECT_EQ(ReadFile(dir / "dst/src/plain.txt"), "p");
  EXPECT_FALSE(fs::exists(dir / "dst/src/pipe"));
}

TEST(Reliability, LinkLoopsAreCopiedAsLinks) {
  TempDir dir;
  fs::create_directories(dir / "src");
  fs::create_symlink("b", dir / "src/a");
  fs::create_symlink("a", dir / "src/b");
  fs::create_directory_symlink(".", dir / "src/self");
  TSHFOP op = Op(wCOPY, {(dir / "src").string()}, (dir / "dst").string());
  ASSERT_TRUE(op.Execute(nullptr));
  EXPECT_EQ(fs::read_symlink(dir / "dst/src/a"), "b");
  EXPECT_EQ(fs::read_symlink(dir / "dst/src/self"), ".");
  EXPECT_EQ(op.FileList().size(), 3u);
}

TEST(Reliability, ASourceThatShrinksMidCopyIsAnErrorWithNoPart) {
  TempDir dir;
  const std::string data(20u << 20, 'd');
  auto f = dir.Write("src/shrinks.bin", data);
  ScriptedUi ui;
  bool cut = false;
  ui.on_progress = [&](const ProgressInfo& p) {
    if (!cut && p.bytes_done > 0 && p.bytes_done < data.size()) {
      cut = true;
      fs::resize_file(f, 1u << 20);  // someone else truncates it
    }
    return true;
  };
  TSHFOP op = Op(wMOVE, {f.string()}, "/dev/shm");
  struct stat a {}, b {};
  const bool across = ::stat("/dev/shm", &b) == 0 && ::access("/dev/shm", W_OK) == 0 &&
                      ::stat(dir.path().c_str(), &a) == 0 && a.st_dev != b.st_dev;
  if (!across) op.ToFolder = (dir / "dst").string();
  // A move to another file system copies first; the copy fails, so the source stays.
  const bool ok = op.Execute(&ui);
  if (!across || !cut) GTEST_SKIP() << "no second file system, or the file system cloned the file at once";
  EXPECT_FALSE(ok);
  EXPECT_TRUE(fs::exists(f));
  EXPECT_FALSE(fs::exists("/dev/shm/shrinks.bin"));
  ASSERT_FALSE(op.Problems().empty());
  EXPECT_EQ(op.Problems()[0].path, f.string());
}

TEST(Reliability, MoveToAnotherFileSystemCopiesVerifiesThenDeletes) {
  TempDir dir;
  struct stat a {}, b {};
  if (::stat("/dev/shm", &b) != 0 || ::access("/dev/shm", W_OK) != 0 || ::stat(dir.path().c_str(), &a) != 0 ||
      a.st_dev == b.st_dev)
    GTEST_SKIP() << "no second file system";
  char tmpl[] = "/dev/shm/haruvi-move-XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl), nullptr);
  const fs::path other = tmpl;
  dir.Write("tree/a.txt", "a");
  dir.Write("tree/sub/b.txt", "b");
  fs::create_symlink("a.txt", dir / "tree/link");
  TSHFOP op = Op(wMOVE, {(dir / "tree").string()}, other.string());
  const bool ok = op.Execute(nullptr);
  EXPECT_TRUE(ok);
  EXPECT_FALSE(fs::exists(dir / "tree"));
  EXPECT_EQ(ReadFile(other / "tree/sub/b.txt"), "b");
  EXPECT_EQ(fs::read_symlink(other / "tree/link"), "a.txt");
  // A full disk there: the copy fails, the source is whole.
  dir.Write("tree2/big.bin", std::string(100000, 'x'));
  TSHFOP full = Op(wMOVE, {(dir / "tree2").string()}, other.string());
  bool moved = true;
  WithFileSizeLimit(4096, [&] { moved = full.Execute(nullptr); });
  EXPECT_FALSE(moved);
  EXPECT_EQ(fs::file_size(dir / "tree2/big.bin"), 100000u);
  std::error_code ec;
  fs::remove_all(other, ec);
}

// The checks of a user without rights: 0 when all held, else the number of the one that
// failed. Root runs them in a child that has given its rights up.
int UnprivilegedChecks(const TempDir& dir) {
  TSHFOP op = Op(wCOPY, {(dir / "src").string()}, (dir / "dst").string());
  if (op.Execute(nullptr)) return 1;
  if (op.Problems().size() != 1 || op.Problems()[0].path != (dir / "src/secret.txt").string()) return 2;
  if (op.Problems()[0].reason.find("アクセスが拒否されました") == std::string::npos) return 3;  // the system's reason
  if (ReadFile(dir / "dst/src/z.txt") != "z" || fs::exists(dir / "dst/src/secret.txt")) return 4;
  TSHFOP ro = Op(wMOVE, {(dir / "src/a.txt").string()}, (dir / "ro").string());
  if (ro.Execute(nullptr) || ReadFile(dir / "src/a.txt") != "a" || ro.Problems().empty()) return 5;
  TSHFOP copy_ro = Op(wCOPY, {(dir / "src/z.txt").string()}, (dir / "ro").string());
  if (copy_ro.Execute(nullptr) || fs::exists(dir / "ro/z.txt")) return 6;
  return 0;
}

TEST(Reliability, ReadOnlyTargetAndUnreadableFilesMidway) {
  TempDir dir;
  dir.Write("src/a.txt", "a");
  dir.Write("src/secret.txt", "s");
  dir.Write("src/z.txt", "z");
  fs::create_directories(dir / "dst");
  fs::create_directories(dir / "ro");
  ::chmod((dir / "src/secret.txt").c_str(), 0);
  ::chmod((dir / "ro").c_str(), 0555);
  if (::geteuid() != 0) {
    EXPECT_EQ(UnprivilegedChecks(dir), 0);
    return;
  }
  // Root reads and writes everything: the checks run as "nobody" in a child.
  for (const char* p : {"", "src", "dst"}) ::chmod((dir / p).c_str(), 0777);
  for (const char* p : {"src/a.txt", "src/z.txt"}) ::chmod((dir / p).c_str(), 0666);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
    ::_exit(UnprivilegedChecks(dir));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 100) GTEST_SKIP() << "cannot give up root here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the check of that number failed";
}

}  // namespace
}  // namespace haruvi::fileops
