#include "maintenance/Genetest.h"

#include "core/connections/Conexiones.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/ManualClock.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>

namespace {

// The performance test on a started installation, under a clock that
// stands still. Its files are not synced: what it checks is the work, not
// its durability.
class Rendimiento : public ConexionesFixture {
 protected:
  Rendimiento() {
    ConnectionSettings::AddInitializer([](Connection& conexion) {
      conexion.Execute(u"PRAGMA synchronous=OFF"_qs);
    });
    Iniciar();
    formulario = std::make_unique<TfGENETEST>();
    for (const char* nombre : {"Temporal", "TablaTest"})
      formulario->findChild<Table*>(QLatin1String(nombre))->AfterPost = [this](Dataset&) { ++grabados; };
  }
  QString Texto(const QString& nombre) const { return formulario->findChild<QLabel*>(nombre)->text(); }
  void Pedir(const char* edit, const QString& numero) {
    formulario->findChild<QLineEdit*>(QLatin1String(edit))->setText(numero);
  }
  // Referencia, Tiempo and Ratio of a test.
  QStringList Paneles(int test) const {
    QStringList textos;
    for (const char* panel : {"EditReferenciaTest%1", "EditTiempoTest%1", "EditRatioTest%1"})
      textos.append(Texto(QString::fromLatin1(panel).arg(test)));
    return textos;
  }

  ManualClock reloj;
  std::unique_ptr<TfGENETEST> formulario;
  int grabados = 0;
};

}  // namespace

TEST_F(Rendimiento, TheReferenceScalesWithTheCountAndAMeasuredZeroCountsAsAMillisecond) {
  const struct {
    const char* numero;
    QStringList paneles;
  } casos[] = {{"0", {"00:00:00 ", "00:00:00 ", " % "}},
               {"abc", {"00:00:00 ", "00:00:00 ", " % "}},
               {"25", {"00:00:38 ", "00:00:00 ", "3800000 % "}}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.numero);
    Pedir("EditNumeroTablasTMP", QLatin1String(caso.numero));
    formulario->pbTest1Click();
    EXPECT_EQ(Paneles(1), caso.paneles);
  }
  EXPECT_FALSE(formulario->findChild<Table*>(u"Temporal"_qs)->Exists()) << "each table deleted";
  EXPECT_TRUE(formulario->findChild<QPlainTextEdit*>(u"Memo1"_qs)->toPlainText().contains(u"Pentium a 120MHz"_qs));
}

// Records whose small integer is out of range are cancelled and the run goes
// on to its end; the time is read from the clock from the whole second.
TEST_F(Rendimiento, RecordsThatCannotBePostedAreSkippedAndTheRunEnds) {
  reloj.Set(QDateTime(QDate(2024, 1, 15), QTime(9, 0, 0, 600)));
  Pedir("EditNumeroRegistrosTMP", u"40000"_qs);
  formulario->pbTest2Click();
  EXPECT_EQ(grabados, 32767);
  EXPECT_EQ(Paneles(2), (QStringList{u"00:10:00 "_qs, u"00:00:00 "_qs, u"100000 % "_qs}));
  EXPECT_TRUE(formulario->findChild<QStatusBar*>(u"StatusBar1"_qs)->currentMessage().isEmpty());
  EXPECT_FALSE(formulario->findChild<Table*>(u"Temporal"_qs)->Exists());
}

TEST_F(Rendimiento, TheTableTestIsEmptiedBeforeAndAfterAndAllRunsOnlyOnceConfirmed) {
  Ejecutar(u"INSERT INTO TEST (Codigo, Descripcion) VALUES (99999, 'de antes')"_qs);
  Pedir("EditNumeroTablasTMP", u"2"_qs);
  Pedir("EditNumeroRegistrosTMP", u"3"_qs);
  Pedir("EditNumeroRegistrosBD", u"120"_qs);
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  formulario->pbTodosClick();
  EXPECT_EQ(grabados, 0);
  EXPECT_TRUE(Texto(u"EditReferenciaTest1"_qs).isEmpty());
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  formulario->pbTodosClick();
  EXPECT_EQ(grabados, 123);
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM TEST"_qs, u"Database"_qs), u"0"_qs);
  EXPECT_EQ(Paneles(3).first(), u"00:00:14 "_qs);
  formulario->show();
  CapturaFormulario(*formulario, u"GENETEST"_qs);
}

TEST_F(Rendimiento, EscFromAnyControlClosesTheTestWhichHasACloseBox) {
  for (const char* control : {"EditNumeroTablasTMP", "pbTodos"}) {
    formulario->show();
    QApplication::setActiveWindow(formulario.get());
    EXPECT_TRUE(formulario->windowFlags().testFlag(Qt::WindowCloseButtonHint)) << control;
    auto* foco = formulario->findChild<QWidget*>(QLatin1String(control));
    foco->setFocus();
    QTest::keyClick(foco, Qt::Key_Escape);
    EXPECT_FALSE(formulario->isVisible()) << control;
  }
}
