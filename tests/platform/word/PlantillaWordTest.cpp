#include "platform/word/PlantillaWord.h"

#include "tests/fixtures/PaquetesZip.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

namespace {

const char* const kNs = R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";

QByteArray Parte(const QByteArray& raiz, const QByteArray& cuerpo) {
  return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)" "\n<w:" + raiz + " " + kNs + ">" + cuerpo +
         "</w:" + raiz + ">";
}

// About a megabyte of characters the XML escapes.
const QString kGrande = u"<&>"_qs.repeated(350000);

const PlantillaWord::ValorCampo kCampos = [](const QString& campo) -> std::optional<QString> {
  const QMap<QString, QString> valores{{u"Cliente"_qs, u"ACME & <Hijos> </w:t>"_qs},
                                       {u"Grande"_qs, kGrande},
                                       {u"Direccion"_qs, u"Calle 1\r\nMadrid"_qs},
                                       {u"Fecha"_qs, u"07/12/2026"_qs}};
  if (!valores.contains(campo)) return std::nullopt;
  return valores.value(campo);
};

class Plantilla : public testing::Test {
 protected:
  QString Rellenar(const QMap<QString, QByteArray>& partes) {
    EscribirPaquete(carpeta.File(u"modelo.docx"_qs), partes);
    return PlantillaWord::Rellenar(carpeta.File(u"modelo.docx"_qs), carpeta.File(u"relleno.docx"_qs), kCampos);
  }
  TemporaryFolder carpeta;
};

}  // namespace

TEST_F(Plantilla, PlaceholdersOverRunsInHeadersAndWithLineBreaksAreFilled) {
  const QByteArray cuerpo =
      "<w:body><w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>"
      "<w:r><w:rPr><w:b/></w:rPr><w:t>Sr. $Cli</w:t></w:r><w:r><w:t>en</w:t></w:r><w:r><w:t>te$ y $NoExiste$</w:t></w:r>"
      "</w:p><w:p><w:pPr><w:ind w:left=\"720\"/></w:pPr><w:r><w:rPr><w:i/></w:rPr><w:t>$Direccion$.</w:t></w:r></w:p>"
      "<w:p><w:r><w:t>$Grande$</w:t></w:r></w:p></w:body>";
  ASSERT_EQ(Rellenar({{u"[Content_Types].xml"_qs, "<Types/>"},
                      {u"word/document.xml"_qs, Parte("document", cuerpo)},
                      {u"word/header1.xml"_qs, Parte("hdr", "<w:p><w:r><w:t>Fecha: $Fecha$</w:t></w:r></w:p>")},
                      {u"word/styles.xml"_qs, "<x>$Fecha$</x>"}}),
            QString());
  const QString documento = QString::fromUtf8(LeerParte(carpeta.File(u"relleno.docx"_qs), "word/document.xml"));
  EXPECT_TRUE(documento.contains(
      u"<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Sr. ACME &amp; &lt;Hijos&gt; &lt;/w:t&gt;</w:t></w:r>"
      "<w:r><w:t xml:space=\"preserve\"></w:t></w:r><w:r><w:t xml:space=\"preserve\"> y $NoExiste$</w:t></w:r>"_qs))
      << documento.toStdString();
  EXPECT_TRUE(documento.contains(
      u"<w:p><w:pPr><w:ind w:left=\"720\"/></w:pPr><w:r><w:rPr><w:i/></w:rPr><w:t xml:space=\"preserve\">Calle 1</w:t>"
      "</w:r></w:p><w:p><w:pPr><w:ind w:left=\"720\"/></w:pPr><w:r><w:rPr><w:i/></w:rPr>"
      "<w:t xml:space=\"preserve\">Madrid.</w:t></w:r></w:p>"_qs))
      << documento.toStdString();
  EXPECT_TRUE(documento.contains(u"<w:t xml:space=\"preserve\">"_qs + u"&lt;&amp;&gt;"_qs.repeated(350000) + u"</w:t>"_qs));
  EXPECT_TRUE(documento.contains(QLatin1String(kNs)));
  EXPECT_TRUE(QString::fromUtf8(LeerParte(carpeta.File(u"relleno.docx"_qs), "word/header1.xml")).contains(u"Fecha: 07/12/2026"_qs));
  EXPECT_EQ(LeerParte(carpeta.File(u"relleno.docx"_qs), "word/styles.xml"), QByteArray("<x>$Fecha$</x>"));
  EXPECT_EQ(LeerParte(carpeta.File(u"relleno.docx"_qs), "[Content_Types].xml"), QByteArray("<Types/>"));
}

TEST_F(Plantilla, WhatIsNoWordDocumentIsRefusedAndTheTargetKept) {
  QFile anterior(carpeta.File(u"relleno.docx"_qs));
  ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
  anterior.write("anterior");
  anterior.close();
  const QByteArray doctype = R"(<?xml version="1.0"?><!DOCTYPE w [<!ENTITY e "x">]><w:document )" + QByteArray(kNs) +
                             "><w:body><w:p><w:r><w:t>&e;</w:t></w:r></w:p></w:body></w:document>";
  const struct {
    const char* caso;
    QMap<QString, QByteArray> partes;
    const char* motivo;  // none: the XML reader's own
  } casos[] = {
      {"sin documento", {{u"word/otro.xml"_qs, "<x/>"}}, "El archivo no es un documento de Word"},
      {"DOCTYPE", {{u"word/document.xml"_qs, doctype}}, "El documento contiene una declaración DOCTYPE"},
      {"mas de 64 MB",
       {{u"word/document.xml"_qs, Parte("document", "")},
        {u"word/media/relleno.bin"_qs, QByteArray(PlantillaWord::kMayorTamano, '\0')}},
       "El documento ocupa más de 64 MB"},
      {"XML roto", {{u"word/document.xml"_qs, "<w:document><w:body>"}}, nullptr},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.caso);
    const QString motivo = Rellenar(caso.partes);
    EXPECT_FALSE(motivo.isEmpty());
    if (caso.motivo) {
      EXPECT_EQ(motivo, QString::fromUtf8(caso.motivo));
    }
    QFile leido(carpeta.File(u"relleno.docx"_qs));
    ASSERT_TRUE(leido.open(QIODevice::ReadOnly));
    EXPECT_EQ(leido.readAll(), QByteArray("anterior"));
  }
  QFile texto(carpeta.File(u"texto.docx"_qs));
  ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
  texto.write("no soy un zip");
  texto.close();
  EXPECT_EQ(PlantillaWord::Rellenar(carpeta.File(u"texto.docx"_qs), carpeta.File(u"relleno.docx"_qs), kCampos),
            u"El archivo no es un documento de Word"_qs);
}
