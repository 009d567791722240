#include "maintenance/actualizacion/TriggersActualizacion.h"

#include "core/connections/VariablesConexion.h"
#include "platform/engine/EngineDialect.h"
#include "platform/sql/SqlTokenizer.h"

#include "tests/core/connections/ConexionesFixture.h"

namespace {

constexpr auto kAlbaran =
    "ALBARAN/C/1/Serie/ftString/3/*/|01/06/2026\r\n"
    "ALBARAN/C/2/Numero/ftInteger/0/*/\r\n"
    "ALBARAN/C/3/Fecha/ftDateTime/0//\r\n"
    "ALBARAN/C/4/HoraSalida/ftDateTime/0//\r\n"
    "ALBARAN/C/5/Notas/ftMemo/0//\r\n"
    "ALBARAN/I/1/<Primary>/Serie;Numero//\r\n";

const QString kCondicion = u" (Serie = @Serie)  AND  (Numero = @Numero) "_qs;

QString texto(const AuditTrigger& trigger) { return EngineDialect::SqlServer().AuditTriggerText(trigger); }

// The definitions take in the user fields of the general database.
class TextosTriggers : public ConexionesFixture {
 protected:
  void SetUp() override { Iniciar(); }
};

}  // namespace

// Dates as dd/mm/yyyy, "Hora" fields as hh:mm:ss, other fields as text,
// memos left out; every value kept from emptying the whole text when NULL.
TEST_F(TextosTriggers, OnSqlServerTheyAreTheSystemsText) {
  const QList<AuditTrigger> triggers = TriggersAuditoria(u"ALBARAN"_qs, QString::fromLatin1(kAlbaran));
  ASSERT_EQ(triggers.size(), 3);
  const QString separacion =
      u"    IF CHARINDEX('|',APP_NAME()) > 0      BEGIN        SET @Aplicacion = SUBSTRING(APP_NAME(), 0, "
      "CHARINDEX('|',APP_NAME()))        SET @Usuario = SUBSTRING(APP_NAME(), CHARINDEX('|',APP_NAME())+1, "
      "LEN(APP_NAME())-(CHARINDEX('|',APP_NAME())))      END    ELSE      BEGIN        SET @Aplicacion = APP_NAME()"
      "        SET @Usuario = SYSTEM_USER      END"_qs;
  const QString clave = u"ISNULL(CAST(Serie AS VARCHAR), '') +'|'+ISNULL(CAST(Numero AS VARCHAR), '') "_qs;
  EXPECT_EQ(texto(triggers[0]),
            u"CREATE TRIGGER TriggerDeleteALBARAN ON ALBARAN  FOR DELETE AS  BEGIN    DECLARE @Usuario varchar(12)"
            "    DECLARE @Aplicacion varchar(30)     DECLARE @Serie varchar(3)\r\n DECLARE @Numero int\r\n"_qs +
                separacion +
                u"    DECLARE MICursor CURSOR FOR \t   SELECT Serie,Numero FROM deleted    OPEN MICursor    FETCH next "
                "FROM MICursor    INTO @Serie,@Numero    WHILE @@fetch_status = 0      BEGIN        INSERT INTO "
                "REGACCES SELECT 'ALBARAN',                          (SELECT "_qs +
                clave + u" FROM deleted WHERE "_qs + kCondicion +
                u"),                          @Usuario, getdate(),                         (SELECT 'Serie='+ "
                "ISNULL(CAST(Serie AS VARCHAR), '') +'|'+'Numero='+ ISNULL(CAST(Numero AS VARCHAR), '') +'|'+'Fecha='+ "
                "ISNULL(CONVERT( VARCHAR, Fecha, 103), '') +'|'+'HoraSalida='+ ISNULL(CONVERT( VARCHAR, HoraSalida, "
                "108), '') +'|' FROM deleted WHERE "_qs +
                kCondicion +
                u"),                         'Eliminar', @Aplicacion        FETCH next FROM MICursor        INTO "
                "@Serie,@Numero      END      CLOSE MICursor      DEALLOCATE MICursor  END"_qs);
  EXPECT_TRUE(texto(triggers[1]).startsWith(u"CREATE TRIGGER TriggerInsertALBARAN ON ALBARAN  FOR INSERT AS"_qs));
  EXPECT_TRUE(texto(triggers[1]).contains(u"'Insertar', @Aplicacion"_qs));
  const QString edicion = texto(triggers[2]);
  EXPECT_TRUE(edicion.startsWith(u"CREATE TRIGGER TriggerUpdateALBARAN ON ALBARAN  FOR UPDATE AS  BEGIN     DECLARE "
                                 "@Datos varchar(8000)"_qs));
  EXPECT_TRUE(edicion.contains(
      u"    IF UPDATE(HoraSalida)     BEGIN       SET @Datos = @Datos +                    (SELECT 'HoraSalida='"
      "                      +ISNULL(CONVERT( VARCHAR, HoraSalida, 108), '')                      FROM inserted WHERE "_qs +
      kCondicion +
      u")+                   (SELECT ' ['                      +ISNULL(CONVERT( VARCHAR, HoraSalida, 108), '')+']'"
      "                      FROM deleted WHERE "_qs +
      kCondicion + u")+'|'    END"_qs))
      << edicion.toStdString();
  EXPECT_FALSE(edicion.contains(u"UPDATE(Notas)"_qs));
  EXPECT_TRUE(edicion.contains(u"@Usuario, getdate(), @Datos,                         'Editar', @Aplicacion"
                               "         SET @Datos = ''"_qs));
}

