#include "core/services/EnvioEMail.h"
#include "platform/net/ClienteSMTP.h"
#include "platform/net/OpcionesRed.h"
#include "tests/fixtures/ServidorLocal.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

namespace {

// The mail server of the settings, "smtp.prueba", is reached on loopback:
// each of its ports leads to one of the test's servers.
class EnvioSMTP : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    CrearCertificados(carpeta.path(), QStringLiteral("smtp.prueba"));
    previas = OpcionesRed::Actuales();
    OpcionesRed::Actuales().certificadosAutoridad = carpeta.filePath(QStringLiteral("ca.pem"));
    OpcionesRed::Actuales().limiteConexionMs = 5000;
    OpcionesRed::Actuales().limiteSilencioSegundos = 3;
  }
  void TearDown() override { OpcionesRed::Actuales() = previas; }

  // A server of the mode (plain, starttls, tls, silent) behind the port of smtp.prueba.
  void Servidor(const char* modo, int puertoNombrado) {
    servidores.push_back(std::make_unique<ServidorLocal>(
        QStringLiteral("smtp_prueba.py"),
        QStringList{QString::fromLatin1(modo), Registro(), carpeta.filePath(QStringLiteral("servidor.pem")),
                    carpeta.filePath(QStringLiteral("servidor.key"))}));
    OpcionesRed::Actuales().redirecciones.append(QStringLiteral("smtp.prueba:%1:127.0.0.1:%2")
                                                     .arg(puertoNombrado)
                                                     .arg(servidores.back()->Puerto()));
  }

  QString Registro() const { return carpeta.filePath(QStringLiteral("registro.json")); }

  // What the servers recorded: one object per message or AUTH attempt.
  std::vector<QJsonObject> Registrado() const {
    std::vector<QJsonObject> lineas;
    QFile archivo(Registro());
    if (!archivo.open(QIODevice::ReadOnly)) return lineas;
    for (const QByteArray& linea : archivo.readAll().split('\n'))
      if (!linea.isEmpty()) lineas.push_back(QJsonDocument::fromJson(linea).object());
    return lineas;
  }
  std::vector<QJsonObject> Mensajes() const {
    std::vector<QJsonObject> mensajes;
    for (const QJsonObject& linea : Registrado())
      if (linea.contains(QLatin1String("mail_from"))) mensajes.push_back(linea);
    return mensajes;
  }
  std::vector<QJsonObject> Autenticaciones() const {
    std::vector<QJsonObject> intentos;
    for (const QJsonObject& linea : Registrado())
      if (linea.contains(QLatin1String("auth"))) intentos.push_back(linea);
    return intentos;
  }

  static QString Ajustes(const QString& extra) {
    return QStringLiteral("ClienteSMTP=Indy\r\nServidorSMTP=smtp.prueba\r\nCuentaSMTPCopiasDocumentos=copias@zem.es\r\n") + extra;
  }

  QString Archivo(const QString& nombre, const QByteArray& contenido) const {
    QFile archivo(carpeta.filePath(nombre));
    archivo.open(QIODevice::WriteOnly);
    archivo.write(contenido);
    return archivo.fileName();
  }

  QTemporaryDir carpeta;
  OpcionesRed previas;
  std::vector<std::unique_ptr<ServidorLocal>> servidores;
};

QStringList Lista(const QJsonValue& valor) {
  QStringList lista;
  for (const QJsonValue& elemento : valor.toArray()) lista.append(elemento.toString());
  return lista;
}

