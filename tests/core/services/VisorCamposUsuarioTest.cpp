#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/services/VisorCamposUsuario.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/core/services/VisorValoresFalso.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>

#include <memory>
#include <vector>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";

QList<Variant> claveB1() { return {Variant::Integer(1), Variant::String(u"B"_qs)}; }

// Another copy of the program on record B/1: it holds the record until told
// to go on ("bloquear"), or writes Importe 9 into it ("grabar").
void otraCopiaEnElRegistro(bool grabar) {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  Table ficha;
  ficha.SetTableName(u"FICHA"_qs);
  if (!PrepararTabla(ficha) || !ficha.FindKey(claveB1())) return SecondProcess::Report(u"sin datos"_qs);
  ficha.Edit();
  if (grabar) {
    ficha.FieldByName(u"Importe"_qs).SetAsFloat(9);
    ficha.Post();
    return SecondProcess::Report(u"grabado"_qs);
  }
  SecondProcess::Report(u"bloqueado"_qs);
  SecondProcess::NextLine();
  ficha.Cancel();
}

[[maybe_unused]] const bool registrados =
    SecondProcess::RegisterJob(u"bloquear-ficha"_qs, [] { otraCopiaEnElRegistro(false); }) &&
    SecondProcess::RegisterJob(u"grabar-ficha"_qs, [] { otraCopiaEnElRegistro(true); });

class VisorCamposUsuarioTest : public ConexionesFixture {
 protected:
  ~VisorCamposUsuarioTest() override { CamposNoVisiblesUsuario.clear(); }

  void CrearFicha() {
    Iniciar();
    Ejecutar(u"CREATE TABLE FICHA (Letra VARCHAR(5), Numero INTEGER, Nombre VARCHAR(20) NULL, "
             "Zona VARCHAR(10) NULL, Importe FLOAT NULL, HoraAlta DATETIME NULL, Cantidad INTEGER NULL, "
             "Secreto VARCHAR(10) NULL, CONSTRAINT FICHA_Clave1 PRIMARY KEY (Numero, Letra))"_qs);
    Ejecutar(u"INSERT INTO CAMPOUSR VALUES ('FICHA', 1, 'Zona', 'Alfanumerico', 10, ''); "
             "INSERT INTO CAMPOUSR VALUES ('OTRA', 2, 'Nombre', 'Alfanumerico', 10, ''); "
             "INSERT INTO CAMPOUSR VALUES ('FICHA', 3, 'Importe', 'Numerico', 0, ''); "
             "INSERT INTO CAMPOUSR VALUES ('FICHA', 4, 'Fantasma', 'Entero', 0, ''); "
             "INSERT INTO CAMPOUSR VALUES ('FICHA', 5, 'HoraAlta', 'Fecha', 0, ''); "
             "INSERT INTO CAMPOUSR VALUES ('FICHA', 6, 'Secreto', 'Alfanumerico', 10, ''); "
             "INSERT INTO CAMPOUSR VALUES ('FICHA', 7, 'Cantidad', 'Entero', 0, '')"_qs,
             u"DatabaseGeneral"_qs);
    ficha.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    ficha.SetTableName(u"FICHA"_qs);
    ficha.Open();
    for (const char* letra : {"A", "B"}) {
      ficha.Append();
      ficha.FieldByName(u"Letra"_qs).SetAsString(QLatin1String(letra));
      ficha.FieldByName(u"Numero"_qs).SetAsInteger(1);
      ficha.FieldByName(u"Nombre"_qs).SetAsString(u"ficha "_qs + QLatin1String(letra));
      ficha.FieldByName(u"Zona"_qs).SetAsString(u"Norte·ÿ"_qs);
      ficha.FieldByName(u"Importe"_qs).SetAsFloat(1.2345);
      ficha.FieldByName(u"HoraAlta"_qs).SetAsString(u"05/03/2024 10:15:00"_qs);
      ficha.FieldByName(u"Cantidad"_qs).SetAsInteger(0);
      ficha.Post();
    }
    ASSERT_TRUE(ficha.FindKey(claveB1()));
    CamposNoVisiblesUsuario = u"Secreto"_qs;
  }

