#include "core/connections/Conexiones.h"
#include "core/datamodule/CamposNoVisibles.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/CopiaPorClave.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/InstantaneaRegistro.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/datamodule/ValidacionRejilla.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

// Albaranes keyed by company and code, and clockings keyed by a time, on the
// embedded server and on a Paradox folder alike.
class Claves : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  Claves() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    Ejecutar(
        u"CREATE TABLE ALBARAN (Empresa INTEGER, Codigo VARCHAR(10), Nombre VARCHAR(40) NULL, HoraEntrada DATETIME "
        "NULL, Notas TEXT NULL, CONSTRAINT ALBARAN_Clave1 PRIMARY KEY (Empresa, Codigo))"_qs);
    Ejecutar(u"CREATE INDEX ALBARAN_Nombre ON ALBARAN (Nombre, Codigo)"_qs);
    for (const char* fila :
         {"1, '0001', 'uno', '05/03/2024 08:30:00'", "1, '0005', 'cinco', NULL", "2, '0003', 'tres', NULL"})
      Ejecutar(u"INSERT INTO ALBARAN (Empresa, Codigo, Nombre, HoraEntrada) VALUES (%1)"_qs.arg(QLatin1String(fila)));
    Ejecutar(
        u"CREATE TABLE FICHAJE (HoraEntrada DATETIME, Nota VARCHAR(10) NULL, CONSTRAINT FICHAJE_Clave1 PRIMARY KEY "
        "(HoraEntrada))"_qs);
    Ejecutar(u"INSERT INTO FICHAJE (HoraEntrada, Nota) VALUES ('05/03/2024 08:30:00', 'x')"_qs);
    albaran.SetTableName(u"ALBARAN"_qs);
    EXPECT_TRUE(PrepararTabla(albaran));
  }

  // Code, name and the time of day.
  QStringList Valores() const {
    return {albaran.FieldByName(u"Codigo"_qs).AsString(), albaran.FieldByName(u"Nombre"_qs).AsString(),
            FormatDateTime(u"hh:nn:ss"_qs, albaran.FieldByName(u"HoraEntrada"_qs).AsDateTime())};
  }

  Table albaran;
};

const char* const kMotores[] = {"Microsoft SQL Server", "Paradox"};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Motores, Claves, ::testing::ValuesIn(kMotores));