TEST_F(EnvioSMTP, WithoutAPortTheMessageGoesInPlainTextToTheClientsDefaultPortWithoutLogin) {
  Servidor("plain", 25);
  EXPECT_TRUE(EnviarEMail(Ajustes(u"CuentaFromSMTP=ventas@zem.es"_qs), u"cliente@ejemplo.es"_qs, u"Oferta"_qs,
                          u"Adjunto la oferta."_qs, QString(), QString(), QString()));
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_FALSE(mensajes[0][u"tls"_qs].toBool());
  EXPECT_EQ(mensajes[0][u"mail_from"_qs].toString(), u"ventas@zem.es"_qs);
  EXPECT_EQ(Lista(mensajes[0][u"rcpt_tos"_qs]), (QStringList{u"cliente@ejemplo.es"_qs, u"copias@zem.es"_qs}));
  EXPECT_EQ(mensajes[0][u"message"_qs][u"cc"_qs].toString(), u"copias@zem.es"_qs);
  EXPECT_TRUE(Autenticaciones().empty());
}

TEST_F(EnvioSMTP, TheSenderIsTheFromAccountElseAUserNameWithAnAtSignElseTheCopyAccount) {
  Servidor("plain", 25);
  struct Caso {
    QString ajustes;
    QString remitente;
  };
  const std::vector<Caso> casos = {
      {u"CuentaFromSMTP=desde@zem.es\r\nCodigoUsuarioSMTP=usuario@zem.es\r\nClaveAccesoSMTP=x"_qs, u"desde@zem.es"_qs},
      {u"CodigoUsuarioSMTP=usuario@zem.es\r\nClaveAccesoSMTP=x"_qs, u"usuario@zem.es"_qs},
      {u"CodigoUsuarioSMTP=usuario\r\nClaveAccesoSMTP=secreto"_qs, u"copias@zem.es"_qs},
  };
  for (const Caso& caso : casos) EnviarEMailSMTP(Ajustes(caso.ajustes), u"a@b.es; c@d.es"_qs, u"s"_qs, u"t"_qs, {});
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), casos.size());
  for (std::size_t i = 0; i < casos.size(); ++i) {
    EXPECT_EQ(mensajes[i][u"mail_from"_qs].toString(), casos[i].remitente);
    EXPECT_EQ(Lista(mensajes[i][u"rcpt_tos"_qs]), (QStringList{u"a@b.es"_qs, u"c@d.es"_qs, u"copias@zem.es"_qs}));
  }
  EXPECT_EQ(Autenticaciones().size(), casos.size());  // a user or a password asks for login
}

TEST_F(EnvioSMTP, EmptySettingsOrRecipientSendNothing) {
  Servidor("plain", 25);
  EXPECT_FALSE(EnviarEMailSMTP(QString(), u"a@b.es"_qs, u"s"_qs, u"t"_qs, {}));
  EXPECT_FALSE(EnviarEMail(Ajustes({}), QString(), u"s"_qs, u"t"_qs, {}, {}, {}));
  EXPECT_TRUE(Registrado().empty());
}

TEST_F(EnvioSMTP, ImplicitTLSOnTheSecurePortsWithLoginAndNoSTARTTLS) {
  Servidor("tls", 465);
  Servidor("tls", 587);
  for (const char* puerto : {"465", "587"})
    EXPECT_TRUE(EnviarEMailSMTP(Ajustes(u"PuertoSSL="_qs + QLatin1String(puerto) +
                                        u"\r\nCodigoUsuarioSMTP=usuario\r\nClaveAccesoSMTP=secreto"_qs),
                                u"a@b.es"_qs, u"s"_qs, u"t"_qs, {}));
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), 2u);
  for (const QJsonObject& mensaje : mensajes) EXPECT_TRUE(mensaje[u"tls"_qs].toBool());
  const auto intentos = Autenticaciones();
  ASSERT_EQ(intentos.size(), 2u);
  for (const QJsonObject& intento : intentos) {
    EXPECT_EQ(intento[u"auth"_qs].toString(), u"LOGIN"_qs);
    EXPECT_EQ(intento[u"login"_qs].toString(), u"usuario"_qs);
    EXPECT_TRUE(intento[u"tls"_qs].toBool());
  }
}

