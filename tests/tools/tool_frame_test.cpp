// haruvi-tool's frame: help, version, argument errors and the byte path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "haruvi_version.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi::test {
namespace {

TEST(ToolFrame, HelpListsCommandsAndExitsZero) {
  auto r = RunTool({"--help"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("usage: haruvi-tool COMMAND"), std::string::npos);
  EXPECT_NE(r.out.find("cat [FILE]"), std::string::npos);
}

TEST(ToolFrame, TheModuleCommandsRunAndAreListedWithTheOthers) {
  auto help = RunTool({"--help"});
  for (const char* name : {"\n  text ", "\n  archive ", "\n  grep ", "\n  conv "})
    EXPECT_NE(help.out.find(name), std::string::npos) << name;
  auto list = RunTool({"text", "list"});
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_NE(list.out.find("sort-asc"), std::string::npos);
}

TEST(ToolFrame, WithoutItsModuleTheProgramSaysWhichCommandsAreMissing) {
  TempDir dir;
  const auto alone = dir.path() / "haruvi-tool";
  std::filesystem::copy_file(ToolPath(), alone);
  const auto text = RunProcess(alone.string(), {"text", "list"});
  EXPECT_EQ(text.exit_code, 2);
  EXPECT_NE(text.err.find("some commands are missing"), std::string::npos) << text.err;
  EXPECT_NE(text.err.find("unknown command 'text'"), std::string::npos) << text.err;
  // Its own commands go on working.
  const auto cat = RunProcess(alone.string(), {"cat"}, "bytes\n");
  EXPECT_EQ(cat.exit_code, 0);
  EXPECT_EQ(cat.out, "bytes\n");
  // Each module stands alone: with the archive module beside it, the archive commands
  // run and the text commands are still missing.
  std::filesystem::copy_file(std::filesystem::path(ToolPath()).parent_path() / "haruvi-tool-archive.so",
                             dir.path() / "haruvi-tool-archive.so");
  const auto archive = RunProcess(alone.string(), {"archive"});
  EXPECT_NE(archive.err.find("usage: haruvi-tool archive"), std::string::npos) << archive.err;
  EXPECT_NE(RunProcess(alone.string(), {"text", "list"}).err.find("unknown command 'text'"), std::string::npos);
}

TEST(ToolFrame, VersionComesFromTheBuild) {
  auto r = RunTool({"--version"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, std::string("haruvi-tool ") + HARUVI_VERSION_STRING + "\n");
}

TEST(ToolFrame, UsageErrorsExitTwoWithAMessageOnStandardError) {
  auto none = RunTool({});
  EXPECT_EQ(none.exit_code, 2);
  EXPECT_NE(none.err.find("usage:"), std::string::npos);
  auto unknown = RunTool({"frobnicate"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
  EXPECT_TRUE(unknown.out.empty());
  auto extra = RunTool({"cat", "a", "b"});
  EXPECT_EQ(extra.exit_code, 2);
  EXPECT_NE(extra.err.find("usage: haruvi-tool cat [FILE]"), std::string::npos);
}

TEST(ToolFrame, BytesPassThroughUnchangedFromFileAndStandardInput) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += "\r\n\x82\xA0\x1B$B";
  TempDir dir;
  auto p = dir.Write("in.bin", bytes);
  EXPECT_EQ(RunTool({"cat", p.string()}).out, bytes);
  EXPECT_EQ(RunTool({"cat"}, bytes).out, bytes);
  EXPECT_EQ(RunTool({"cat", "-"}, bytes).out, bytes);
}

TEST(ToolFrame, MissingFileIsAClearErrorNotAUsageError) {
  auto r = RunTool({"cat", "/no/such/file"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("/no/such/file: No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace haruvi::test

#include <sys/stat.h>

namespace haruvi::test {
namespace {

// Every command that reads a named input refuses what is not a regular file, at once:
// a FIFO nobody writes to (which would block for ever) and endless devices.
TEST(ToolFrame, FifosAndDevicesAreRefusedAtOnceByEveryCommand) {
  TempDir dir;
  const std::string fifo = (dir / "pipe").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::vector<std::string>> commands = {
      {"cat"}, {"detect"}, {"conv", "sjis2euc"}, {"conv", "--raw", "base64"}, {"width", "han2zen"},
      {"text", "sort-asc"}, {"gsub", "a", "b"}, {"grep", "a"}, {"info"}};
  for (const std::string& input : {fifo, std::string("/dev/zero")}) {
    for (std::vector<std::string> args : commands) {
      args.push_back(input);
      std::vector<std::string> timed = {"20", HARUVI_TOOL_PATH};
      timed.insert(timed.end(), args.begin(), args.end());
      const ProcessResult r = RunProcess("/usr/bin/timeout", timed);
      EXPECT_NE(r.exit_code, 124) << args[0] << " " << input << ": still waiting after 20 s";
      if (args[0] == "info") {  // the information line, as the window shows it, no contents read
        EXPECT_EQ(r.exit_code, 0) << input;
        EXPECT_NE(r.out.find("    "), std::string::npos) << input;
        continue;
      }
      // grep and gsub keep 1 for "nothing found": their errors are 2.
      const bool matcher = args[0] == "grep" || args[0] == "gsub";
      EXPECT_EQ(r.exit_code, matcher ? 2 : 1) << args[0] << " " << input;
      EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << args[0] << " " << input << ": " << r.err;
    }
  }
}

// cat goes through in the memory of a block, from a named file or from standard input:
// 256 MiB (a sparse file, so it costs no disk) takes well under a tenth of that.
TEST(ToolFrame, CatStreamsAnyInput) {
  TempDir dir;
  const std::string big = (dir / "big").string();
  {
    std::ofstream(big, std::ios::binary).put('x');
    std::filesystem::resize_file(big, std::uint64_t{256} << 20);
  }
  const std::string out = (dir / "out").string();
  const auto named = RunToolOnFiles({"cat", big}, "", out);
  EXPECT_EQ(named.exit_code, 0);
  EXPECT_EQ(std::filesystem::file_size(out), std::uint64_t{256} << 20);
  const auto piped = RunToolOnFiles({"cat"}, big, "/dev/null");
  EXPECT_EQ(piped.exit_code, 0);
  const auto small = RunToolOnFiles({"cat", dir.Write("empty", "").string()}, "", "/dev/null");
  for (long peak : {named.peak_kb, piped.peak_kb}) EXPECT_LT(peak - small.peak_kb, 24 * 1024);
  // The bytes come through unchanged, whatever they are.
  std::string bytes;
  for (int i = 0; i < (3 << 20); ++i) bytes.push_back(static_cast<char>(i * 7 % 251));
  const auto file = dir.Write("bytes", bytes);
  EXPECT_TRUE(RunTool({"cat", file.string()}).out == bytes);
  EXPECT_TRUE(RunTool({"cat"}, bytes).out == bytes);
}

// "--" before the operands is taken by every command, so a name that begins with "-" can
// always be given: each command with it does what it does without it, and a file named
// "-x" is read after it.
TEST(ToolFrame, EveryCommandTakesDoubleDashBeforeItsOperands) {
  TempDir dir;
  const std::string file = dir.Write("-x", "a b\r\n").string();
  const std::string zip = (dir / "a.zip").string();
  ASSERT_EQ(RunTool({"archive", "create", "zip", zip, file}).exit_code, 0);
  struct Row {
    std::vector<std::string> before, after;  // the words before "--" and after it
  } rows[] = {
      {{"cat"}, {file}},
      {{"detect"}, {file}},
      {{"conv", "--raw"}, {"base64", file}},
      {{"width"}, {"han2zen", file}},
      {{"grep", "-n"}, {"a", file}},
      {{"gsub"}, {"a", "b", file}},
      {{"dirstat"}, {dir.path().string()}},
      {{"info"}, {file}},
      {{"hexdump"}, {file}},
      {{"hexdump", "--below"}, {file}},
      {{"text", "sort-asc"}, {file}},
      {{"text"}, {"del-line", "1", file}},
      {{"archive", "list", "-v"}, {zip}},
  };
  for (const Row& r : rows) {
    std::vector<std::string> plain = r.before, dashed = r.before;
    plain.insert(plain.end(), r.after.begin(), r.after.end());
    dashed.push_back("--");
    dashed.insert(dashed.end(), r.after.begin(), r.after.end());
    const ProcessResult want = RunTool(plain), got = RunTool(dashed);
    EXPECT_EQ(want.exit_code, 0) << plain[0] << ": " << want.err;
    EXPECT_EQ(got.exit_code, want.exit_code) << plain[0] << ": " << got.err;
    EXPECT_EQ(got.out, want.out) << plain[0];
  }
  // Copying: the options end at "--", the file named "-x" comes after it.
  const std::string into = (dir / "into").string();
  std::filesystem::create_directory(into);
  const ProcessResult copy = RunProcess(HARUVI_TOOL_PATH, {"copy", "--skip", "--", "-x", into}, "", {}, dir.path().string());
  EXPECT_EQ(copy.exit_code, 0) << copy.err;
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(into) / "-x"));
  EXPECT_EQ(RunProcess(HARUVI_TOOL_PATH, {"cat", "--", "-x"}, "", {}, dir.path().string()).out, "a b\r\n");
}

// Running as another user than root (who reads everything), a file in a folder that may
// not be read is said to be so, not missing, by info; dirstat names the folder its totals
// leave out.
TEST(ToolFrame, UnreadableFilesAndFoldersAreNamedAsSuch) {
  TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);  // for the user below
  const std::string closed = (dir / "closed").string();
  const std::string secret = dir.Write("closed/secret.txt", "text").string();
  dir.Write("open.txt", "12345");
  ::chmod(closed.c_str(), 0);
  // As nobody when run as root; chmod is enough for anyone else.
  const auto as_user = [&](const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-u", "nobody", HARUVI_TOOL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return ::geteuid() == 0 ? RunProcess("/usr/sbin/runuser", all) : RunTool(args);
  };
  if (::geteuid() == 0 && !std::filesystem::exists("/usr/sbin/runuser")) GTEST_SKIP() << "no runuser";
  const ProcessResult info = as_user({"info", secret});
  EXPECT_EQ(info.exit_code, 1);
  EXPECT_NE(info.err.find("secret.txt: permission denied"), std::string::npos) << info.err;
  EXPECT_NE(as_user({"info", (dir / "gone").string()}).err.find("gone: no such file"), std::string::npos);
  const ProcessResult stat = as_user({"dirstat", dir.path().string()});
  EXPECT_EQ(stat.exit_code, 1);
  EXPECT_NE(stat.err.find(closed + ": cannot be read, not counted"), std::string::npos) << stat.err;
  EXPECT_NE(stat.out.find("1\t5\t"), std::string::npos) << stat.out;  // the file that could be read
  ::chmod(closed.c_str(), 0700);
}

// A name with control characters reaches a terminal escaped (a name cannot recolour it or
// move its cursor), on the output and in a message; to a pipe it goes as it is.
TEST(ToolFrame, ControlCharactersInNamesAreEscapedOnATerminal) {
  if (!std::filesystem::exists("/usr/bin/script")) GTEST_SKIP() << "no script(1) for a terminal";
  TempDir dir;
  const std::string name = "a\x1B[31mred\x07";
  const std::string path = dir.Write(name, "x").string();
  const std::string gone = (dir / "b\x1B]0;title\x07").string();
  // script(1) runs the command on a terminal of its own and copies what it shows.
  const ProcessResult shown = RunProcess(
      "/usr/bin/script", {"-qec", std::string(HARUVI_TOOL_PATH) + " detect '" + path + "' '" + gone + "'", "/dev/null"});
  EXPECT_NE(shown.out.find("a\\x1B[31mred\\x07"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("b\\x1B]0;title\\x07"), std::string::npos) << shown.out;
  EXPECT_EQ(shown.out.find('\x1B'), std::string::npos);
  const ProcessResult piped = RunTool({"detect", path});
  EXPECT_NE(piped.out.find(name), std::string::npos);
}

}  // namespace
}  // namespace haruvi::test
