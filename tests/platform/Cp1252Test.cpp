#include "platform/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  const QString text = Cp1252::decode(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(Cp1252::encode(text), all);
}

TEST(Cp1252, MapsTheSystemsSpecialCharacters) {
  struct Case {
    unsigned char byte;
    char16_t unicode;
  };
  const Case cases[] = {{0x80, 0x20AC}, {0xB7, 0x00B7}, {0xFF, 0x00FF}, {0xF1, 0x00F1},
                        {0x93, 0x201C}, {0x81, 0x0081}, {0x9F, 0x0178}, {'A', 'A'}};
  for (const Case& c : cases) {
    const QString text = Cp1252::decode(QByteArray(1, static_cast<char>(c.byte)));
    EXPECT_EQ(text.at(0).unicode(), c.unicode) << int(c.byte);
  }
}

TEST(Cp1252, CharactersOutsideThePageBecomeQuestionMarks) {
  EXPECT_EQ(Cp1252::encode(u"a\u4E2Db\u0394"), QByteArray("a?b?"));
}
