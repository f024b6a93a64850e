// The reader walks the bytes once with an explicit stack of group states, so nesting
// costs no native stack and a hostile file cannot overflow it.
#include "viewer/rtf_reader.h"

#include <algorithm>
#include <map>

namespace haruvi::viewer {
namespace {

using encoding::CodePage;

enum class Dest { Text, Skip, FontTable, ColorTable, FontName };

struct State {
  bool bold = false, italic = false, underline = false, strike_out = false;
  int half_points = 0;
  int color_index = -1;
  int uc = 1;  // characters to skip after \uN
  int font = -1;
  Dest dest = Dest::Text;
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
 public:
  Reader(std::string_view in, CodePage fallback) : in_(in), page_(fallback) {}

  std::optional<RtfDocument> Run() {
    doc_.paragraphs.emplace_back();
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '{') {
        FlushBytes();
        if (stack_.size() >= static_cast<size_t>(kMaxRtfDepth)) return std::nullopt;
        stack_.push_back(st_);
        ++pos_;
        continue;
      }
      if (c == '}') {
        FlushBytes();
        ++pos_;
        if (stack_.empty()) break;  // the document's group closed: ignore what follows
        if (st_.dest == Dest::ColorTable) EndColor(false);
        st_ = stack_.back();
        stack_.pop_back();
        continue;
      }
      if (c == '\\') {
        ControlWord();
        continue;
      }
      ++pos_;
      if (c == '\r' || c == '\n') continue;
      if (st_.dest == Dest::ColorTable) {
        if (c == ';') EndColor(true);
        continue;
      }
      if (skip_chars_ > 0) {
        --skip_chars_;
        continue;
      }
      if (st_.dest != Dest::Text) continue;
      pending_.push_back(c);
    }
    FlushBytes();
    return std::move(doc_);
  }

