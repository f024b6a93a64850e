// Finding a literal in raw bytes by two probe bytes: a position is a candidate when both
// probes are in place, and only candidates are compared whole. The probes are the
// needle's first and last bytes until Tune picks its two rarest in a sample of the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace haruvi::search {

class LiteralFinder {
 public:
  explicit LiteralFinder(std::string_view needle);  // not empty

  // Picks as probes the two needle positions whose bytes are rarest in [b, e).
  void Tune(const char* b, const char* e);
  // The first occurrence of the needle in [b, e), or e.
  const char* Find(const char* b, const char* e) const;
  // The same without AVX2, for tests and for processors without it.
  const char* FindPortable(const char* b, const char* e) const;

  std::size_t Size() const { return needle_.size(); }
  std::size_t Probe1() const { return probe1_; }
  std::size_t Probe2() const { return probe2_; }

 private:
  std::string needle_;
  std::size_t probe1_ = 0, probe2_ = 0;
};

}  // namespace haruvi::search
