// The checks and copies that keep values safe on their way into statements
// and fixed-width fields.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "data/FixedField.h"
#include "data/SqlValues.h"

TEST(StatementValues, QuotesAreDoubled) {
  EXPECT_EQ(SqlQuoted("O'Brien"), "O''Brien");
  EXPECT_EQ(SqlQuoted("''"), "''''");
  EXPECT_EQ(SqlQuoted("045,120.50,"), "045,120.50,");
  EXPECT_EQ(SqlQuoted(nullptr), "");
}

TEST(StatementValues, WhatCountsAsANumber) {
  struct {
    const char* text;
    bool int32;
    bool decimal;
    bool cardNumber;
  } cases[] = {
      {"0", true, true, true},
      {"045", true, true, true},
      {"-50", true, true, false},
      {"+7", true, true, false},
      {"2147483647", true, true, true},
      {"2147483648", false, true, true},
      {"-2147483648", true, true, false},
      {"-2147483649", false, true, false},
      {"12345678901", false, true, true},
      {"120.50", false, true, false},
      {"50.", false, false, false},
      {".5", false, false, false},
      {"1e3", false, false, false},
      {"", false, false, false},
      {" 1", false, false, false},
      {"1 ", false, false, false},
      {"1 or 1=1", false, false, false},
      {"1234567890123456789012345", false, true, true},
      {"12345678901234567890123456", false, true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsInt32Text(c.text), c.int32) << "'" << c.text << "'";
    EXPECT_EQ(IsDecimalText(c.text), c.decimal) << "'" << c.text << "'";
    EXPECT_EQ(IsCardNumberText(c.text), c.cardNumber) << "'" << c.text << "'";
  }
}

TEST(StatementValues, IntegersAreReadLikeAtoiButSaturate) {
  EXPECT_EQ(ReadDecimalInteger("045"), 45);
  EXPECT_EQ(ReadDecimalInteger("  -12abc"), -12);
  EXPECT_EQ(ReadDecimalInteger("abc"), 0);
  EXPECT_EQ(ReadDecimalInteger(""), 0);
  EXPECT_EQ(ReadDecimalInteger("99999999999"), INT_MAX);
  EXPECT_EQ(ReadDecimalInteger("-99999999999"), INT_MIN);
}

TEST(FixedFields, TextIsCutAtACharacterBoundaryAndAlwaysTerminated) {
  struct {
    const char* source;
    const char* expected;  // in a field of 6 bytes
  } cases[] = {
      {"abc", "abc"},
      {"abcdef", "abcde"},
      {"李四", "李四"},
      {"李四王", "李四"},     // 6 bytes would leave no room for the NUL
      {"a李四王", "a李四"},   // 5 bytes
      {"ab李四王", "ab李"},   // the second character would need bytes 5 and 6
      {"", ""},
  };
  for (const auto& c : cases) {
    char field[8];
    std::memset(field, 'X', sizeof field);
    CopyFixedField(field, 6, c.source);
    EXPECT_STREQ(field, c.expected) << c.source;
    EXPECT_EQ(field[6], 'X') << "wrote past the field: " << c.source;
  }
  char small[5];
  CopyField(small, nullptr);
  EXPECT_STREQ(small, "");
}
