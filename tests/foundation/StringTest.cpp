#include <gtest/gtest.h>
#include "String.h"
TEST(CStringTest, Smoke) { Core::CString s("変換"); EXPECT_STREQ(s.GetText(), "\x95\xcf\x8a\xb7"); }
