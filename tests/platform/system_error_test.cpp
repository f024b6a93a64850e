// The system's reasons as the window gives them: Japanese for what people meet, the
// system's own words for what the table does not know.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/system_error.h"

namespace haruvi::platform {
namespace {

TEST(SystemErrorText, WhatPeopleMeetIsSaidInJapaneseAndTheRestInTheSystemsWords) {
  EXPECT_EQ(SystemErrorText(EEXIST), "同じ名前のファイルが既にあります");
  EXPECT_EQ(SystemErrorText(ENOSPC), "ディスクの空きが足りません");
  EXPECT_EQ(SystemErrorText(ENAMETOOLONG), "名前が長すぎます");
  // Every one of them is a Japanese sentence, not the system's English.
  for (int e : {EPERM, ENOENT, EIO, EACCES, EBUSY, EEXIST, EXDEV, ENOTDIR, EISDIR, EINVAL, EMFILE, EFBIG, ENOSPC, EROFS,
                ENAMETOOLONG, ENOTEMPTY, ELOOP, EDQUOT, ETIMEDOUT, EILSEQ}) {
    const std::string text = SystemErrorText(e);
    EXPECT_NE(text, std::strerror(e)) << e;
    EXPECT_GE(static_cast<unsigned char>(text[0]), 0x80u) << e;
  }
  EXPECT_EQ(SystemErrorText(EHOSTUNREACH), std::strerror(EHOSTUNREACH));
  EXPECT_FALSE(SystemErrorText(123456).empty());
}

}  // namespace
}  // namespace haruvi::platform
