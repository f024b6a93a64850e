// Memory of automaton walks over one text. The automaton is deterministic, so what a walk
// finds from (state, position) onwards is the same for every walk that gets there; when
// matching tries start after start, long walks from later starts stop where they join an
// earlier one instead of repeating it (which would make long texts quadratic). Only
// checkpoints are remembered: the first character start in each 64-byte stretch, once a
// walk is 256 bytes long, so short walks never touch it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace haruvi::regex {

class WalkMemo {
 public:
  static constexpr std::uint64_t kStride = 64;
  static constexpr std::uint64_t kAfter = 256;
  static constexpr std::size_t kMaxEntries = std::size_t{1} << 22;

  // The first checkpoint of a walk that starts at `start`.
  static std::uint64_t FirstCheckpoint(std::uint64_t start) { return (start + kAfter) / kStride * kStride; }
  // The checkpoint after the one passed at `pos`.
  static std::uint64_t NextCheckpoint(std::uint64_t pos) { return (pos / kStride + 1) * kStride; }

  bool Find(int state, std::uint64_t pos, std::int64_t& value) const {
    auto it = map_.find(Key(state, pos));
    if (it == map_.end()) return false;
    value = it->second;
    return true;
  }
  void Store(int state, std::uint64_t pos, std::int64_t value) {
    if (map_.size() < kMaxEntries) map_.emplace(Key(state, pos), value);
  }
  void Clear() { map_.clear(); }

 private:
  static std::uint64_t Key(int state, std::uint64_t pos) {
    return pos << 16 ^ static_cast<std::uint64_t>(state);
  }
  std::unordered_map<std::uint64_t, std::int64_t> map_;
};

// Checkpoints a walk passed before its outcome is known.
using WalkTrail = std::vector<std::pair<int, std::uint64_t>>;

}  // namespace haruvi::regex
