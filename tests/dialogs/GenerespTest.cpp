#include "dialogs/Generesp.h"

#include "core/datamodule/ResponsabilidadDocumental.h"
#include "core/services/RutinasBusqueda.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/DateTime.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";

// Another copy of the program holding the order's responsibility row in edit
// until its input ends.
void firmarPedido() { OtraCopiaEditando(kCarpeta, u"RESPDOC"_qs); }

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"firmar-pedido"_qs, firmarPedido);

QString Filas(const QString& sql) { return EjecutarSQL(sql, u"Database"_qs).trimmed(); }

// The responsibility dialog on order "7" of PEDIDO, for user ANA, who signs
// as operator 5, on the embedded server and on a Paradox folder.
class Responsabilidad : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  Responsabilidad() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    CodigoUsuarioActual = u"ANA"_qs;
    for (const char* operario : {"(3, 'Tres', 'LUIS')", "(4, 'Cuatro', 'EVA')", "(5, 'Cinco', 'ANA')"})
      Ejecutar(u"INSERT INTO OPERARIO (Codigo, Nombre, CodigoUsuario) VALUES "_qs + QLatin1String(operario));
    TablaResponsabilidad = u"PEDIDO"_qs;
    ClaveResponsabilidad = u"7"_qs;
    RutinasBusqueda rutinas;
    rutinas.BuscarDatoFiltrado = [this](const QString& tabla, int, const QString& condicion) {
      busquedas << tabla + u": "_qs + condicion;
      return elegido.isEmpty() ? Variant::Null() : Variant::Array({Variant::String(elegido)});
    };
    InstalarRutinasBusqueda(rutinas);
  }
  static void Configurar(const QString& campos) {
    Ejecutar(u"DELETE FROM CONFRESP"_qs);
    Ejecutar(u"INSERT INTO CONFRESP (NombreTabla, CamposSolicitados) VALUES ('PEDIDO', '%1')"_qs.arg(campos));
  }
  static void Operario(const QString& usuario) {
    Ejecutar(u"UPDATE OPERARIO SET CodigoUsuario = '%1' WHERE Codigo = 5"_qs.arg(usuario));
  }
  static QString Fila(const QString& campos) {
    return Filas(u"SELECT %1 FROM RESPDOC WHERE NombreTabla = 'PEDIDO' AND ClaveTabla = '7'"_qs.arg(campos));
  }

  QStringList busquedas;
  QString elegido;
};


}  // namespace

TEST_P(Responsabilidad, ARegistrationOnlyIsWrittenAfterASaveWithoutADialog) {
  Ejecutar(u"CREATE TABLE PEDIDO (Numero INTEGER NOT NULL, CONSTRAINT PEDIDO_Clave1 PRIMARY KEY (Numero))"_qs);
  Ejecutar(u"INSERT INTO PEDIDO (Numero) VALUES (7)"_qs);
  Table pedido;
  pedido.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  pedido.SetTableName(u"PEDIDO"_qs);
  pedido.Open();
  RegistrarGENERESP();
  ResponsabilidadDocumentalActivada = true;
  Configurar(u"RegistradoPor\r\nFechaRegistro"_qs);
  for (const bool conOperario : {true, false}) {
    SCOPED_TRACE(conOperario);
    Ejecutar(u"DELETE FROM RESPDOC"_qs);
    Operario(conOperario ? u"ANA"_qs : u"NADIE"_qs);
    const QString antes = Filas(u"SELECT CURRENT_TIMESTAMP"_qs);
    ResponsabilidadDocumental(pedido);  // would wait for the dialog if it showed one
    EXPECT_EQ(Fila(u"RegistradoPor"_qs), conOperario ? u"5"_qs : QString());
    EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM RESPDOC WHERE FechaRegistro >= '%1'"_qs.arg(antes)), u"1"_qs);
  }
  ResponsabilidadDocumentalActivada = false;
  FormRegistry::Clear();
}

TEST_P(Responsabilidad, AnAuthorisedListDecidesWhoMaySignAndWhomTheSearchOffers) {
  const struct {
    const char* lista;
    const char* usuario;  // of operator 5
    const char* busqueda;
    const char* firmante;  // the one chosen in the search
  } casos[] = {
      {"3,7", "ANA", nullptr, ""},  // 5 is not in the list: nothing
      {"3, 5,7", "ANA", "OPERARIO: (Codigo=3) OR (Codigo=5) OR (Codigo=7)", "3"},
      {"5,x); DELETE FROM OPERARIO;--", "NADIE", "OPERARIO: (Codigo=5)", "5"},  // no operator: the search
      // A list without a whole number offers no operator, rather than all of them.
      {"x", "NADIE", nullptr, ""},
      {"3) OR (1=1", "NADIE", nullptr, ""},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.lista);
    elegido = QString::fromLatin1(caso.firmante);
    busquedas.clear();
    Ejecutar(u"DELETE FROM RESPDOC"_qs);
    Operario(QString::fromLatin1(caso.usuario));
    Configurar(u"RealizadoPor:%1\r\nFechaRealizacion"_qs.arg(QString::fromLatin1(caso.lista).replace(u"'"_qs, u"''"_qs)));
    TfGENERESP f;
    ASSERT_TRUE(f.HayCamposEditables);
    EXPECT_FALSE(f.Table1->FieldByName(u"FechaRealizacion"_qs).IsNull()) << "a new row starts today";
    f.Table1->FieldByName(u"RealizadoPor"_qs).Clear();
    f.Table1->FieldByName(u"FechaRealizacion"_qs).Clear();
    f.pbAsignarRealizadoPorClick();
    EXPECT_EQ(busquedas, caso.busqueda ? QStringList{QString::fromLatin1(caso.busqueda)} : QStringList());
    EXPECT_EQ(f.Table1->FieldByName(u"RealizadoPor"_qs).AsString(), elegido);
    EXPECT_EQ(f.Table1->FieldByName(u"FechaRealizacion"_qs).IsNull(), elegido.isEmpty());
    f.pbGrabarClick();
  }
  EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM OPERARIO"_qs), u"3"_qs);
}

