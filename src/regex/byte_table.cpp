// Building the byte rows from the sorted move lists; identical trail rows are shared.
#include "regex/byte_table.h"

#include <array>
#include <string>
#include <unordered_map>

namespace haruvi::regex {

std::unique_ptr<ByteTable> ByteTable::Build(const TRE_DFA& dfa) {
  auto table = std::make_unique<ByteTable>();
  const auto& states = dfa.States();
  const int n = static_cast<int>(states.size());
  table->states_ = n;
  if (static_cast<std::size_t>(n) * 256 * 4 > kMaxBytes) return nullptr;
  table->rows_.assign(static_cast<std::size_t>(n) * 256, -1);

  std::vector<std::array<std::int32_t, 256>> trail_rows;
  std::unordered_map<std::string, std::int32_t> trail_index;
  std::vector<std::array<std::int32_t, 256>> by_lead(256);
  std::array<bool, 256> touched;

  for (int q = 0; q < n; ++q) {
    std::array<std::int32_t, 256> single;
    single.fill(-1);
    touched.fill(false);
    for (const DfaMove& m : states[static_cast<std::size_t>(q)].moves) {
      for (unsigned c = m.lo; c <= m.hi && c <= 0xFF; ++c) single[c] = m.target;
      for (unsigned l = m.lo >> 8; l <= static_cast<unsigned>(m.hi >> 8); ++l) {
        if (!IsLeadByte(static_cast<unsigned char>(l))) continue;
        if (!touched[l]) {
          by_lead[l].fill(-1);
          touched[l] = true;
        }
        unsigned from = m.lo > (l << 8) ? (m.lo & 0xFF) : 0;
        unsigned to = m.hi < ((l << 8) | 0xFF) ? (m.hi & 0xFF) : 0xFF;
        for (unsigned t = from; t <= to; ++t) by_lead[l][t] = m.target;
      }
    }
    std::int32_t* row = &table->rows_[static_cast<std::size_t>(q) * 256];
    for (unsigned b = 0; b < 256; ++b) {
      if (!IsLeadByte(static_cast<unsigned char>(b))) {
        row[b] = single[b];
        continue;
      }
      if (!touched[b] && single[b] < 0) continue;  // no code starting with b moves anywhere
      std::array<std::int32_t, 257> key;
      if (touched[b]) std::copy(by_lead[b].begin(), by_lead[b].end(), key.begin());
      else key.fill(-1);
      key[256] = single[b];
      std::string k(reinterpret_cast<const char*>(key.data()), sizeof key);
      auto [it, fresh] = trail_index.emplace(std::move(k), static_cast<std::int32_t>(trail_rows.size()));
      if (fresh) {
        std::array<std::int32_t, 256> r;
        std::copy(key.begin(), key.begin() + 256, r.begin());
        trail_rows.push_back(r);
        table->lone_.push_back(key[256]);
        if ((static_cast<std::size_t>(n) + trail_rows.size()) * 256 * 4 > kMaxBytes) return nullptr;
      }
      row[b] = n + it->second;
    }
  }
  for (const auto& r : trail_rows) table->rows_.insert(table->rows_.end(), r.begin(), r.end());
  return table;
}

}  // namespace haruvi::regex
