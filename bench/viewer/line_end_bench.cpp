// Lone-CR texts beside LF texts: the same 4 MB of Japanese-like Shift_JIS lines, once
// ended by LF and once by CR alone, through what opening a file in the pane costs in the
// cores, the text command "空行を削除" as the window runs it, and haruvi-tool's text
// command. A text of lone CRs should cost about what the LF text costs.
// Figures are CPU seconds, the tool's included. Usage: line_end_bench [MEGABYTES] [RUNS]
// (4 and 5 by default; the best run is shown)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "encoding/line_scan.h"
#include "textcmd/command_table.h"
#include "viewer/file_display.h"
#include "viewer/text_document.h"

extern char** environ;

namespace {

// Lines of 0-140 bytes: mostly kanji and kana, some ASCII words, a few empty lines.
std::vector<std::string> MakeLines(std::size_t bytes) {
  std::vector<std::string> lines;
  std::uint32_t v = 12345;
  auto next = [&v] { return v = v * 1664525u + 1013904223u, v >> 8; };
  std::size_t total = 0;
  while (total < bytes) {
    std::string line;
    if (next() % 25 != 0) {
      const std::size_t length = next() % 140;
      while (line.size() < length) {
        const unsigned pick = next() % 10;
        if (pick < 4) {  // a kanji of level 1
          line.push_back(static_cast<char>(0x88 + next() % 8));
          line.push_back(static_cast<char>(0x9F + next() % 94));
        } else if (pick < 7) {  // hiragana
          line.push_back(static_cast<char>(0x82));
          line.push_back(static_cast<char>(0x9F + next() % 83));
        } else {
          line.push_back(static_cast<char>('a' + next() % 26));
          if (pick == 9) line.push_back(' ');
        }
      }
    }
    total += line.size() + 1;
    lines.push_back(std::move(line));
  }
  return lines;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double child_seconds = 0;  // the CPU time of the last program run, as wait4 counts it

// The CPU time of one run of `job`.
double Seconds(const std::function<void()>& job) {
  child_seconds = 0;
  const double t0 = CpuSeconds();
  job();
  return CpuSeconds() - t0 + child_seconds;
}

std::size_t sink = 0;  // keeps the results alive

// Opening the file in the pane, in the cores: the display pipeline reads it, the pane's
// document indexes it, and painting walks its lines.
void Open(const std::string& path) {
  haruvi::viewer::DisplaySettings settings;
  haruvi::viewer::FileDisplay shown = haruvi::viewer::ShowFile(path, settings);
  haruvi::viewer::TextDocument doc;
  doc.SetBytes(std::move(shown.bytes));
  for (std::size_t i = 0; i < doc.LineCount(); ++i) sink += doc.Line(i).size();
}

// "空行を削除" as the window runs it: the pane's lines, the command, and the pane taking
// the result.
void DeleteEmptyLines(const std::string& text) {
  const std::vector<std::string_view> lines = haruvi::encoding::SplitLines(text);
  const auto* command = haruvi::textcmd::FindTextCommand("del-empty");
  haruvi::textcmd::CommandRun run = haruvi::textcmd::RunTextCommand(*command, {}, {text, lines});
  haruvi::viewer::TextDocument doc;
  doc.SetBytes(run.output.TakePaneText());
  sink += doc.LineCount();
}

void Tool(const std::string& path) {
#ifdef HARUVI_TOOL
  const char* argv[] = {HARUVI_TOOL, "text", "del-empty", path.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  if (posix_spawn(&pid, HARUVI_TOOL, &actions, nullptr, const_cast<char**>(argv), environ) == 0) {
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    child_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  }
  posix_spawn_file_actions_destroy(&actions);
#else
  (void)path;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 4;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::vector<std::string> lines = MakeLines(megabytes * 1000000);
  std::string texts[2];
  std::string paths[2];
  const char* ends[] = {"\n", "\r"};
  char dir[] = "/tmp/line_end_bench.XXXXXX";
  if (!mkdtemp(dir)) return 1;
  for (int k = 0; k < 2; ++k) {
    for (const std::string& l : lines) texts[k].append(l).append(ends[k]);
    paths[k] = std::string(dir) + (k ? "/cr.txt" : "/lf.txt");
    std::ofstream(paths[k], std::ios::binary) << texts[k];
  }
  std::printf("%zu lines, %zu bytes; best of %d runs\n", lines.size(), texts[0].size(), runs);
  std::printf("%10s %10s %8s  %s\n", "LF CPU s", "CR CPU s", "CR/LF", "job");
  const struct {
    const char* name;
    std::function<void(int)> job;
  } jobs[] = {
      {"open: ShowFile + TextDocument + line walk", [&](int k) { Open(paths[k]); }},
      {"空行を削除: split + del-empty + pane", [&](int k) { DeleteEmptyLines(texts[k]); }},
#ifdef HARUVI_TOOL
      {"haruvi-tool text del-empty FILE", [&](int k) { Tool(paths[k]); }},
#endif
  };
  for (const auto& j : jobs) {
    // The least of `runs` runs, LF and CR taking turns (the machine is shared, so the
    // time of a run wanders).
    double lf = 1e9, cr = 1e9;
    j.job(0);  // once untimed, so that neither column pays for first allocations
    j.job(1);
    for (int r = 0; r < runs; ++r) {
      lf = std::min(lf, Seconds([&] { j.job(0); }));
      cr = std::min(cr, Seconds([&] { j.job(1); }));
    }
    std::printf("%10.4f %10.4f %8.2f  %s\n", lf, cr, cr / lf, j.name);
  }
  for (const std::string& p : paths) std::remove(p.c_str());
  rmdir(dir);
  return sink == 0;
}