TEST_P(Responsabilidad, AnotherOperatorsSignatureIsNotOverwrittenAndAClearedDoerSavesDateZero) {
  Configurar(u"RealizadoPor\r\nFechaRealizacion\r\nAprobadoPor"_qs);
  Ejecutar(u"INSERT INTO RESPDOC (NombreTabla, ClaveTabla, RealizadoPor, AprobadoPor) VALUES ('PEDIDO', '7', 4, 4)"_qs);
  {
    TfGENERESP f;
    f.pbAsignarRealizadoPorClick();
    f.pbDesasignarAprobadoPorClick();
    EXPECT_EQ(f.Table1->FieldByName(u"RealizadoPor"_qs).AsString(), u"4"_qs);
    EXPECT_EQ(f.Table1->FieldByName(u"AprobadoPor"_qs).AsString(), u"4"_qs);
    f.pbCancelarClick();
  }
  Ejecutar(u"UPDATE RESPDOC SET RealizadoPor = 5"_qs);
  TfGENERESP f;
  f.show();
  CapturaFormulario(f, u"responsabilidad"_qs);
  f.pbDesasignarRealizadoPorClick();  // operator 5's own signature
  EXPECT_TRUE(f.Table1->FieldByName(u"RealizadoPor"_qs).IsNull());
  f.pbAsignarAprobadoPorClick();  // the approval date is not asked for: only the code
  EXPECT_EQ(f.Table1->FieldByName(u"AprobadoPor"_qs).AsString(), u"4"_qs) << "4 signed it";
  f.pbGrabarClick();
  EXPECT_EQ(Fila(u"RealizadoPor, AprobadoPor"_qs), u"|4"_qs);
  f.BuscarResponsabilidad(u"PEDIDO"_qs, u"7"_qs);
  EXPECT_EQ(f.Table1->FieldByName(u"FechaRealizacion"_qs).AsDateTime(), 0.0) << "30/12/1899";
}

TEST_P(Responsabilidad, UnauthorisedSignaturesAreEachWarnedOfAndTheDialogStays) {
  Configurar(u"RealizadoPor:3\r\nAprobadoPor:3"_qs);
  Ejecutar(u"INSERT INTO RESPDOC (NombreTabla, ClaveTabla, RealizadoPor, AprobadoPor) VALUES ('PEDIDO', '7', 4, 3)"_qs);
  for (const bool ambos : {false, true}) {
    TfGENERESP f;
    if (ambos) f.Table1->FieldByName(u"AprobadoPor"_qs).SetAsInteger(5);
    mensajes.Expect(u"A"_qs);
    if (ambos) mensajes.Expect(u"A"_qs);
    f.pbGrabarClick();
    QStringList avisos{u"¡El Operario de Realizado Por no está autorizado!"_qs};
    if (ambos) avisos << u"¡El Operario de Aprobado Por no está autorizado!"_qs;
    EXPECT_EQ(mensajes.Texts().mid(mensajes.Texts().size() - avisos.size()), avisos);
    EXPECT_EQ(f.Table1->State(), dsEdit) << "the dialog stays";
    f.pbCancelarClick();
  }
  EXPECT_EQ(Fila(u"RealizadoPor, AprobadoPor"_qs), u"4|3"_qs);
}

TEST_P(Responsabilidad, ARowAnotherUserIsSigningIsNotOverwritten) {
  Configurar(u"RealizadoPor\r\nFechaRealizacion"_qs);
  Ejecutar(u"INSERT INTO RESPDOC (NombreTabla, ClaveTabla, RealizadoPor) VALUES ('PEDIDO', '7', 4)"_qs);
  SecondProcess otra(u"firmar-pedido"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"editando"_qs);
  TfGENERESP f;
  mensajes.Expect(u"A"_qs);
  f.pbGrabarClick();
  EXPECT_EQ(mensajes.Texts(),
            QStringList{u"¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!"_qs});
  EXPECT_EQ(Fila(u"RealizadoPor"_qs), u"4"_qs);
  EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM RESPDOC"_qs), u"1"_qs);
  EXPECT_EQ(otra.Finish(), 0);
}

INSTANTIATE_TEST_SUITE_P(Motores, Responsabilidad, ::testing::Values("Microsoft SQL Server", "Paradox"));
