// libarchive converts entry names to and from the thread's locale; LocaleScope puts this
// thread under C.UTF-8 for the duration of a call, so UTF-8 names pass unchanged and
// other names keep their bytes, whatever locale the program runs in.
#pragma once

#include <locale.h>

namespace haruvi::archive {

class LocaleScope {
 public:
  LocaleScope() {
    // Freed at exit, or when a stand-in library holding it is unloaded.
    static const struct Holder {
      locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
      ~Holder() {
        if (utf8) freelocale(utf8);
      }
    } holder;
    if (holder.utf8) old_ = uselocale(holder.utf8);
  }
  ~LocaleScope() {
    if (old_) uselocale(old_);
  }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;

 private:
  locale_t old_ = static_cast<locale_t>(nullptr);
};

}  // namespace haruvi::archive
