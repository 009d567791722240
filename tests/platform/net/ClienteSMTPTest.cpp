#include "platform/net/ClienteSMTP.h"
#include "tests/fixtures/ServidorLocal.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

// What the loopback server recorded: one object per message or refusal.
std::vector<QJsonObject> Registrado(const QString& registro) {
  std::vector<QJsonObject> lineas;
  QFile archivo(registro);
  if (!archivo.open(QIODevice::ReadOnly)) return lineas;
  for (const QByteArray& linea : archivo.readAll().split('\n'))
    if (!linea.isEmpty()) lineas.push_back(QJsonDocument::fromJson(linea).object());
  return lineas;
}

QStringList Lista(const QJsonValue& valor) {
  QStringList lista;
  for (const QJsonValue& elemento : valor.toArray())
    lista.append(elemento.isArray() ? Lista(elemento).join(u'|') : elemento.toString());
  return lista;
}

// A loopback server that refuses any malformed recipient, recording what it
// took and refused.
class ServidorEstricto : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    conexion.servidor = u"127.0.0.1"_qs;
    conexion.puerto = servidor.Puerto();
    mensaje.remitente = u"ventas@zem.es"_qs;
  }
  std::vector<QJsonObject> Registradas() const { return Registrado(registro); }

  QTemporaryDir carpeta;
  const QString registro = carpeta.filePath(u"registro.json"_qs);
  ServidorLocal servidor{u"smtp_prueba.py"_qs, {u"strict"_qs, registro}};
  ClienteSMTP::Conexion conexion;
  ClienteSMTP::Mensaje mensaje;
};

}  // namespace

// Address lists as address books and other mail programs write them reach
// a server that refuses any malformed recipient: each address once in the
// envelope, and the header read back by Python's mail parser gives every
// name and address as written.
TEST_F(ServidorEstricto, AddressListsWithQuotedNamesCommentsAndEncodedWordsArriveWhole) {
  mensaje.nombreRemitente = u"Ventas, Zem"_qs;
  mensaje.destinatarios =
      u"\"Pérez, José\" <jose@zem.es>, \"Gómez Ruiz, Ana (Compras)\" <ana@zem.es>; luis@zem.es (Luis \"el de almacén\"),"
      " =?ISO-8859-1?Q?Mu=F1oz=2C_Pilar?= <pilar@zem.es>, Equipo: marta@zem.es, \"O'Neil \\\"Jr\\\"\" <oneil@zem.es>;"
      " Ibáñez, Carmen <carmen@zem.es>; =?UTF-8?B?w5HDocOxZXo=?= =?UTF-8?Q?_Cruz?= <nunez@zem.es>"_qs;
  mensaje.copia = u"\"Contabilidad; central\" <conta@zem.es>, jose@zem.es"_qs;
  mensaje.asunto = u"Pedido"_qs;
  mensaje.cuerpo = u"t"_qs;
  EXPECT_NO_THROW(ClienteSMTP::Enviar(conexion, mensaje));

  const std::vector<QJsonObject> lineas = Registradas();
  ASSERT_EQ(lineas.size(), 1u) << QJsonDocument(lineas.empty() ? QJsonObject() : lineas[0]).toJson().toStdString();
  const QJsonObject recibido = lineas[0];
  EXPECT_EQ(Lista(recibido[u"rcpt_tos"_qs]),
            (QStringList{u"jose@zem.es"_qs, u"ana@zem.es"_qs, u"luis@zem.es"_qs, u"pilar@zem.es"_qs, u"marta@zem.es"_qs,
                         u"oneil@zem.es"_qs, u"carmen@zem.es"_qs, u"nunez@zem.es"_qs, u"conta@zem.es"_qs}));
  const QJsonObject cabecera = recibido[u"message"_qs].toObject();
  EXPECT_EQ(Lista(cabecera[u"to_named"_qs]),
            (QStringList{u"Pérez, José|jose@zem.es"_qs, u"Gómez Ruiz, Ana (Compras)|ana@zem.es"_qs,
                         u"Luis \"el de almacén\"|luis@zem.es"_qs, u"Muñoz, Pilar|pilar@zem.es"_qs,
                         u"|marta@zem.es"_qs, u"O'Neil \"Jr\"|oneil@zem.es"_qs, u"Ibáñez, Carmen|carmen@zem.es"_qs,
                         u"Ñáñez Cruz|nunez@zem.es"_qs}));
  EXPECT_EQ(Lista(cabecera[u"cc_named"_qs]),
            (QStringList{u"Contabilidad; central|conta@zem.es"_qs, u"|jose@zem.es"_qs}));
  EXPECT_EQ(cabecera[u"from"_qs].toString(), u"\"Ventas, Zem\" <ventas@zem.es>"_qs);
  EXPECT_TRUE(Lista(cabecera[u"defects"_qs]).isEmpty()) << Lista(cabecera[u"defects"_qs]).join(u' ').toStdString();
}

// The server's refusal is real: a recipient that is no address stops the
// message, as before.
TEST_F(ServidorEstricto, AServerRefusingAMalformedRecipientStopsTheMessage) {
  mensaje.destinatarios = u"jose@zem.es, almacen"_qs;
  EXPECT_THROW(ClienteSMTP::Enviar(conexion, mensaje), ClienteSMTP::Error);
  const std::vector<QJsonObject> lineas = Registradas();
  ASSERT_EQ(lineas.size(), 1u);
  EXPECT_EQ(lineas[0][u"refused"_qs].toString(), u"almacen"_qs);
}
