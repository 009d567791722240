#include "core/datamodule/ExportacionExcel.h"
#include "platform/data/Field.h"
#include "platform/format/DateTime.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/Records.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/fixtures/XlsxSheet.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString kSeguir =
    u"El proceso siguiente cerrará todas las hojas Excel que tenga abiertas en este momento. Debe guardar "
    "preeviamente estas hojas para no perder sus datos. ¿Desea continuar en cualquier caso?"_qs;
const QString kFormato = u"¿Desea incluir la definición del formato de los campos?"_qs;

class ExportacionExcel : public ConexionesFixture {
 protected:
  ExportacionExcel() {
    Iniciar();
    Ejecutar(u"CREATE TABLE ARTICULO (Codigo INT, Nombre VARCHAR(300) NULL, Precio FLOAT NULL, Alta DATETIME NULL, "
             "HoraEntrada DATETIME NULL, HorasExtra FLOAT NULL, Notas TEXT NULL, Oculto VARCHAR(5) NULL, "
             "CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))"_qs);
    Abrir(articulos, u"ARTICULO"_qs);
    AppendRecord(articulos, {{u"Codigo"_qs, Int(1)},
                             {u"Nombre"_qs, Text(u"<b>&\"x\"\x01"_qs)},
                             {u"Precio"_qs, Variant::Double(1234.5)},
                             {u"Alta"_qs, Variant::Date(EncodeDate(2024, 3, 5))},
                             {u"HoraEntrada"_qs, Variant::Date(EncodeTime(8, 30, 15, 0))},
                             {u"HorasExtra"_qs, Variant::Double(2.5)},
                             {u"Notas"_qs, Text(u"uno\r\ndos"_qs)},
                             {u"Oculto"_qs, Text(u"no"_qs)}});
    AppendRecord(articulos, {{u"Codigo"_qs, Int(2)}, {u"Nombre"_qs, Text(u"=1+1"_qs)}, {u"Oculto"_qs, Text(u"007"_qs)}});
    articulos.FieldByName(u"Oculto"_qs).SetTag(999);
  }
  void Abrir(Table& tabla, const QString& nombre) {
    tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla.SetTableName(nombre);
    tabla.Open();
  }

  Table articulos;
  ScriptedDialogs dialogos;
};

TEST_F(ExportacionExcel, EachFieldGoesToItsColumnWithItsFormatAfterTheQuestions) {
  const QString archivo = carpeta.File(u"LISTPRG.XLS"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs);
  dialogos.ExpectFile(archivo);
  ExportarExcel(&articulos, nullptr, u"LISTPRG.XLS"_qs, QString());

  EXPECT_EQ(mensajes.Texts(), QStringList({kSeguir, kFormato, u"El archivo ha sido guardado en "_qs + archivo}));
  ASSERT_EQ(dialogos.Dialogs().size(), 1);
  EXPECT_EQ(dialogos.Dialogs()[0].title, u"Introducir el Nombre del Fichero de Excel"_qs);
  EXPECT_EQ(dialogos.Dialogs()[0].fileName, u"LISTPRG.XLS"_qs);
  EXPECT_EQ(dialogos.Dialogs()[0].nameFilters, QStringList({u"Archivos Excel (*.XLS *.xls)"_qs, u"Todos los Archivos (*)"_qs}));

  const XlsxSheet hoja = XlsxSheet::Read(archivo);
  ASSERT_TRUE(hoja.read);
  EXPECT_EQ(QStringList({hoja.Text("A1"), hoja.Text("B1"), hoja.Text("E1"), hoja.Text("F1"), hoja.Text("G1"), hoja.Text("H1")}),
            QStringList({"Codigo", "Nombre", "Hora Entrada", "Horas Extra", "Notas", ""}));
  EXPECT_TRUE(hoja.StyleOf("A1").bold);
  EXPECT_FALSE(hoja.StyleOf("A3").bold);
  EXPECT_TRUE(hoja.cells.keys().filter(QRegularExpression("^[A-Z]+2$")).isEmpty());
  EXPECT_EQ(QStringList({hoja.Text("A3"), hoja.Text("B3"), hoja.Text("C3"), hoja.Text("D3"), hoja.Text("E3"),
                         hoja.Text("F3"), hoja.Text("G3")}),
            QStringList({"1", "<b>&\"x\"", "1234.5", "05/03/2024", "08:30:15", "2.5", "uno\ndos"}));
  EXPECT_FALSE(hoja.cells["A3"].number);
  EXPECT_TRUE(hoja.cells["C3"].number);
  EXPECT_TRUE(hoja.cells["F3"].number);
  EXPECT_EQ(hoja.Text("B4"), "=1+1");
  EXPECT_FALSE(hoja.cells["B4"].number);
  EXPECT_EQ(hoja.Text("C4") + hoja.Text("D4") + hoja.Text("E4"), "");
  EXPECT_EQ(hoja.rows, 4);
  EXPECT_EQ(hoja.widths, (QMap<int, double>{{1, 10}, {2, 255}, {3, 15}, {4, 10}, {5, 10}, {6, 15}, {7, 40}}))
      << hoja.widths.values().size();
  const XlsxSheet::Style& texto = hoja.styles.at(hoja.columnStyles[1]);
  EXPECT_EQ(texto.numberFormat, "@");
  EXPECT_EQ(texto.horizontal, "left");
  EXPECT_EQ(texto.vertical, "top");
  const XlsxSheet::Style& numero = hoja.styles.at(hoja.columnStyles[3]);
  EXPECT_EQ(numero.numberFormat, "");
  EXPECT_EQ(numero.horizontal, "right");
  EXPECT_EQ(hoja.StyleOf("C3").horizontal, "right");
  EXPECT_EQ(hoja.StyleOf("B3").numberFormat, "@");
}

