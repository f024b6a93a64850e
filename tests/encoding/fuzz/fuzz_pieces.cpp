// The piecewise conversions on any bytes, cut where the input's first bytes say: the
// pieces must join up to the whole text's result for every numbered conversion and width
// conversion.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoding/codings.h"
#include "encoding/piece_convert.h"
#include "encoding/width.h"

namespace {

using namespace haruvi::encoding;

// Windows that grow by the steps the first bytes give (1 to 16 bytes each, in turn).
std::string InPieces(PieceConversion& conversion, std::string_view steps, std::string_view text) {
  std::string out;
  size_t taken = 0, held = 0, k = 0;
  for (;;) {
    const size_t step = steps.empty() ? 1 : 1 + static_cast<unsigned char>(steps[k++ % steps.size()]) % 16;
    held = std::min(text.size(), held + step);
    const bool last = held == text.size();
    taken += conversion.Convert(text.substr(taken, held - taken), last, out);
    if (last) return out;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::string_view steps = all.substr(0, std::min<size_t>(4, size));
  const std::string_view text = all.substr(steps.size());
  for (int op = coJisToSjis; op <= coMimeHeaderDecode; ++op) {
    auto conversion = MakeCodingConversion(static_cast<TCodingOp>(op));
    if (InPieces(*conversion, steps, text) != ApplyCodingOp(static_cast<TCodingOp>(op), text)) std::abort();
  }
  const std::pair<WidthOp, std::string (*)(std::string_view)> widths[] = {
      {WidthOp::kHankakuToZenkaku, HankakuToZenkaku},
      {WidthOp::kZenkakuToHankaku, ZenkakuToHankaku},
      {WidthOp::kHalfKanaToFull, HalfKanaToFull}};
  for (const auto& [op, whole] : widths)
    if (InPieces(*MakeWidthConversion(op), steps, text) != whole(text)) std::abort();
  return 0;
}
