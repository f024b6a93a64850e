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
  // Trail rows of the lead bytes the current state's moves touch, in first-touch order.
  std::vector<std::array<std::int32_t, 256>> by_lead;
  std::array<int, 256> slot;

  for (int q = 0; q < n; ++q) {
    std::array<std::int32_t, 256> single;
    single.fill(-1);
    slot.fill(-1);
    std::size_t used = 0;
    for (const DfaMove& m : states[static_cast<std::size_t>(q)].moves) {
      for (unsigned c = m.lo; c <= m.hi && c <= 0xFF; ++c) single[c] = m.target;
      for (unsigned l = m.lo >> 8; l <= static_cast<unsigned>(m.hi >> 8); ++l) {
        if (!IsLeadByte(static_cast<unsigned char>(l))) continue;
        if (slot[l] < 0) {
          if (used == by_lead.size()) by_lead.emplace_back();
          by_lead[used].fill(-1);
          slot[l] = static_cast<int>(used++);
        }
        auto& trail = by_lead[static_cast<std::size_t>(slot[l])];
        unsigned from = m.lo > (l << 8) ? (m.lo & 0xFF) : 0;
        unsigned to = m.hi < ((l << 8) | 0xFF) ? (m.hi & 0xFF) : 0xFF;
        for (unsigned t = from; t <= to; ++t) trail[t] = m.target;
      }
    }
    std::int32_t* row = &table->rows_[static_cast<std::size_t>(q) * 256];
    std::array<std::int32_t, 257> prev_key;
    std::int32_t prev_id = -1;
    for (unsigned b = 0; b < 256; ++b) {
      if (!IsLeadByte(static_cast<unsigned char>(b))) {
        row[b] = single[b];
        continue;
      }
      if (slot[b] < 0 && single[b] < 0) continue;  // no code starting with b moves anywhere
      std::array<std::int32_t, 257> key;
      if (slot[b] >= 0) {
        const auto& trail = by_lead[static_cast<std::size_t>(slot[b])];
        std::copy(trail.begin(), trail.end(), key.begin());
      } else {
        key.fill(-1);
      }
      key[256] = single[b];
      // Neighbouring lead bytes mostly share their row (a range over many of them).
      if (prev_id >= 0 && key == prev_key) {
        row[b] = prev_id;
        continue;
      }
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
      prev_key = key;
      prev_id = row[b];
    }
  }
  for (const auto& r : trail_rows) table->rows_.insert(table->rows_.end(), r.begin(), r.end());
  return table;
}

}  // namespace haruvi::regex