  // Zona, Importe, HoraAlta and Cantidad of a record as stored.
  QStringList Guardado(const char* letra) {
    Table leida;
    leida.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    leida.SetTableName(u"FICHA"_qs);
    leida.Open();
    if (!leida.FindKey({Variant::Integer(1), Variant::String(QLatin1String(letra))})) return {};
    QStringList valores;
    for (const char* campo : {"Zona", "Importe", "HoraAlta", "Cantidad"}) {
      const Field& leido = leida.FieldByName(QLatin1String(campo));
      valores.append(leido.IsNull() ? u"<null>"_qs : leido.AsVariant().AsString());
    }
    return valores;
  }

  // The user types these values in the rows of those names and saves.
  void Teclear(const QMap<QString, QString>& tecleado) {
    visor.Usuario = [tecleado](QTableWidget& rejilla) {
      for (int fila = 0; fila < rejilla.rowCount(); ++fila)
        if (tecleado.contains(rejilla.item(fila, 0)->text()))
          rejilla.item(fila, 1)->setText(tecleado[rejilla.item(fila, 0)->text()]);
      return int(mrOk);
    };
  }

  Table ficha;
  VisorValoresFalso visor;
};

}  // namespace

TEST_F(VisorCamposUsuarioTest, TheTablesUserFieldsAreListedAndUntouchedOnesKeepEveryByte) {
  CrearFicha();
  const QStringList antes = Guardado("B");
  Teclear({});
  VisorCamposUsuario(Servicios(), ficha);
  ASSERT_EQ(visor.Visto.size(), 7);
  EXPECT_EQ(visor.Visto.mid(0, 4), QStringList({u"VisorCamposUsuario"_qs, QString(), u"Campo=Valor"_qs, u"Zona=Norte·ÿ"_qs}));
  EXPECT_TRUE(visor.Visto[4].startsWith(u"Importe=1,23"_qs)) << visor.Visto[4].toStdString();
  EXPECT_EQ(visor.Visto.mid(5), QStringList({u"HoraAlta=10:15:00"_qs, u"Cantidad=0"_qs}));
  EXPECT_EQ(Guardado("B"), antes);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(VisorCamposUsuarioTest, ChangedValuesAreWrittenAndAWrongOneIsWarnedAbout) {
  CrearFicha();
  const QStringList otra = Guardado("A");
  mensajes.Expect(u"A"_qs);
  Teclear({{u"Zona"_qs, u"Sur"_qs}, {u"Importe"_qs, u"1.234,5"_qs}, {u"Cantidad"_qs, u"abc"_qs}});
  VisorCamposUsuario(Servicios(), ficha);
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡El valor Cantidad = abc es incorrecto!"_qs});
  const QStringList guardado = Guardado("B");
  ASSERT_EQ(guardado.size(), 4);
  EXPECT_EQ(guardado[0], u"Sur"_qs);
  EXPECT_EQ(guardado[1], u"1234,5"_qs);
  EXPECT_EQ(guardado[3], u"0"_qs);
  EXPECT_EQ(Guardado("A"), otra);
}

TEST_F(VisorCamposUsuarioTest, AQueryWhoseKeyIsNotItsFirstFieldWritesIntoItsOwnRecord) {
  CrearFicha();
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  consulta.SQL().SetText(u"SELECT Nombre, Letra, Numero FROM FICHA WHERE Letra = 'B'"_qs);
  consulta.Open();
  Teclear({{u"Zona"_qs, u"Oeste"_qs}});
  VisorCamposUsuario(Servicios(), consulta);
  EXPECT_EQ(Guardado("B").value(0), u"Oeste"_qs);
  EXPECT_EQ(Guardado("A").value(0), u"Norte·ÿ"_qs);
}

TEST_F(VisorCamposUsuarioTest, NothingIsShownOrWrittenWhereItDoesNotApply) {
  CrearFicha();
  const QStringList antes = Guardado("B");
  Teclear({{u"Zona"_qs, u"Sur"_qs}});
  QObject modulo;
  Table deModulo(&modulo);
  deModulo.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  deModulo.SetTableName(u"FICHA"_qs);
  deModulo.Open();
  // The order lines of the two order forms, and a table without user fields.
  std::vector<std::unique_ptr<QWidget>> formularios;
  std::vector<std::unique_ptr<Table>> tablas;
  for (const auto& [formulario, tabla] : {std::pair{u"fFACTALBA"_qs, u"LPEDIDO"_qs}, std::pair{u"fCCOMRECE"_qs, u"LPEDIDOC"_qs},
                                          std::pair{u"fOTRO"_qs, u"SINCAMPOS"_qs}}) {
    Ejecutar(u"CREATE TABLE %1 (Numero INTEGER, Zona VARCHAR(10) NULL, CONSTRAINT %1_Clave1 PRIMARY KEY (Numero))"_qs.arg(tabla));
    Ejecutar(u"INSERT INTO %1 VALUES (1, 'x')"_qs.arg(tabla));
    if (tabla != u"SINCAMPOS")
      Ejecutar(u"INSERT INTO CAMPOUSR VALUES ('%1', %2, 'Zona', 'Alfanumerico', 10, '')"_qs.arg(tabla).arg(tablas.size() + 8),
               u"DatabaseGeneral"_qs);
    formularios.push_back(std::make_unique<QWidget>());
    formularios.back()->setObjectName(formulario);
    tablas.push_back(std::make_unique<Table>(formularios.back().get()));
    tablas.back()->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tablas.back()->SetTableName(tabla);
    tablas.back()->Open();
  }
  Query sinClave;
  sinClave.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  sinClave.SQL().SetText(u"SELECT Nombre FROM FICHA"_qs);
  sinClave.Open();
  std::vector<Dataset*> datasets{&deModulo, &sinClave};
  for (const auto& tabla : tablas) datasets.push_back(tabla.get());
  for (Dataset* dataset : datasets) {
    visor.Visto.clear();
    VisorCamposUsuario(Servicios(), *dataset);
    EXPECT_TRUE(visor.Visto.isEmpty()) << NombreTablaDataSet(*dataset).toStdString();
  }
  Teclear({{u"Zona"_qs, u"Sur"_qs}});
  visor.Usuario = [](QTableWidget& rejilla) {
    rejilla.item(0, 1)->setText(u"Sur"_qs);
    return int(mrCancel);
  };
  VisorCamposUsuario(Servicios(), ficha);
  EXPECT_FALSE(visor.Visto.isEmpty());
  EXPECT_EQ(Guardado("B"), antes);
}

TEST_F(VisorCamposUsuarioTest, ARecordHeldByAnotherCopyIsLeftAsItWas) {
  CrearFicha();
  const QStringList antes = Guardado("B");
  SecondProcess otra(u"bloquear-ficha"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"bloqueado"_qs);
  mensajes.Expect(u"A"_qs);
  Teclear({{u"Zona"_qs, u"Sur"_qs}});
  VisorCamposUsuario(Servicios(), ficha);
  EXPECT_EQ(mensajes.Texts(),
            QStringList{u"¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!"_qs});
  EXPECT_EQ(Guardado("B"), antes);
  otra.Send(u"sigue"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  // Released by both: the next save goes through.
  VisorCamposUsuario(Servicios(), ficha);
  EXPECT_EQ(Guardado("B").value(0), u"Sur"_qs);
}

TEST_F(VisorCamposUsuarioTest, TwoCopiesSavingDifferentFieldsKeepBoth) {
  CrearFicha();
  visor.Usuario = [this](QTableWidget& rejilla) {
    SecondProcess otra(u"grabar-ficha"_qs, {{kCarpeta, carpeta.Path()}});
    EXPECT_EQ(otra.ReadReport(), u"grabado"_qs);
    EXPECT_EQ(otra.Finish(), 0);
    rejilla.item(0, 1)->setText(u"Sur"_qs);
    return int(mrOk);
  };
  VisorCamposUsuario(Servicios(), ficha);
  const QStringList guardado = Guardado("B");
  EXPECT_EQ(guardado.value(0), u"Sur"_qs);
  EXPECT_EQ(guardado.value(1), u"9"_qs);
}