TEST_P(Claves, KeysIndexesAndColumnsComeFromTheEnginesCatalogue) {
  for (const bool enBD : {true, false}) {
    ArchivosTemporalesEnBD = enBD;
    albaran.First();
    albaran.Next();
    EXPECT_EQ(ClaveRegistro(albaran), u"1;0005;"_qs);
  }
  const QString tabla = u"ALBARAN"_qs;
  EXPECT_EQ(QStringList({CamposClavePrimaria(u"dbo.ALBARAN"_qs), CamposClavePrimaria(tabla, u"Nombre"_qs),
                         CamposClavePrimaria(tabla, u"ALBARAN_Nombre"_qs), CamposClavePrimaria(tabla, u"Otro"_qs),
                         CamposClavePrimaria(u"NOEXISTE"_qs), DefinicionIndice(albaran),
                         DefinicionIndice(albaran, u"Nombre"_qs), ListaColumnas(tabla),
                         ListaColumnas(u"dbo.ALBARAN"_qs, u"SinMemos"_qs)}),
            QStringList({u"Empresa;Codigo"_qs, u"Nombre;Codigo"_qs, u"Nombre;Codigo"_qs, QString(), QString(),
                         u"Empresa;Codigo"_qs, u"Nombre;Codigo"_qs, u"Empresa;Codigo;Nombre;HoraEntrada;Notas"_qs,
                         u"Empresa;Codigo;Nombre;HoraEntrada"_qs}));
  EXPECT_EQ(NumeroCamposClave(albaran) * 10 + NumeroCamposClaveTabla(u"FICHAJE"_qs), 21);

  // A time key gives its time text, in a table and in a query alike.
  Table fichaje;
  fichaje.SetTableName(u"FICHAJE"_qs);
  ASSERT_TRUE(PrepararTabla(fichaje));
  EXPECT_EQ(ClaveRegistro(fichaje), u"08:30:00;"_qs);
  EXPECT_EQ(UltimaClaveRango(fichaje), u"08:30:00;"_qs);  // one key field: the last record
  Query consulta;
  consulta.SetDatabaseName(albaran.DatabaseName());
  consulta.SQL().SetText(u"SELECT * FROM ALBARAN WHERE Empresa = 2"_qs);
  consulta.Open();
  EXPECT_EQ(ClaveRegistro(consulta), u"2;0003;"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_P(Claves, RecordsAreFoundAndCopiedByKey) {
  albaran.Last();
  const Variant valores = ValoresClave(albaran);
  albaran.First();
  ASSERT_TRUE(LocalizarClave(albaran, valores));
  EXPECT_EQ(albaran.FieldByName(u"Nombre"_qs).AsString(), u"tres"_qs);
  EXPECT_FALSE(LocalizarClave(albaran, Variant()));
  albaran.First();
  EXPECT_EQ(UltimaClaveRango(albaran), u"1;0005;"_qs);

  albaran.Insert();
  CamposHoraGuardados = u"3|0009|"_qs;
  RestaurarCamposRegistro(albaran);
  CopiarRegistroClave(albaran, u"1;0005;"_qs);
  EXPECT_EQ(albaran.FieldByName(u"Nombre"_qs).AsString(), u"cinco"_qs);
  CopiarCampoDeRegistro(albaran, u"Nombre"_qs, u"2;0003;"_qs);
  CopiarRegistroClave(albaran, u"7;0000;"_qs);
  EXPECT_EQ(albaran.FieldByName(u"Nombre"_qs).AsString(), u"tres"_qs);
  EXPECT_EQ(ClaveRegistro(albaran), u"3;0009;"_qs);
}

TEST_P(Claves, KeysOfSixFieldsSetNoRangeAndCopyNoSingleField) {
  Ejecutar(u"CREATE TABLE SEIS (A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER, F INTEGER, V VARCHAR(5) NULL, "
           "CONSTRAINT SEIS_Clave1 PRIMARY KEY (A, B, C, D, E, F))"_qs);
  for (const char* fila : {"1, 1, 1, 1, 1, 1, 'a'", "1, 1, 1, 1, 1, 2, 'b'", "2, 1, 1, 1, 1, 1, 'c'"})
    Ejecutar(u"INSERT INTO SEIS VALUES (%1)"_qs.arg(QLatin1String(fila)));
  Table seis;
  seis.SetTableName(u"SEIS"_qs);
  ASSERT_TRUE(PrepararTabla(seis));
  EXPECT_EQ(UltimaClaveRango(seis), u"2;1;1;1;1;1;"_qs);
  seis.Edit();
  CopiarRegistroClave(seis, u"1;1;1;1;1;2;"_qs);
  CopiarCampoDeRegistro(seis, u"V"_qs, u"2;1;1;1;1;1;"_qs);
  EXPECT_EQ(seis.FieldByName(u"V"_qs).AsString(), u"b"_qs);
}

TEST_P(Claves, RecordsAreCopiedAndPastedAndTablesPreparedForLookups) {
  EXPECT_EQ(CamposHoraRegistro(albaran), u"1|0001|uno|08:30:00||"_qs);
  albaran.Next();
  RestaurarCamposRegistro(albaran, u"SinIndices"_qs);
  albaran.Post();
  EXPECT_EQ(Valores(), QStringList({u"0005"_qs, u"uno"_qs, u"08:30:00"_qs}));
  // A value holding "|" shifts the later fields; a refused one is skipped.
  CamposHoraGuardados = u"9|9|A|B|x|"_qs;
  RestaurarCamposRegistro(albaran);
  EXPECT_EQ(Valores(), QStringList({u"9"_qs, u"A"_qs, u"08:30:00"_qs}));
  albaran.Cancel();

  albaran.SetIndexName(u"Nombre"_qs);
  albaran.SetRange({Variant::String(u"X"_qs)}, {Variant::String(u"X"_qs)});
  EXPECT_EQ(CamposHoraRegistro(albaran), QString());
  albaran.SetFilter(u"Codigo = '0005'"_qs);
  albaran.SetFiltered(true);
  ASSERT_TRUE(PrepararTabla(albaran));
  EXPECT_TRUE(!albaran.Filtered() && albaran.IndexName().isEmpty());
  EXPECT_EQ(albaran.RecordCount(), 3);
  Table inexistente;
  inexistente.SetTableName(u"NOEXISTE"_qs);
  // Opening it tries to create it: the data layer's engine says it has no definition.
  if (!EsSQLServer()) mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(PrepararTabla(inexistente));
}

TEST_P(Claves, ColumnsComeOnePerLineAndMemosAreLeftOutOnRequest) {
  const struct {
    const char* tabla;
    const char* opciones;
    const char* columnas;
  } casos[] = {
      {"ALBARAN", "", "Empresa\r\nCodigo\r\nNombre\r\nHoraEntrada\r\nNotas"},
      {"ALBARAN", "Sin Campos Memo", "Empresa\r\nCodigo\r\nNombre\r\nHoraEntrada"},
      {"dbo.ALBARAN", "Ordenadas,Sin Campos Memo", "Empresa\r\nCodigo\r\nNombre\r\nHoraEntrada"},
      {"ALBARAN", "SinMemos", "Empresa\r\nCodigo\r\nNombre\r\nHoraEntrada"},
      {"FICHAJE", "Sin Campos Memo", "HoraEntrada\r\nNota"},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(ColumnasSinMemos(QString::fromLatin1(caso.tabla), QString::fromLatin1(caso.opciones)),
              QString::fromLatin1(caso.columnas))
        << caso.tabla << " " << caso.opciones;
  // The columns the server can sort: no text or image ones.
  Ejecutar(u"CREATE TABLE ADJUNTO (Nombre VARCHAR(20) NULL, Notas TEXT NULL, Alta DATETIME NULL, Objeto IMAGE NULL, "
           "Importe FLOAT NULL)"_qs);
  EXPECT_EQ(ListaColumnas(u"ADJUNTO"_qs, u"Ordenables"_qs), u"Nombre;Alta;Importe"_qs);
  EXPECT_EQ(ListaColumnas(u"ALBARAN"_qs, u"Ordenables"_qs), u"Empresa;Codigo;Nombre;HoraEntrada"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

// The albaranes in a grid whose name column offers two names, and in a data
// combo box of those names.
TEST_P(Claves, GridAndComboValuesMustBeAmongTheirItems) {
  DataSource fuente;
  fuente.SetDataSet(&albaran);
  DBGrid rejilla;
  rejilla.SetSource(&fuente);
  rejilla.SetColumns({u"Codigo"_qs, u"Nombre"_qs, u"Notas"_qs});
  rejilla.SetColumnTitle(1, u"Cliente"_qs);
  rejilla.SetColumnPickList(1, {u"uno"_qs, u"tres"_qs});
  DBComboBox lista;
  lista.addItems({u"uno"_qs, u"tres"_qs});
  Field* nombre = &albaran.FieldByName(u"Nombre"_qs);
  Field* notas = &albaran.FieldByName(u"Notas"_qs);
  Field* hora = &albaran.FieldByName(u"HoraEntrada"_qs);
  const struct {
    int columna;  // the grid's current column
    const char* valor;
    Field* campo;
    bool enRejilla;
    bool enLista;
  } casos[] = {
      {1, "tres", nombre, true, true},
      {1, "cinco", nombre, false, false},
      {1, "Tres", nombre, false, false},  // items compare exactly
      {0, "cinco", nombre, true, false},  // the grid checks its current column only
      {2, "uno", notas, false, true},     // a column without a pick list takes nothing
      {2, "05/03/2024", hora, true, false},
  };
  albaran.First();
  albaran.Edit();
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.valor);
    rejilla.setCurrentIndex(rejilla.model()->index(0, caso.columna));
    caso.campo->SetText(QString::fromLatin1(caso.valor));
    if (!caso.enRejilla) mensajes.Expect(u"A"_qs);
    EXPECT_EQ(ValidarValoresRejilla(&rejilla, caso.campo), caso.enRejilla);
    if (!caso.enLista) mensajes.Expect(u"A"_qs);
    EXPECT_EQ(ValidarValoresRejilla(&lista, caso.campo), caso.enLista);
  }
  albaran.Cancel();
  EXPECT_TRUE(ValidarValoresRejilla(&fuente, nombre) && ValidarValoresRejilla(nullptr, nombre));
  const QStringList textos = mensajes.Texts();
  ASSERT_GE(textos.size(), 2);
  EXPECT_EQ(textos[0], u"¡ El valor \"cinco\" de la columna \"Cliente\" no es correcto !"_qs);
  EXPECT_EQ(textos[1], u"¡El valor \"cinco\" del campo \"Nombre\" no es correcto!"_qs);
  EXPECT_TRUE(textos.contains(u"¡ El valor \"uno\" de la columna \"Notas\" no es correcto !"_qs));
  EXPECT_TRUE(textos.last().endsWith(u"\" del campo \"Hora Entrada\" no es correcto!"_qs)) << textos.last().toStdString();
}

TEST(CamposNoVisibles, FragmentsHideAndDashedNamesExempt) {
  const std::tuple<const char*, const char*, bool> casos[] = {
      {"", "PrecioCoste", false},        {"Precio,-PrecioVenta", "PrecioCoste", true},
      {"Precio, -PrecioVenta", "preciOVENTA", false}, {" coste ", "PrecioCoste", true},
      {"Nombre,,Precio", "PrecioCoste", false},       {"-Precio", "PrecioCoste", false}};
  for (const auto& [lista, campo, oculto] : casos) {
    CamposNoVisiblesUsuario = QString::fromLatin1(lista);
    EXPECT_EQ(CampoNoVisible(QString::fromLatin1(campo)), oculto) << lista << campo;
  }
}

TEST_F(ConexionesFixture, CatalogueQueriesGoThroughTheModulesCache) {
  Iniciar();
  {
    TModuloDatos modulo;
    ModuloDatos = &modulo;
    ModuloDatosListo = true;
    Ejecutar(
        u"CREATE TABLE ARTICULO (Codigo VARCHAR(10), Notas TEXT NULL, CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))"_qs);
    EXPECT_EQ(CamposClavePrimaria(u"ARTICULO"_qs), u"Codigo"_qs);
    EXPECT_EQ(ListaColumnas(u"ARTICULO"_qs, u"SinMemos"_qs), u"Codigo"_qs);
    EXPECT_EQ(modulo.CacheConsultasSQL.Count(), 2);
    Ejecutar(u"DROP TABLE ARTICULO"_qs);
    EXPECT_EQ(CamposClavePrimaria(u"ARTICULO"_qs), u"Codigo"_qs) << "answered from the cache";
  }
  EXPECT_FALSE(ModuloDatosListo);
}

// A column whose name would be split in the list is left out of it and
// told, also when the list is answered from the module's cache.
TEST_F(ConexionesFixture, AColumnThatCannotBeListedIsLeftOutAlsoFromTheCache) {
  Iniciar();
  TModuloDatos modulo;
  ModuloDatos = &modulo;
  ModuloDatosListo = true;
  Ejecutar(u"CREATE TABLE ARTICULO (Codigo VARCHAR(10), [1=1);DELETE FROM VX--_] VARCHAR(10) NULL, [Año] INTEGER NULL)"_qs);
  for (int vez = 0; vez < 2; ++vez) {
    QStringList noValidos;
    EXPECT_EQ(ListaColumnas(u"ARTICULO"_qs, QString(), &noValidos), u"Codigo;Año"_qs);
    EXPECT_EQ(noValidos, QStringList{u"1=1);DELETE FROM VX--_"_qs});
  }
  EXPECT_EQ(modulo.CacheConsultasSQL.Count(), 1);
  ModuloDatosListo = false;
  ModuloDatos = nullptr;
}

