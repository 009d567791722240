#include "core/services/VisorCampos.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/core/services/VisorValoresFalso.h"

namespace {

class VisorCamposTest : public ConexionesFixture {
 protected:
  ~VisorCamposTest() override { CamposNoVisiblesUsuario.clear(); }

  void CrearFicha() {
    Iniciar();
    Ejecutar(u"CREATE TABLE FICHA (Codigo INTEGER, Nombre VARCHAR(20) NULL, ClaveSecreta VARCHAR(20) NULL, "
             "HoraEntrada DATETIME NULL, FechaEntrega DATETIME NULL, Notas TEXT NULL, "
             "CONSTRAINT FICHA_Clave1 PRIMARY KEY (Codigo))"_qs);
    ficha.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    ficha.SetTableName(u"FICHA"_qs);
    ficha.Open();
    ficha.Append();
    ficha.FieldByName(u"Codigo"_qs).SetAsString(u"7"_qs);
    ficha.FieldByName(u"Nombre"_qs).SetAsString(u"Ana·ÿ"_qs);
    ficha.FieldByName(u"ClaveSecreta"_qs).SetAsString(u"x"_qs);
    ficha.FieldByName(u"HoraEntrada"_qs).SetAsString(u"05/03/2024 10:15:00"_qs);
    ficha.FieldByName(u"FechaEntrega"_qs).SetAsString(u"06/03/2024 09:30:00"_qs);
    ficha.FieldByName(u"Notas"_qs).SetAsString(u"uno\r\ndos"_qs);
    ficha.Post();
  }

  Table ficha;
  VisorValoresFalso visor;
};

}  // namespace

TEST_F(VisorCamposTest, EveryFieldInItsPlaceWithHiddenOnesEmpty) {
  CrearFicha();
  CamposNoVisiblesUsuario = u"Secreta"_qs;
  VisorCampos(ficha);
  EXPECT_EQ(visor.Visto, QStringList({u"VisorCampos"_qs, u"Notasÿuno·dos\r\n"_qs, u"Campo=Valor"_qs,
                                  u"Codigo=7"_qs, u"Nombre=Ana·ÿ"_qs, u"="_qs, u"HoraEntrada=10:15:00"_qs,
                                  u"FechaEntrega=06/03/2024 09:30:00"_qs, u"Notas=uno dos"_qs}));
}

TEST_F(VisorCamposTest, ARecordChangedByAnotherCopyIsShownAsItNowIs) {
  CrearFicha();
  Ejecutar(u"UPDATE FICHA SET Nombre = 'Luis', HoraEntrada = NULL WHERE Codigo = 7"_qs);
  VisorCampos(ficha);
  ASSERT_EQ(visor.Visto.size(), 9);
  EXPECT_EQ(visor.Visto[4], u"Nombre=Luis"_qs);
  EXPECT_EQ(visor.Visto[6], u"HoraEntrada="_qs);
}

TEST_F(VisorCamposTest, WithoutTheFormItSaysSo) {
  CrearFicha();
  FormRegistry::Clear();
  try {
    VisorCampos(ficha);
    ADD_FAILURE() << "no error";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "El formulario TfGENEVLIS no está disponible.");
  }
}

TEST_F(VisorCamposTest, AMegabyteMemoIsShownWholeOnItsRowAndInItsLine) {
  CrearFicha();
  const QString lineas = QString(u"línea ÿ·\r\n"_qs).repeated(1024 * 1024 / 10);
  ficha.Edit();
  ficha.FieldByName(u"Notas"_qs).SetAsString(lineas);
  ficha.Post();
  VisorCampos(ficha);
  ASSERT_EQ(visor.Visto.size(), 9);
  EXPECT_EQ(visor.Visto[1], u"Notasÿ"_qs + QString(lineas).replace(u"\r\n"_qs, u"·"_qs) + u"\r\n"_qs);
  EXPECT_EQ(visor.Visto[8], u"Notas="_qs + QString(lineas).replace(u"\r\n"_qs, u" "_qs));
}
