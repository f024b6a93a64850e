#include "textcmd/csv.h"

#include <algorithm>

namespace haruvi::textcmd {

Lines linecsv(LineSpan lines, std::string_view quote, std::string_view separator,
              std::size_t group) {
  group = std::max<std::size_t>(group, 1);
  Lines out;
  std::size_t in_record = 0;
  for (std::string_view l : lines) {
    if (in_record > 0) out.Append(separator);
    out.Append(quote);
    out.Append(l);
    out.Append(quote);
    if (++in_record == group) {
      out.EndLine();
      in_record = 0;
    }
  }
  if (in_record > 0) out.EndLine();
  return out;
}

}  // namespace haruvi::textcmd
