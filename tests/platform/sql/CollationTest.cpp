#include "platform/sql/Collation.h"

#include <QList>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(Collation, ComparesWithoutCaseAccentsOrTrailingBlanks) {
  // The two texts and the sign in SQL_Latin1_General_Cp1_CI_AI and in Modern_Spanish_CI_AI.
  const std::tuple<const char16_t*, const char16_t*, int, int> comparisons[] = {
      {u"Álvaro", u"alvaro", 0, 0},   {u"CAMIÓN", u"camion", 0, 0},    {u"Ávila", u"avila ", 0, 0},
      {u"ü", u"U", 0, 0},             {u"ç", u"C", 0, 0},              {u"peña", u"pena", 0, 1},
      {u"PEÑA", u"peña", 0, 0},       {u"ñu", u"nz", -1, 1},           {u"ñ", u"o", -1, -1},
      {u"abc", u"abd", -1, -1},       {u"ab", u"abc", -1, -1},         {u"B", u"a", 1, 1},
      {u"Zamora", u"álvaro", 1, 1},   {u" a", u"a", -1, -1},           {u"", u"   ", 0, 0},
  };
  const Collation& latin1 = *Collation::Find(u"SQL_Latin1_General_Cp1_CI_AI");
  const Collation& spanish = *Collation::Find(u"modern_spanish_ci_ai");
  for (const auto& [first, second, signLatin1, signSpanish] : comparisons) {
    const QString a = QString::fromUtf16(first), b = QString::fromUtf16(second);
    EXPECT_EQ(QList<int>({Sign(latin1.Compare(a, b)), Sign(latin1.Compare(b, a)), Sign(spanish.Compare(a, b))}),
              QList<int>({signLatin1, -signLatin1, signSpanish}))
        << a.toStdString() << " / " << b.toStdString();
  }
  EXPECT_EQ(&Collation::Default(), &latin1);
}

TEST(Collation, KnowsSqlServersNamesAsItSpellsThem) {
  // The name and how SQL Server spells it (empty: it has no such collation).
  const std::pair<const char16_t*, const char16_t*> names[] = {
      {u"SQL_Latin1_General_Cp1_CI_AI", u"SQL_Latin1_General_CP1_CI_AI"},
      {u"sql_latin1_general_cp1_cs_as", u"SQL_Latin1_General_CP1_CS_AS"},
      {u"latin1_general_bin", u"Latin1_General_BIN"}, {u"Modern_Spanish_CI_AS", u"Modern_Spanish_CI_AS"},
      {u"TRADITIONAL_SPANISH_CS_AI", u"Traditional_Spanish_CS_AI"}, {u"Latin1_General_BIN2", u"Latin1_General_BIN2"},
      {u"SQL_Latin1_General_CP1_bin", u"SQL_Latin1_General_CP1_BIN"}, {u"SQL_Latin1_General_CP1_CS_AI", u""},
      {u"Modern_Spanish", u""}, {u"Modern_Spanish_CI_XX", u""}, {u"Klingon_CI_AI", u""},
  };
  for (const auto& [raw, canonical] : names) {
    const QString name = QString::fromUtf16(raw);
    EXPECT_EQ(Collation::CanonicalName(name), QString::fromUtf16(canonical)) << name.toStdString();
    EXPECT_EQ(Collation::Find(name) != nullptr, *canonical != 0) << name.toStdString();
  }
}

// Accents, then case, decide only where the collation says they count;
// the base letter decides first.
TEST(Collation, TellsAccentsAndCaseApartWhereTheNameSays) {
  const std::tuple<const char16_t*, const char16_t*, int, int, int, int> comparisons[] = {
      {u"a", u"á", -1, -1, 0, -1},      {u"A", u"a", 0, 1, 1, -1},   {u"Á", u"a", 1, 1, 1, 1},
      {u"ab", u"Áb", -1, -1, -1, -1},    {u"b", u"á", 1, 1, 1, -1},   {u"peña ", u"peña", 0, 0, 0, 0},
  };
  const Collation& ciAs = *Collation::Find(u"Latin1_General_CI_AS");
  const Collation& csAs = *Collation::Find(u"Latin1_General_CS_AS");
  const Collation& csAi = *Collation::Find(u"Latin1_General_CS_AI");
  const Collation& bin = *Collation::Find(u"Latin1_General_BIN");
  for (const auto& [first, second, signCiAs, signCsAs, signCsAi, signBin] : comparisons) {
    const QString a = QString::fromUtf16(first), b = QString::fromUtf16(second);
    EXPECT_EQ(QList<int>({Sign(ciAs.Compare(a, b)), Sign(csAs.Compare(a, b)), Sign(csAi.Compare(a, b)),
                          Sign(bin.Compare(a, b))}),
              QList<int>({signCiAs, signCsAs, signCsAi, signBin}))
        << a.toStdString() << " / " << b.toStdString();
  }
  EXPECT_FALSE(csAs.Like(u"%pena%", u"Peña"));
  EXPECT_TRUE(ciAs.Like(u"%PEÑA%", u"casa peña"));
  EXPECT_EQ(csAs.IndexOf(u"a", u"AÁáa"), 3);
}