TEST_F(EnvioSMTP, ASecurePortWhoseServerRefusesTLSFromTheStartIsRetriedWithSTARTTLS) {
  Servidor("starttls", 465);
  EXPECT_TRUE(EnviarEMailSMTP(Ajustes(u"PuertoSSL=465\r\nCodigoUsuarioSMTP=usuario\r\nClaveAccesoSMTP=secreto"_qs),
                              u"a@b.es"_qs, u"s"_qs, u"t"_qs, {}));
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_TRUE(mensajes[0][u"tls"_qs].toBool());
  ASSERT_EQ(Autenticaciones().size(), 1u);
  EXPECT_TRUE(Autenticaciones()[0][u"tls"_qs].toBool());
}

TEST_F(EnvioSMTP, ASecurePortWithoutTLSFailsWithoutSendingTheCredentials) {
  Servidor("plain", 587);
  EXPECT_THROW(EnviarEMailSMTP(Ajustes(u"PuertoSSL=587\r\nCodigoUsuarioSMTP=usuario\r\nClaveAccesoSMTP=secreto"_qs),
                               u"a@b.es"_qs, u"s"_qs, u"t"_qs, {}),
               ClienteSMTP::Error);
  EXPECT_TRUE(Registrado().empty());
}

TEST_F(EnvioSMTP, HeadersTakeNoLineBreaksAndAccentedTextsAndFileNamesArriveIntact) {
  Servidor("plain", 25);
  const QString existente = Archivo(u"presupuesto año.txt"_qs, "contenido\n");
  const QString adjuntos = existente + u'|' + carpeta.filePath(u"falta.txt"_qs);
  EXPECT_TRUE(EnviarEMailSMTP(Ajustes({}), u"Peña Ibáñez <a@b.es>"_qs, u"Factura ñandú\r\nBcc: espia@x.es"_qs,
                              u"Línea uno\r\n.\r\nLínea € dos"_qs, adjuntos));
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  const QJsonObject mensaje = mensajes[0][u"message"_qs].toObject();
  EXPECT_EQ(mensaje[u"subject"_qs].toString(), u"Factura ñandú  Bcc: espia@x.es"_qs);
  EXPECT_FALSE(Lista(mensaje[u"headers"_qs]).contains(u"Bcc"_qs, Qt::CaseInsensitive));
  EXPECT_FALSE(Lista(mensajes[0][u"rcpt_tos"_qs]).contains(u"espia@x.es"_qs));
  EXPECT_EQ(mensaje[u"body"_qs].toString().replace(u"\r\n"_qs, u"\n"_qs), u"Línea uno\n.\nLínea € dos"_qs);
  const QJsonArray adjuntados = mensaje[u"attachments"_qs].toArray();
  ASSERT_EQ(adjuntados.size(), 1);
  EXPECT_EQ(adjuntados[0][u"name"_qs].toString(), u"presupuesto año.txt"_qs);
  EXPECT_EQ(adjuntados[0][u"size"_qs].toInt(), 10);
}

// A long subject is folded, never one line past the standard's limit, and
// arrives whole: accented or plain, with blanks or without.
TEST_F(EnvioSMTP, LongSubjectsAreFoldedAndArriveIntact) {
  Servidor("plain", 25);
  const QString acentuado = QStringLiteral("Presupuesto de la obra de Peña Ibáñez, año 2024 (€) ").repeated(16);
  const QString llano = QStringLiteral("Pedido de material para la obra ").repeated(25);
  const QString sinBlancos = QStringLiteral("x").repeated(120) + QStringLiteral("ñ😀").repeated(40);
  for (const QString& asunto : {acentuado, llano, sinBlancos, QStringLiteral("ñ")}) {
    EXPECT_TRUE(EnviarEMailSMTP(Ajustes({}), u"a@b.es"_qs, asunto, u"t"_qs, {}));
  }
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), 4u);
  const QString esperados[] = {acentuado.trimmed(), llano.trimmed(), sinBlancos, QStringLiteral("ñ")};
  for (size_t i = 0; i < mensajes.size(); ++i) {
    const QJsonObject mensaje = mensajes[i][u"message"_qs].toObject();
    EXPECT_EQ(mensaje[u"subject"_qs].toString().trimmed(), esperados[i]) << i;
    const QStringList lineas = Lista(mensaje[u"subject_lines"_qs]);
    EXPECT_EQ(lineas.size() > 1, i < 3) << i;
    for (const QString& linea : lineas) EXPECT_LE(linea.size(), 78) << linea.toStdString();
  }
}

