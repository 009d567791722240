#include "core/services/HistorialAccesos.h"
#include "core/startup/Configuracion.h"
#include "dialogs/Genemlis.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/FilasTabla.h"
#include "tests/dialogs/FormularioEnPantalla.h"

#include <QPushButton>

namespace {

class HistorialAccesosTest : public ConexionesFixture {
 protected:
  HistorialAccesosTest() {
    Iniciar();
    RegistroAccesosActivado = true;
    RegistrarGENEMLIS();
    Ejecutar(u"CREATE TABLE FICHA (Numero INTEGER, Letra VARCHAR(10), Nombre VARCHAR(20) NULL, "
             "CONSTRAINT FICHA_Clave1 PRIMARY KEY (Numero, Letra))"_qs);
    Ejecutar(u"INSERT INTO FICHA VALUES (7, 'A', 'uno'); INSERT INTO FICHA VALUES (7, 'O''Neil', 'dos')"_qs);
    ficha.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    ficha.SetTableName(u"FICHA"_qs);
    ficha.Open();
  }
  ~HistorialAccesosTest() override {
    RegistroAccesosActivado = false;
    FormRegistry::Clear();
  }

  void Anotar(const QString& tabla, const QString& clave, const QString& usuario, const QString& fecha,
              const QString& accion, const QString& datos) {
    Table accesos;
    accesos.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    accesos.SetTableName(u"REGACCES"_qs);
    accesos.Open();
    accesos.Append();
    const QStringList campos{u"NombreTabla"_qs, u"ClaveTabla"_qs, u"CodigoUsuario"_qs,
                             u"Fecha"_qs,       u"Accion"_qs,     u"Datos"_qs};
    const QStringList valores{tabla, clave, usuario, fecha, accion, datos};
    for (int i = 0; i < campos.size(); ++i) accesos.FieldByName(campos[i]).SetAsString(valores[i]);
    accesos.Post();
  }

  // The rows the list window shows for the current record of FICHA, after
  // checking what the window is.
  QStringList Historial() {
    QStringList filas;
    AlMostrarse<TfGENEMLIS>(fGENEMLIS, [&filas](TfGENEMLIS& formulario) {
      EXPECT_EQ(formulario.width(), 430);
      EXPECT_EQ(formulario.findChild<QPushButton*>(u"pbAceptar"_qs)->text(), u"&Conforme"_qs);
      filas = {formulario.Caption()};
      // Three texts of 20 and the memo, after the line number.
      QStringList columnas;
      for (int i = 1; i < formulario.Temporal().FieldCount(); ++i) {
        const Field& campo = formulario.Temporal().Fields(i);
        columnas.append(campo.FieldName() + u':' + QString::number(campo.DataType() == ftMemo ? -1 : campo.Size()));
      }
      EXPECT_EQ(columnas.mid(0, 4), QStringList({u"CodigoUsuario:20"_qs, u"Fecha:20"_qs, u"Accion:20"_qs, u"Datos:-1"_qs}));
      filas += FilasTabla(formulario.Temporal());
    });
    HistorialAccesos(ficha);
    return filas;
  }

  Table ficha;
};

}  // namespace

TEST_F(HistorialAccesosTest, TheStatementIsTheSystemsOwn) {
  EXPECT_EQ(SentenciaHistorialAccesos(u"FICHA"_qs, u"7|A|"_qs),
            u"SELECT CodigoUsuario, Fecha, Accion, Datos FROM REGACCES   WHERE NombreTabla = 'FICHA'    AND "
            "((ClaveTabla = '7|A|')      OR (ClaveTabla = '7|A'))   ORDER BY Fecha DESC"_qs);
  EXPECT_EQ(SentenciaHistorialAccesos(u"FICHA"_qs, u"O'Neil|"_qs),
            u"SELECT CodigoUsuario, Fecha, Accion, Datos FROM REGACCES   WHERE NombreTabla = 'FICHA'    AND "
            "((ClaveTabla = 'O''Neil|')      OR (ClaveTabla = 'O''Neil'))   ORDER BY Fecha DESC"_qs);
}

TEST_F(HistorialAccesosTest, TheRecordsOwnLinesNewestFirstWithItsDataOnLines) {
  ASSERT_TRUE(ficha.FindKey({Variant::Integer(7), Variant::String(u"A"_qs)}));
  // No history yet: the table is made and the list is empty.
  EXPECT_EQ(Historial(), QStringList{u"Historial de Accesos al Registro: FICHA - 7|A|"_qs});

  Anotar(u"FICHA"_qs, u"7|A|"_qs, u"ANA"_qs, u"05/03/2024 10:00:00"_qs, u"Alta"_qs, u"a|b\r\nc ÿ"_qs);
  Anotar(u"FICHA"_qs, u"7|A"_qs, u"LUIS"_qs, u"06/03/2024 11:00:00"_qs, u"Modificacion"_qs, u"x"_qs);
  Anotar(u"FICHA"_qs, u"7|B|"_qs, u"PEPE"_qs, u"07/03/2024 11:00:00"_qs, u"Baja"_qs, QString());
  Anotar(u"OTRA"_qs, u"7|A|"_qs, u"PEPE"_qs, u"07/03/2024 11:00:00"_qs, u"Baja"_qs, QString());
  Anotar(u"FICHA"_qs, u"7|O'Neil|"_qs, u"EVA"_qs, u"08/03/2024 12:00:00"_qs, u"Baja"_qs, QString());
  EXPECT_EQ(Historial(), QStringList({u"Historial de Accesos al Registro: FICHA - 7|A|"_qs,
                                      u"1|LUIS|06/03/2024 11:00:00|Modificacion|x"_qs,
                                      u"2|ANA|05/03/2024 10:00:00|Alta|a\r\nb c ÿ"_qs}));

  ASSERT_TRUE(ficha.FindKey({Variant::Integer(7), Variant::String(u"O'Neil"_qs)}));
  const QStringList conComilla = Historial();
  ASSERT_EQ(conComilla.size(), 2);
  EXPECT_TRUE(conComilla[1].startsWith(u"1|EVA|"_qs));
}

TEST_F(HistorialAccesosTest, OffOrUnreadableNoListIsShown) {
  FormRegistry::Clear();  // a list window would now raise
  RegistroAccesosActivado = false;
  EXPECT_NO_THROW(HistorialAccesos(ficha));
  RegistroAccesosActivado = true;
  Ejecutar(u"CREATE TABLE REGACCES (NombreTabla VARCHAR(30), ClaveTabla VARCHAR(136))"_qs);
  mensajes.Expect(u"A"_qs).Expect(QString());
  EXPECT_NO_THROW(HistorialAccesos(ficha));
  ASSERT_EQ(mensajes.Messages().size(), 2);
  EXPECT_TRUE(mensajes.Messages()[0].text.startsWith(u"¡No es posible ejecutar la sentencia SQL. Motivo: "_qs));
}
