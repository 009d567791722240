#include "core/helpers/Validacion.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <gtest/gtest.h>

using Check = bool (*)(const QString&, const QString&);

// The check, the text and the warning with the caption "Campo" (none: the text is valid); the caption
// stands between the two parts of the warning.
TEST(Validacion, RefusedInputIsWarnedWithTheCaption) {
  ManualClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
  const QString fecha = u"¡La fecha de Campo es incorrecta! Repita por favor"_qs;
  const QString hora = u"¡La hora de Campo es incorrecta! Repita por favor"_qs;
  const QString valor = u"¡El valor de Campo es incorrecto! Repita por favor"_qs;
  const std::tuple<Check, const char16_t*, QString> cases[] = {
      {ValidarEntero, u"12", {}},           {ValidarEntero, u"-5", {}},          {ValidarEntero, u"1,5", valor},
      {ValidarEntero, u"", valor},          {ValidarFecha, u"2/1/1890", {}},     {ValidarFecha, u"15/1/24", {}},
      {ValidarFecha, u"1/1/1890", fecha},  // the floor itself
      {ValidarFecha, u"31/12/1889", fecha}, {ValidarFecha, u"31/2/2024", fecha}, {ValidarHora, u"10:30", {}},
      {ValidarHora, u"23:59:59", {}},       {ValidarHora, u"25:00", hora},       {ValidarHora, u"10,30", hora},
  };
  for (const auto& [check, text, warning] : cases) {
    ScriptedPresenter presenter;
    if (!warning.isEmpty()) presenter.Expect(u"A"_qs);
    EXPECT_EQ(check(QString::fromUtf16(text), u"Campo"_qs), warning.isEmpty())
        << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(presenter.Texts(), warning.isEmpty() ? QStringList() : QStringList{warning});
  }
  ScriptedPresenter presenter;
  presenter.Expect(u"A"_qs);
  EXPECT_FALSE(ValidarEntero(u"x"_qs, u"Número de Serie"_qs));
  EXPECT_EQ(presenter.Texts(), QStringList({u"¡El valor de Número de Serie es incorrecto! Repita por favor"_qs}));
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