TEST(Collation, MatchesLikeSqlServer) {
  const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
      {u"%PENA%", u"Casa Peña", true},  {u"a_c", u"ÁBC", true},        {u"a_c", u"abbc", false},
      {u"[a-c]%", u"Bodega", true},     {u"[^a-c]%", u"Bodega", false}, {u"[xyz]", u"Y", true},
      {u"100[%]", u"100%", true},       {u"100[%]", u"1000", false},    {u"abc", u"abc   ", true},
      {u"%", u"", true},                {u"_", u"", false},             {u"%a%b", u"xaxxb", true},
      {u"[abc", u"[abc", true},         {u"pEña%", u"PENA", true},     {u"peña%", u"Pen", false},
      {u"pe %", u"pe", false},          {u"pe %", u"pe x", true},       {u"año%", u"Año 2024", true},
      {u"ab%", u"xab", false},
  };
  for (const auto& [pattern, text, matches] : cases)
    EXPECT_EQ(Collation::Default().Like(QString::fromUtf16(pattern), QString::fromUtf16(text)), matches)
        << QString::fromUtf16(pattern).toStdString() << " / " << QString::fromUtf16(text).toStdString();
  EXPECT_TRUE(Collation::Default().Like(u"10!%%", u"10% más", u'!'));
  EXPECT_FALSE(Collation::Default().Like(u"10!%%", u"100 más", u'!'));
  EXPECT_FALSE(Collation::Find(u"Modern_Spanish_CI_AI")->Like(u"%pena%", u"Peña"));
}

TEST(Collation, LikeRunsInTimeBoundedByThePatternTimesTheText) {
  // Backtracking tried every way of spreading the runs over the text.
  const QString as(250, u'a');
  const QString pattern = u"a%a%a%a%a%a%a%a%a%a%a%a%b"_qs;
  EXPECT_FALSE(Collation::Default().Like(pattern, as));
  EXPECT_TRUE(Collation::Default().Like(pattern, as + u'B'));
  const LikePattern read(Collation::Default(), u"%[ct][hxz][aá][bv][eé]z%"_qs);
  EXPECT_TRUE(read.Matches(u"Sr. CHAVEZ"));
  EXPECT_TRUE(read.Matches(u"Txávez"));
  EXPECT_FALSE(read.Matches(u"Chaves"));
  const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
      {u"[]]x", u"]x", true}, {u"%%%", u"", true},   {u"_%_", u"a", false}, {u"_%_", u"ab", true},
      {u"a%", u"b", false},   {u"%b", u"ab ", true}, {u"[^]]", u"]", false},
  };
  for (const auto& [pattern, text, matches] : cases)
    EXPECT_EQ(Collation::Default().Like(QString::fromUtf16(pattern), QString::fromUtf16(text)), matches)
        << QString::fromUtf16(pattern).toStdString() << " / " << QString::fromUtf16(text).toStdString();
  EXPECT_TRUE(Collation::Default().Like(u"a!", u"a!", u'!'));  // an escape at the end is itself
}

TEST(Collation, FindsTextsOneForOne) {
  EXPECT_EQ(Collation::Default().IndexOf(u"CAMION", u"Un camión rojo"), 3);
  EXPECT_EQ(Collation::Default().IndexOf(u"o", u"Óscar o", 1), 6);
  EXPECT_EQ(Collation::Default().IndexOf(u"x", u"abc"), -1);
  EXPECT_EQ(Collation::Default().Fold(u"ÁÉÍÓÚÑÜ"), u"aeiounu"_qs);
}

// The engine hands texts to a collation in UTF-8 or in UTF-16: both must give
// one order, or an index built through one is searched wrongly through the
// other. Each pair of random texts (well-formed, accented, beyond the 16-bit
// range, and ill-formed bytes) is compared in UTF-8 and in the UTF-16 the
// engine itself makes of it.
TEST(Collation, ComparesTheEnginesUtf8AsTheUtf16TheEngineMakesOfIt) {
  sqlite3* engine = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &engine), SQLITE_OK);
  sqlite3_stmt* select = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(engine, "SELECT ?1, ?2", -1, &select, nullptr), SQLITE_OK);
  const QByteArray pieces[] = {"a", "A", "b", " ", "\xC3\xA1", "\xC3\x81", "\xC3\xB1", "\xF0\x9F\x98\x80", "\xE2\x82\xAC",
                               "\x80", "\xC3", "\xE2\x82", "\xF8\x88\x80\x80\x80", "\xED\xA0\x80", "\xEF\xBF\xBE", "\xFF",
                               "\xC0\x80", "\xEF\xBF\xBC", "\xEF\xBF\xBD", "\xF4\x90\x80\x80",
                               "\xFC\x84\x80\x80\x80\x80", "z"};
  std::mt19937 random(20261208);
  const auto randomText = [&] {
    QByteArray text;
    for (int i = static_cast<int>(random() % 6); i > 0; --i) text += pieces[random() % std::size(pieces)];
    return text;
  };
  for (const char* name : {"SQL_Latin1_General_CP1_CI_AI", "Modern_Spanish_CS_AS", "Latin1_General_BIN"}) {
    const Collation& collation = *Collation::Find(QString::fromLatin1(name));
    for (int i = 0; i < 4000; ++i) {
      const QByteArray a = randomText(), b = randomText();
      sqlite3_bind_text(select, 1, a.constData(), static_cast<int>(a.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(select, 2, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
      ASSERT_EQ(sqlite3_step(select), SQLITE_ROW);
      const auto utf16 = [select](int column) {
        const auto* units = static_cast<const char16_t*>(sqlite3_column_text16(select, column));
        return QString::fromUtf16(units, sqlite3_column_bytes16(select, column) / 2);
      };
      const int expected = Sign(collation.Compare(utf16(0), utf16(1)));
      const auto* bytesA = reinterpret_cast<const unsigned char*>(a.constData());
      const auto* bytesB = reinterpret_cast<const unsigned char*>(b.constData());
      EXPECT_EQ(Sign(collation.CompareUtf8(bytesA, static_cast<int>(a.size()), bytesB, static_cast<int>(b.size()))),
                expected)
          << name << ' ' << a.toHex().toStdString() << " / " << b.toHex().toStdString();
      sqlite3_reset(select);
    }
  }
  sqlite3_finalize(select);
  sqlite3_close(engine);
}

}  // namespace
