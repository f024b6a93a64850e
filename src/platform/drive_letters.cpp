#include "platform/drive_letters.h"

#include <algorithm>

namespace haruvi::platform {

std::vector<LetteredDrive> LetterDrives(const std::vector<Mount>& mounts) {
  std::vector<std::string> roots;
  for (const Mount& m : mounts)
    if (!m.pseudo && std::find(roots.begin(), roots.end(), m.path) == roots.end()) roots.push_back(m.path);
  std::sort(roots.begin(), roots.end(), [](const std::string& a, const std::string& b) {
    if ((a == "/") != (b == "/")) return a == "/";
    return a < b;
  });
  std::vector<LetteredDrive> drives;
  char letter = 'C';
  for (const std::string& r : roots) {
    if (letter > 'Z') break;
    drives.push_back({letter++, r});
  }
  return drives;
}

std::optional<std::string> RootOfLetter(const std::vector<LetteredDrive>& drives, char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
  for (const LetteredDrive& d : drives)
    if (d.letter == letter) return d.root;
  return std::nullopt;
}

std::optional<char> LetterOfPath(const std::vector<LetteredDrive>& drives, const std::string& path) {
  const LetteredDrive* best = nullptr;
  for (const LetteredDrive& d : drives) {
    const bool holds = d.root == "/" || path == d.root ||
                       (path.size() > d.root.size() && path.compare(0, d.root.size(), d.root) == 0 &&
                        path[d.root.size()] == '/');
    if (holds && (!best || d.root.size() > best->root.size())) best = &d;
  }
  if (!best) return std::nullopt;
  return best->letter;
}

}  // namespace haruvi::platform