 private:
  void ControlWord() {
    ++pos_;  // the backslash
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!IsLetter(c)) {
      ++pos_;
      switch (c) {
        case '\'': {
          int v = 0, digits = 0;
          while (digits < 2 && pos_ < in_.size()) {
            char h = in_[pos_];
            int d = IsDigit(h) ? h - '0' : (h >= 'a' && h <= 'f') ? h - 'a' + 10 : (h >= 'A' && h <= 'F') ? h - 'A' + 10 : -1;
            if (d < 0) break;
            v = v * 16 + d;
            ++digits;
            ++pos_;
          }
          if (skip_chars_ > 0) {
            --skip_chars_;
          } else if (st_.dest == Dest::Text && digits > 0) {
            pending_.push_back(static_cast<char>(v));
          }
          return;
        }
        case '*':  // an optional destination: skipped unless named below
          st_.dest = Dest::Skip;
          return;
        case '~': Emit(u"\u00A0"); return;
        case '_': Emit(u"\u2011"); return;
        case '-': return;  // optional hyphen
        case '\\': case '{': case '}':
          if (st_.dest == Dest::Text && skip_chars_ == 0) pending_.push_back(c);
          else if (skip_chars_ > 0) --skip_chars_;
          return;
        case '\r': case '\n': Paragraph(); return;
        default: return;
      }
    }
    size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_]) && pos_ - start < 32) ++pos_;
    std::string word(in_.substr(start, pos_ - start));
    bool has_param = false;
    long long param = 0;
    bool negative = false;
    if (pos_ < in_.size() && in_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    while (pos_ < in_.size() && IsDigit(in_[pos_])) {
      has_param = true;
      if (param < 100000000) param = param * 10 + (in_[pos_] - '0');
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    Apply(word, has_param, static_cast<int>(std::clamp<long long>(param, -2147483647, 2147483647)));
  }

  void Apply(const std::string& w, bool has, int p) {
    const bool on = !has || p != 0;
    if (w == "bin") {
      FlushBytes();
      size_t n = has && p > 0 ? static_cast<size_t>(p) : 0;
      pos_ += std::min(n, in_.size() - pos_);  // never trust the count
      return;
    }
    if (st_.dest == Dest::Skip) return;
    if (w == "fonttbl") { st_.dest = Dest::FontTable; return; }
    if (w == "colortbl") { st_.dest = Dest::ColorTable; color_ = {}; return; }
    static const char* const kSkipped[] = {"stylesheet", "info", "pict", "object", "header", "footer",
                                           "headerl", "headerr", "footerl", "footerr", "fldinst",
                                           "themedata", "colorschememapping", "latentstyles",
                                           "datastore", "xmlnstbl", "listtable", "listoverridetable",
                                           "rsidtbl", "generator", "filetbl", "revtbl", "pgdsctbl",
                                           "footnote", "annotation", "nonshppict", "shppict"};
    for (const char* s : kSkipped)
      if (w == s) { st_.dest = Dest::Skip; return; }
    if (st_.dest == Dest::FontTable || st_.dest == Dest::FontName) {
      if (w == "f") { table_font_ = p; st_.dest = Dest::FontName; }
      else if (w == "fcharset") font_pages_[table_font_] = encoding::CodePageForCharset(p);
      return;
    }
    if (st_.dest == Dest::ColorTable) {
      if (w == "red") color_.r = p;
      else if (w == "green") color_.g = p;
      else if (w == "blue") color_.b = p;
      return;
    }
    if (w == "ansicpg") {
      if (auto page = CodePageForNumber(p)) page_ = *page;
      return;
    }
    if (w == "u") {
      FlushBytes();
      if (skip_chars_ > 0) { --skip_chars_; return; }
      char16_t ch = static_cast<char16_t>(p < 0 ? p + 65536 : p);
      Emit(std::u16string(1, ch));
      skip_chars_ = st_.uc;
      return;
    }
    if (skip_chars_ > 0) skip_chars_ = 0;  // a control word ends the fallback text
    if (w == "par" || w == "sect" || w == "page") { Paragraph(); return; }
    if (w == "line") { Emit(u"\u2028"); return; }
    if (w == "tab") { Emit(u"\t"); return; }
    if (w == "uc") { st_.uc = std::clamp(p, 0, 10); return; }
    if (w == "plain") {
      FlushBytes();
      State keep = st_;
      st_ = State{};
      st_.dest = keep.dest;
      st_.uc = keep.uc;
      st_.font = keep.font;
      return;
    }
    FlushBytes();
    if (w == "b") st_.bold = on;
    else if (w == "i") st_.italic = on;
    else if (w == "ul") st_.underline = on;
    else if (w == "ulnone") st_.underline = false;
    else if (w == "strike") st_.strike_out = on;
    else if (w == "fs") st_.half_points = std::clamp(p, 0, 3200);
    else if (w == "cf") st_.color_index = p;
    else if (w == "f") st_.font = p;
    else if (w == "emdash") Emit(u"\u2014");
    else if (w == "endash") Emit(u"\u2013");
    else if (w == "bullet") Emit(u"\u2022");
    else if (w == "lquote") Emit(u"\u2018");
    else if (w == "rquote") Emit(u"\u2019");
    else if (w == "ldblquote") Emit(u"\u201C");
    else if (w == "rdblquote") Emit(u"\u201D");
  }

  void EndColor(bool explicit_end) {
    if (!explicit_end) return;
    colors_.push_back(color_.seen() ? std::optional<std::uint32_t>(color_.rgb()) : std::nullopt);
    color_ = {};
  }

  CodePage CurrentPage() const {
    if (auto it = font_pages_.find(st_.font); it != font_pages_.end()) return it->second;
    return page_;
  }

  // Decodes collected bytes in the current font's code page.
  void FlushBytes() {
    if (pending_.empty()) return;
    std::string bytes;
    bytes.swap(pending_);
    if (st_.dest == Dest::Text) AppendRun(encoding::PaneCodec::For(CurrentPage()).Decode(bytes));
  }

  void Emit(const std::u16string& text) {
    FlushBytes();
    if (st_.dest == Dest::Text && !text.empty()) AppendRun(text);
  }

  void AppendRun(const std::u16string& text) {
    RtfParagraph& para = doc_.paragraphs.back();
    RtfRun run;
    run.bold = st_.bold;
    run.italic = st_.italic;
    run.underline = st_.underline;
    run.strike_out = st_.strike_out;
    run.half_points = st_.half_points;
    if (st_.color_index > 0 && static_cast<size_t>(st_.color_index) < colors_.size() &&
        colors_[static_cast<size_t>(st_.color_index)]) {
      run.has_color = true;
      run.color = *colors_[static_cast<size_t>(st_.color_index)];
    }
    if (!para.runs.empty()) {
      RtfRun& last = para.runs.back();
      if (last.bold == run.bold && last.italic == run.italic && last.underline == run.underline &&
          last.strike_out == run.strike_out && last.half_points == run.half_points &&
          last.has_color == run.has_color && last.color == run.color) {
        last.text += text;
        return;
      }
    }
    run.text = text;
    para.runs.push_back(std::move(run));
  }

  void Paragraph() {
    FlushBytes();
    if (st_.dest == Dest::Text) doc_.paragraphs.emplace_back();
  }

  struct Color {
    int r = -1, g = -1, b = -1;
    bool seen() const { return r >= 0 || g >= 0 || b >= 0; }
    std::uint32_t rgb() const {
      auto c = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
      return (c(r) << 16) | (c(g) << 8) | c(b);
    }
  };

  std::string_view in_;
  size_t pos_ = 0;
  CodePage page_;
  State st_;
  std::vector<State> stack_;
  int skip_chars_ = 0;
  std::string pending_;
  std::map<int, CodePage> font_pages_;
  int table_font_ = -1;
  Color color_;
  std::vector<std::optional<std::uint32_t>> colors_;
  RtfDocument doc_;
};

}  // namespace

std::u16string RtfDocument::PlainText() const {
  std::u16string text;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (i) text += u'\n';
    for (const RtfRun& r : paragraphs[i].runs) text += r.text;
  }
  return text;
}

std::optional<CodePage> CodePageForNumber(int number) {
  switch (number) {
    case 932: return CodePage::Cp932;
    case 1252: return CodePage::Windows1252;
    case 949: return CodePage::Cp949;
    case 936: return CodePage::Gbk;
    case 950: return CodePage::Big5;
    case 1250: return CodePage::Windows1250;
    case 1251: return CodePage::Windows1251;
    case 1253: return CodePage::Windows1253;
    case 1254: return CodePage::Windows1254;
    case 1255: return CodePage::Windows1255;
    case 1256: return CodePage::Windows1256;
    case 1257: return CodePage::Windows1257;
    case 1258: return CodePage::Windows1258;
    case 874: return CodePage::Cp874;
    case 10000: return CodePage::MacRoman;
    case 437: return CodePage::Cp437;
    default: return std::nullopt;
  }
}

std::optional<RtfDocument> ReadRtf(std::string_view bytes, CodePage fallback) {
  if (bytes.substr(0, 5) != "{\\rtf") return std::nullopt;
  return Reader(bytes, fallback).Run();
}

}  // namespace haruvi::viewer