TEST_F(ExportacionExcel, WithoutHeadingsTheFirstRecordTakesTheFirstRow) {
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"NO"_qs).Expect(u"I"_qs);
  dialogos.ExpectFile(carpeta.File(u"sin"_qs));
  ExportarExcel(&articulos, nullptr, u"LISTPRG.XLS"_qs, QString());
  const XlsxSheet hoja = XlsxSheet::Read(carpeta.File(u"sin.xlsx"_qs));
  ASSERT_TRUE(hoja.read);
  EXPECT_EQ(hoja.Text("A1"), "1");
  EXPECT_EQ(hoja.Text("A2"), "2");
  EXPECT_EQ(hoja.rows, 2);
}

TEST_F(ExportacionExcel, ADetailFollowsEachRecordWithItsUntranslatedHeadings) {
  Ejecutar(u"CREATE TABLE LINEA (Linea INT, PrecioLinea FLOAT NULL, CONSTRAINT LINEA_Clave1 PRIMARY KEY (Linea))"_qs);
  Table lineas;
  Abrir(lineas, u"LINEA"_qs);
  AppendRecord(lineas, {{u"Linea"_qs, Int(1)}, {u"PrecioLinea"_qs, Variant::Double(0.5)}});
  AppendRecord(lineas, {{u"Linea"_qs, Int(2)}});
  ExportarExcel(&articulos, &lineas, carpeta.File(u"detalle.xlsx"_qs), u"SinDialogo"_qs);
  const XlsxSheet hoja = XlsxSheet::Read(carpeta.File(u"detalle.xlsx"_qs));
  ASSERT_TRUE(hoja.read);
  // A block: empty row, headings, empty row, record, empty row, detail headings, detail rows.
  QStringList columnaA;
  for (int fila = 1; fila <= hoja.rows; ++fila) columnaA << hoja.Text(u"A%1"_qs.arg(fila));
  EXPECT_EQ(columnaA, QStringList({"", "Codigo", "", "1", "", "Linea", "1", "2", "", "Codigo", "", "2", "", "Linea", "1", "2"}));
  EXPECT_EQ(hoja.Text("B6"), "Precio Linea");
  EXPECT_EQ(hoja.Text("B7"), "0.5");
  EXPECT_FALSE(hoja.cells["B7"].number);
  for (double ancho : hoja.widths) EXPECT_EQ(ancho, 8.43);
  EXPECT_EQ(hoja.styles.at(hoja.columnStyles[3]).numberFormat, "@");
}

