#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/SilentEffect.h"

namespace {

class TextConversionTest : public ::testing::Test {
 protected:
  std::string floatText(float value, VstInt32 maxLen = kVstMaxParamStrLen) {
    char text[64];
    effect.float2string(value, text, maxLen);
    return text;
  }
  std::string intText(VstInt32 value) {
    char text[64];
    effect.int2string(value, text, kVstMaxParamStrLen);
    return text;
  }

  SilentEffect effect{nullptr};
};

TEST_F(TextConversionTest, FloatFillsEightCharactersWithTheFraction) {
  EXPECT_EQ(floatText(1.5f), "1.500000");
  EXPECT_EQ(floatText(123.25f), "123.2500");
  EXPECT_EQ(floatText(-1.5f), "-1.50000");
  EXPECT_EQ(floatText(0.0f), "0.000000");
  EXPECT_EQ(floatText(-0.25f), "-0.25000");
  EXPECT_EQ(floatText(200.0f), "200.0000");
}

TEST_F(TextConversionTest, FloatKeepsAllDigitsOfLargeIntegers) {
  EXPECT_EQ(floatText(1234567.0f), "1234567.");
  EXPECT_EQ(floatText(12345678.0f, 16), "12345678.");
}

TEST_F(TextConversionTest, FloatBeyondEightCharactersIsHuge) {
  EXPECT_EQ(floatText(-10000000.0f), "Huge!");
  EXPECT_EQ(floatText(100000000.0f), "Huge!");
  EXPECT_EQ(floatText(-9999999.0f, 16), "-9999999.");
}

TEST_F(TextConversionTest, FloatIsCutToMaxLenAndTerminated) {
  char text[8];
  std::memset(text, 'x', sizeof text);
  effect.float2string(1.5f, text, 3);
  EXPECT_STREQ(text, "1.5");
  EXPECT_EQ(text[4], 'x');
}

TEST_F(TextConversionTest, IntSuppressesLeadingZeros) {
  EXPECT_EQ(intText(0), "");
  EXPECT_EQ(intText(7), "7");
  EXPECT_EQ(intText(1000), "1000");
  EXPECT_EQ(intText(-42), "-42");
  EXPECT_EQ(intText(99999999), "99999999");
}

TEST_F(TextConversionTest, IntOfNineDigitsIsHugeInBothDirections) {
  EXPECT_EQ(intText(100000000), "Huge!");
  EXPECT_EQ(intText(-100000000), "Huge!");
  EXPECT_EQ(intText(-2147483647 - 1), "Huge!");
}

TEST_F(TextConversionTest, DecibelsOfZeroOrLessAreMinusInfinity) {
  char text[16];
  effect.dB2string(0.0f, text, kVstMaxParamStrLen);
  EXPECT_STREQ(text, "-oo");
  effect.dB2string(-1.0f, text, kVstMaxParamStrLen);
  EXPECT_STREQ(text, "-oo");
  effect.dB2string(1.0f, text, kVstMaxParamStrLen);
  EXPECT_STREQ(text, "0.000000");
  effect.dB2string(10.0f, text, kVstMaxParamStrLen);
  EXPECT_STREQ(text, "20.00000");
}

TEST_F(TextConversionTest, HertzAndMillisecondsUseTheSampleRate) {
  char text[16];
  effect.setSampleRate(48000.0f);
  effect.Hz2string(480.0f, text, kVstMaxParamStrLen);
  EXPECT_STREQ(text, "100.0000");
  effect.Hz2string(0.0f, text, kVstMaxParamStrLen);
  EXPECT_STREQ(text, "0.000000");
  effect.ms2string(480.0f, text, kVstMaxParamStrLen);
  EXPECT_STREQ(text, "10.00000");
}

}  // namespace
