#include "core/helpers/Validacion.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <gtest/gtest.h>

namespace {

using Check = bool (*)(const QString&, const QString&);

struct ValidationCase {
  Check check;
  const char16_t* text;
  bool valid;
  const char16_t* warning;  // with the caption "Campo"
};

}  // namespace

TEST(Validacion, RefusedInputIsWarnedWithTheCaption) {
  ManualClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
  const ValidationCase cases[] = {
      {ValidarEntero, u"12", true, nullptr}, {ValidarEntero, u"-5", true, nullptr},
      {ValidarEntero, u"1,5", false, u"¡El valor de Campo es incorrecto! Repita por favor"},
      {ValidarEntero, u"", false, u"¡El valor de Campo es incorrecto! Repita por favor"},
      {ValidarFecha, u"2/1/1890", true, nullptr}, {ValidarFecha, u"15/1/24", true, nullptr},
      {ValidarFecha, u"1/1/1890", false, u"¡La fecha de Campo es incorrecta! Repita por favor"},  // the floor itself
      {ValidarFecha, u"31/12/1889", false, u"¡La fecha de Campo es incorrecta! Repita por favor"},
      {ValidarFecha, u"31/2/2024", false, u"¡La fecha de Campo es incorrecta! Repita por favor"},
      {ValidarHora, u"10:30", true, nullptr}, {ValidarHora, u"23:59:59", true, nullptr},
      {ValidarHora, u"25:00", false, u"¡La hora de Campo es incorrecta! Repita por favor"},
      {ValidarHora, u"10,30", false, u"¡La hora de Campo es incorrecta! Repita por favor"},
  };
  for (const ValidationCase& c : cases) {
    ScriptedPresenter presenter;
    if (!c.valid) presenter.Expect(u"A"_qs);
    EXPECT_EQ(c.check(QString::fromUtf16(c.text), u"Campo"_qs), c.valid) << QString::fromUtf16(c.text).toStdString();
    if (!c.valid) {
      ASSERT_EQ(presenter.Messages().size(), 1);
      EXPECT_EQ(presenter.Messages()[0].text, QString::fromUtf16(c.warning));
    }
  }
}

TEST(Validacion, WithoutACaptionTheCheckIsSilent) {
  ManualClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
  ScriptedPresenter presenter;  // any message fails the test
  EXPECT_FALSE(ValidarEntero(u"abc"_qs, QString()));
  EXPECT_FALSE(ValidarFecha(u"1/1/1890"_qs, QString()));
  EXPECT_FALSE(ValidarHora(u"x"_qs, QString()));
  EXPECT_TRUE(ValidarFecha(u"2/1/1890"_qs, QString()));
  EXPECT_TRUE(presenter.Messages().isEmpty());
}

TEST(Validacion, TheCaptionStandsBetweenTheTwoParts) {
  ScriptedPresenter presenter;
  presenter.Expect(u"A"_qs);
  EXPECT_FALSE(ValidarEntero(u"x"_qs, u"Número de Serie"_qs));
  EXPECT_EQ(presenter.Texts(), QStringList({u"¡El valor de Número de Serie es incorrecto! Repita por favor"_qs}));
}