TEST_F(ExportacionExcel, FieldsLeftOutTakeNoColumnAndColumnsGoOnPastZ) {
  QStringList columnas;
  for (int campo = 1; campo <= 28; ++campo) columnas << u"C%1 INT NULL"_qs.arg(campo);
  Ejecutar(u"CREATE TABLE ANCHA (Clave INT, %1, CONSTRAINT ANCHA_Clave1 PRIMARY KEY (Clave))"_qs.arg(columnas.join(", ")));
  Table ancha;
  Abrir(ancha, u"ANCHA"_qs);
  AppendRecord(ancha, {{u"Clave"_qs, Int(7)}, {u"C27"_qs, Int(27)}, {u"C28"_qs, Int(28)}});
  ancha.FieldByName(u"Clave"_qs).SetTag(999);
  ancha.FieldByName(u"C2"_qs).SetTag(999);
  ExportarExcel(&ancha, nullptr, carpeta.File(u"ancha.xlsx"_qs), u"SinDialogo"_qs);
  const XlsxSheet hoja = XlsxSheet::Read(carpeta.File(u"ancha.xlsx"_qs));
  EXPECT_EQ(hoja.Text("A1"), "C 1");
  EXPECT_EQ(hoja.Text("B1"), "C 3");
  EXPECT_EQ(hoja.Text("Z1"), "C 27");
  EXPECT_EQ(hoja.Text("AA1"), "C 28");
  EXPECT_EQ(hoja.Text("AA3"), "28");
  EXPECT_FALSE(hoja.cells.contains("AB1"));
}

TEST_F(ExportacionExcel, LongTextsAreCutWhereTheSheetEnds) {
  EditRecord(articulos, {{u"Notas"_qs, Text(QString(40000, u'x'))}});
  ExportarExcel(&articulos, nullptr, carpeta.File(u"largo.xlsx"_qs), u"SinDialogo"_qs);
  const XlsxSheet hoja = XlsxSheet::Read(carpeta.File(u"largo.xlsx"_qs));
  EXPECT_EQ(hoja.Text("G4").size(), 32767);
}

TEST_F(ExportacionExcel, AClosedDatasetIsWarnedAboutUnlessSilent) {
  articulos.Close();
  ExportarExcel(&articulos, nullptr, carpeta.File(u"x.xlsx"_qs), u"SinDialogo"_qs);
  mensajes.Expect(u"A"_qs);
  ExportarExcel(&articulos, nullptr, carpeta.File(u"x.xlsx"_qs), QString());
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡La tabla o consulta debe estar activada previamente!"_qs});
  EXPECT_FALSE(QFile::exists(carpeta.File(u"x.xlsx"_qs)));
}

TEST_F(ExportacionExcel, DecliningOrCancellingWritesNothing) {
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs);
  dialogos.ExpectFile(QString());
  ExportarExcel(&articulos, nullptr, carpeta.File(u"x.xlsx"_qs), QString());
  ExportarExcel(&articulos, nullptr, carpeta.File(u"x.xlsx"_qs), QString());
  EXPECT_EQ(QDir(carpeta.Path()).entryList({u"x.*"_qs}, QDir::Files), QStringList());
}

TEST_F(ExportacionExcel, AFailedSaveIsWarnedUnlessSilentAndLeavesNothing) {
  const QString archivo = carpeta.File(u"no/existe.xlsx"_qs);
  ExportarExcel(&articulos, nullptr, archivo, u"SinDialogo"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs);
  dialogos.ExpectFile(archivo);
  ExportarExcel(&articulos, nullptr, archivo, QString());
  ASSERT_EQ(mensajes.Messages().size(), 3);
  EXPECT_TRUE(mensajes.Messages()[2].text.startsWith(u"¡No ha sido posible grabar el archivo!. Motivo: "_qs));
  EXPECT_FALSE(QFile::exists(carpeta.File(u"no"_qs)));
}

TEST_F(ExportacionExcel, ASecondExportReplacesTheFileWhole) {
  const QString archivo = carpeta.File(u"dos.xlsx"_qs);
  ExportarExcel(&articulos, nullptr, archivo, u"SinDialogo"_qs);
  articulos.FieldByName(u"Nombre"_qs).SetTag(999);
  ExportarExcel(&articulos, nullptr, archivo, u"SinDialogo"_qs);
  const XlsxSheet hoja = XlsxSheet::Read(archivo);
  EXPECT_EQ(hoja.Text("B1"), "Precio");
  EXPECT_EQ(QDir(carpeta.Path()).entryList({u"dos*"_qs}, QDir::Files), QStringList{u"dos.xlsx"_qs});
}

}  // namespace
