// URL proposal and scheme check of the URL command.
#include "systools/url_pick.h"

#include <cctype>

#include "encoding/sjis_char.h"

namespace haruvi::systools {
namespace {

using encoding::IsLeadByte;

bool Printable(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

std::string Run(std::string_view s, size_t from) {
  size_t end = from;
  while (end < s.size() && Printable(static_cast<unsigned char>(s[end]))) ++end;
  return std::string(s.substr(from, end - from));
}

}  // namespace

std::string UrlFromLine(std::string_view line) {
  size_t i = 0;
  while (i < line.size()) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (IsLeadByte(c)) i += 2;
    else if (Printable(c)) break;
    else ++i;
  }
  if (i >= line.size()) return "";
  std::string run = Run(line, i);
  return run.find("://") == std::string::npos ? "" : run;
}

std::string UrlFromSelection(std::string_view s) {
  while (!s.empty() && IsLeadByte(static_cast<unsigned char>(s.front()))) s.remove_prefix(s.size() >= 2 ? 2 : 1);
  while (!s.empty() && !Printable(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && !Printable(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return Run(s, 0);
}

bool UrlSchemeAllowed(std::string_view url) {
  const size_t colon = url.find(':');
  if (colon == std::string_view::npos) return false;
  std::string scheme(url.substr(0, colon));
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "file";
}

}  // namespace haruvi::systools
