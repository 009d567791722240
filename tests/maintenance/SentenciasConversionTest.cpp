#include "maintenance/ArchivoEquivalencias.h"
#include "maintenance/SentenciasConversion.h"
#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

TEST(ClausulaIntercalacion, MakesTheFirstCaseAndAccentMarksSensitive) {
  const struct {
    const char* intercalacion;
    const char* clausula;
  } casos[] = {
      {"SQL_Latin1_General_Cp1_CI_AI", "COLLATE SQL_Latin1_General_Cp1_CS_AS"},
      {"Modern_Spanish_CI_AS", "COLLATE Modern_Spanish_CS_AS"},
      {"Latin1_General_BIN", "COLLATE Latin1_General_BIN"},
      {"X_CI_CI_AI_AI", "COLLATE X_CS_CI_AS_AI"},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(ClausulaIntercalacion(QString::fromUtf8(caso.intercalacion)), QString::fromUtf8(caso.clausula));
}

// The statements a real server receives, each column kind on both server forms.
TEST(SentenciaSustitucion, CastsEachColumnKindToATypeThatKeepsItsCharacters) {
  const ServidorConversion actual{u"Modern_Spanish_CI_AI"_qs, false};
  const ServidorConversion antiguo{u"Modern_Spanish_CI_AI"_qs, true};
  const struct {
    int tipo;
    const ServidorConversion& servidor;
    const char* sentencia;
  } casos[] = {
      {167, actual,
       "USE ZEMEMP1 UPDATE ARTICULO  SET Nombre =        REPLACE(CAST (Nombre AS VARCHAR(MAX)), 'Ñ' COLLATE "
       "Modern_Spanish_CS_AS, 'N')   WHERE Nombre LIKE '%Ñ%' COLLATE Modern_Spanish_CS_AS"},
      {231, actual,
       "USE ZEMEMP1 UPDATE ARTICULO  SET Nombre =        REPLACE(CAST (Nombre AS NVARCHAR(MAX)), N'Ñ' COLLATE "
       "Modern_Spanish_CS_AS, N'N')   WHERE Nombre LIKE N'%Ñ%' COLLATE Modern_Spanish_CS_AS"},
      {35, antiguo,
       "USE ZEMEMP1 UPDATE ARTICULO  SET Nombre =        REPLACE(CAST (Nombre AS VARCHAR(8000)), 'Ñ' COLLATE "
       "Modern_Spanish_CS_AS, 'N')   WHERE Nombre LIKE '%Ñ%' COLLATE Modern_Spanish_CS_AS AND DATALENGTH(Nombre) <= 8000"},
      {99, antiguo,
       "USE ZEMEMP1 UPDATE ARTICULO  SET Nombre =        REPLACE(CAST (Nombre AS NVARCHAR(4000)), N'Ñ' COLLATE "
       "Modern_Spanish_CS_AS, N'N')   WHERE Nombre LIKE N'%Ñ%' COLLATE Modern_Spanish_CS_AS AND DATALENGTH(Nombre) <= 8000"},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(SentenciaSustitucion(u"ZEMEMP1"_qs, {u"ARTICULO"_qs, u"Nombre"_qs, caso.tipo}, {u"Ñ"_qs, u"N"_qs}, caso.servidor),
              QString::fromUtf8(caso.sentencia))
        << caso.tipo;
}

TEST(SentenciaSustitucion, QuotesTextsAndNamesAndFindsWildcardsLiterally) {
  EXPECT_EQ(SentenciaSustitucion(u"ZEMEMP1"_qs, {u"T; DROP"_qs, u"a]b"_qs, 175}, {u"O'B 5%_[x"_qs, u"'"_qs},
                                 {u"Latin1_General_CI_AS"_qs, false}),
            u"USE ZEMEMP1 UPDATE [T; DROP]  SET [a]]b] =        REPLACE(CAST ([a]]b] AS VARCHAR(MAX)), 'O''B 5%_[x' "
            "COLLATE Latin1_General_CS_AS, '''')   WHERE [a]]b] LIKE '%O''B 5[%][_][[]x%' COLLATE Latin1_General_CS_AS"_qs);
  EXPECT_EQ(SentenciaColumnasTexto(u"ZEMEMP1"_qs, u"T'; DROP TABLE X"_qs),
            u"USE ZEMEMP1; SELECT O.Name, C.Name, C.xtype   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id "
            "  WHERE O.name = 'T''; DROP TABLE X'    AND C.xtype IN (167, 35, 99, 175, 231, 239)  ORDER BY C.colid"_qs);
}

class ArchivoEquivalencias : public ::testing::Test {
 protected:
  QString Escribir(const QByteArray& bytes) {
    const QString ruta = QDir(carpeta.Path()).filePath(u"pares.txt"_qs);
    TextFile::WriteBytes(ruta, bytes);
    return ruta;
  }
  TemporaryFolder carpeta;
};

TEST_F(ArchivoEquivalencias, ReadsPairsUpToTheFirstEmptyLine) {
  const struct {
    QByteArray bytes;
    QList<ParEquivalencia> pares;
  } casos[] = {
      {"\xD1;N\r\n\xFA;\r\n", {{u"Ñ"_qs, u"N"_qs}, {u"ú"_qs, QString()}}},
      {"sin separador\nO'B;a;b\n", {{u"sin separador"_qs, QString()}, {u"O'B"_qs, u"a;b"_qs}}},
      {";x\r\n\r\nno;leida\r\n", {{QString(), u"x"_qs}}},
      {"a\x01\xFF;\x81\r", {{u"a\x01ÿ"_qs, Cp1252::decode("\x81")}}},
      {"", {}},
  };
  for (const auto& caso : casos) EXPECT_EQ(LeerArchivoEquivalencias(Escribir(caso.bytes)), caso.pares) << caso.bytes.data();
}

TEST_F(ArchivoEquivalencias, KeepsTheFirstPairsTheTableHolds) {
  QByteArray bytes;
  for (int i = 0; i < 300; ++i) bytes += QByteArray::number(i) + ";x\r\n";
  const QList<ParEquivalencia> pares = LeerArchivoEquivalencias(Escribir(bytes));
  ASSERT_EQ(pares.size(), 255);
  EXPECT_EQ(pares.last().anterior, u"254"_qs);
}

TEST_F(ArchivoEquivalencias, WritesWindows1252UpToTheFirstEmptyPairAndReadsItBack) {
  const QString ruta = QDir(carpeta.Path()).filePath(u"Tabla_Equivalencias.txt"_qs);
  const QList<ParEquivalencia> pares{{u"Ã‘"_qs, u"Ñ"_qs}, {u"50%"_qs, QString()}, {QString(), u"x"_qs}};
  EscribirArchivoEquivalencias(ruta, pares + QList<ParEquivalencia>{{}, {u"tras"_qs, u"vacio"_qs}});
  EXPECT_EQ(TextFile::ReadBytes(ruta), QByteArray("\xC3\x91;\xD1\r\n50%;\r\n;x\r\n"));
  EXPECT_EQ(LeerArchivoEquivalencias(ruta), pares);
  EXPECT_THROW(LeerArchivoEquivalencias(ruta + u".no"_qs), Exception);
}

}  // namespace