// Sixty recipients make no header line past the standard's 78 characters
// (servers may refuse lines over 998), and each address arrives whole.
TEST_F(EnvioSMTP, ALongListOfRecipientsIsFoldedBetweenWholeAddresses) {
  Servidor("plain", 25);
  QStringList destinatarios;
  QStringList correos;
  for (int i = 0; i < 60; ++i) {
    correos.append(u"destinatario.numero%1@delegacion-norte.zem.es"_qs.arg(i));
    destinatarios.append(i % 3 == 0   ? correos.back()
                         : i % 3 == 1 ? u"Peña Ibáñez %1 <%2>"_qs.arg(i).arg(correos.back())
                                      : u"Almacén de recambios número %1 de la delegación <%2>"_qs.arg(i).arg(correos.back()));
  }
  EXPECT_TRUE(EnviarEMailSMTP(Ajustes({}), destinatarios.join(u';'), u"Circular"_qs, u"t"_qs, {}));
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  const QJsonObject mensaje = mensajes[0][u"message"_qs].toObject();
  // The address lines are ours; the MIME lines are the mail library's.
  const QStringList lineas = Lista(mensaje[u"header_lines"_qs]);
  QStringList direcciones;
  bool dentro = false;
  for (const QString& linea : lineas) {
    EXPECT_LE(linea.size(), 998) << linea.toStdString();
    dentro = linea.startsWith(u"To:"_qs) || linea.startsWith(u"From:"_qs) || (dentro && linea.startsWith(u' '));
    if (dentro) direcciones << linea;
  }
  EXPECT_GT(direcciones.size(), 20);
  for (const QString& linea : direcciones) EXPECT_LE(linea.size(), 78) << linea.toStdString();
  EXPECT_EQ(Lista(mensaje[u"to_addresses"_qs]), correos);
  EXPECT_EQ(Lista(mensajes[0][u"rcpt_tos"_qs]), correos + QStringList{u"copias@zem.es"_qs});
}

TEST_F(EnvioSMTP, ALargeAttachmentIsStreamedWhole) {
  // The test's server reads 50 MB slowly on a loaded machine: the silence
  // limit is the program's own, not the short one the other cases use.
  OpcionesRed::Actuales().limiteSilencioSegundos = OpcionesRed().limiteSilencioSegundos;
  Servidor("plain", 25);
  QFile grande(carpeta.filePath(u"grande.bin"_qs));
  ASSERT_TRUE(grande.open(QIODevice::WriteOnly));
  ASSERT_TRUE(grande.resize(50 << 20));
  grande.close();
  EXPECT_TRUE(EnviarEMailSMTP(Ajustes({}), u"a@b.es"_qs, u"s"_qs, u"t"_qs, grande.fileName()));
  const auto mensajes = Mensajes();
  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_EQ(mensajes[0][u"message"_qs][u"attachments"_qs][0][u"size"_qs].toInt(), 50 << 20);
}

TEST_F(EnvioSMTP, AServerThatStopsAnsweringFailsWithinTheLimits) {
  Servidor("silent", 25);
  EXPECT_THROW(EnviarEMailSMTP(Ajustes({}), u"a@b.es"_qs, u"s"_qs, u"t"_qs, {}), ClienteSMTP::Error);
}

}  // namespace