TEST_F(TextosTriggers, TheAccessHistoryItselfGetsNoInsertTrigger) {
  const QList<AuditTrigger> triggers = TriggersAuditoria(
      u"REGACCES"_qs, u"REGACCES/C/1/NombreTabla/ftString/30/*/|01/06/2026\r\nREGACCES/C/2/Datos/ftMemo/0//\r\n"_qs);
  QStringList nombres;
  for (const AuditTrigger& trigger : triggers) nombres << trigger.name;
  EXPECT_EQ(nombres, (QStringList{u"TriggerDeleteREGACCES"_qs, u"TriggerUpdateREGACCES"_qs}));
}

TEST_F(TextosTriggers, TheBlobTriggerDeclaresTheImageTypeOfTheServer) {
  EXPECT_TRUE(TextoTriggerBLOBTAB().startsWith(u"CREATE TRIGGER TriggerUpdateImageBLOBTAB ON BLOBTAB   AFTER INSERT, "
                                               "UPDATE AS   BEGIN     DECLARE @Imagen varbinary(MAX),"_qs));
  VersionServidorSQL = u"Microsoft SQL Server  2000 - 8.00.2039"_qs;
  EXPECT_TRUE(TextoTriggerBLOBTAB().contains(u"DECLARE @Imagen IMAGE,"_qs));
}

// A stored field name is only a name in the server's text: read as the
// server reads it, none of its words comes out of a name, a string or a
// variable, whether it is a reserved word or a piece of a statement.
TEST_F(TextosTriggers, OnSqlServerAFieldsNameIsOnlyAName) {
  const QString definicion = u"RARA/C/1/Order/ftInteger/0/*/|01/06/2026\r\n"
                             "RARA/C/2/x) DROP TABLE V --/ftString/3/*/\r\n"
                             "RARA/C/3/Key/ftDateTime/0//\r\n"
                             "RARA/C/4/y]) TRUNCATE TABLE W --/ftInteger/0//\r\n"
                             "RARA/I/1/<Primary>/Order;x) DROP TABLE V --//\r\n"_qs;
  const QList<AuditTrigger> triggers = TriggersAuditoria(u"RARA"_qs, definicion);
  ASSERT_EQ(triggers.size(), 3);
  for (const AuditTrigger& trigger : triggers) {
    const QString sentencia = texto(trigger);
    SCOPED_TRACE(sentencia.toStdString());
    for (const SqlToken& pieza : TokenizeSql(sentencia))
      for (const char16_t* palabra : {u"ORDER", u"KEY", u"DROP", u"TABLE", u"V", u"TRUNCATE", u"W"})
        EXPECT_FALSE(pieza.IsWord(QStringView(palabra))) << pieza.text.toString().toStdString();
    EXPECT_FALSE(sentencia.contains(u"--"_qs) && !sentencia.contains(u"[x) DROP TABLE V --]"_qs));
  }
}
