#include "platform/net/CabecerasCorreo.h"

#include "platform/Cp1252.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>

// The address lists of the mail header grammar (quoted names, comments,
// encoded words, groups, routes), and the lists users type: ";" between
// addresses as well as ",", names with accents left bare, and a bare
// "Pérez, José <jose@zem.es>" read as the one address its words can make.
namespace CabecerasCorreo {

namespace {

std::optional<QString> textoEnJuego(const QByteArray& bytes, QString juego) {
  juego = juego.section(u'*', 0, 0).toLower();  // a language follows the asterisk
  if (juego == u"windows-1252" || juego == u"cp1252") return Cp1252::decode(bytes);
  if (juego == u"iso-8859-15" || juego == u"latin-9") {
    // Latin-1 but for eight characters.
    static const std::pair<char16_t, char16_t> cambios[] = {{0xA4, 0x20AC}, {0xA6, 0x160}, {0xA8, 0x161},
                                                             {0xB4, 0x17D}, {0xB8, 0x17E}, {0xBC, 0x152},
                                                             {0xBD, 0x153}, {0xBE, 0x178}};
    QString texto = QString::fromLatin1(bytes);
    for (const auto& [latin1, propio] : cambios) texto.replace(QChar(latin1), QChar(propio));
    return texto;
  }
  QStringDecoder decodificador(juego.toLatin1().constData());
  if (!decodificador.isValid()) return std::nullopt;
  QString texto = decodificador(bytes);
  if (decodificador.hasError()) return std::nullopt;
  return texto;
}

// An encoded word's text; nothing when the word is not one or its
// character set is unknown (then it stays as written).
std::optional<QString> palabraDecodificada(const QString& palabra) {
  static const QRegularExpression forma(QStringLiteral("^=\\?([^?]+)\\?([BbQq])\\?([^?]*)\\?=$"));
  const QRegularExpressionMatch partes = forma.match(palabra);
  if (!partes.hasMatch()) return std::nullopt;
  QByteArray bytes = partes.captured(3).toLatin1();
  if (partes.captured(2).compare(u"B", Qt::CaseInsensitive) == 0) {
    const auto leido = QByteArray::fromBase64Encoding(bytes, QByteArray::AbortOnBase64DecodingErrors);
    if (!leido) return std::nullopt;
    bytes = *leido;
  } else {
    bytes = QByteArray::fromPercentEncoding(bytes.replace('_', ' '), '=');
  }
  return textoEnJuego(bytes, partes.captured(1));
}

// The words of a name: encoded words next to each other join without the
// blanks between them; quoted text is never decoded.
struct Palabra {
  QString texto;
  bool citada = false;
};

QString Frase(const std::vector<Palabra>& palabras) {
  QString frase;
  bool anteriorCodificada = false;
  for (const Palabra& palabra : palabras) {
    const std::optional<QString> decodificada = palabra.citada ? std::nullopt : palabraDecodificada(palabra.texto);
    if (!frase.isEmpty() && !(decodificada && anteriorCodificada)) frase += u' ';
    frase += decodificada ? *decodificada : palabra.texto;
    anteriorCodificada = decodificada.has_value();
  }
  return frase;
}

// One address as it is read.
struct Leida {
  std::vector<Palabra> palabras;  // outside the angle brackets
  QString desnuda;                // the same without blanks and comments: a bare address
  QString comentario;             // the first comment
  std::optional<QString> angulo;  // the address in angle brackets
  bool trasComa = false;          // ended by ","
};

class Lector {
 public:
  explicit Lector(const QString& lista) : texto_(lista) {}

  std::vector<Leida> Leer() {
    std::vector<Leida> leidas;
    Leida actual;
    bool enPalabra = false;
    const auto cortarPalabra = [&] { enPalabra = false; };
    while (i_ < texto_.size()) {
      const QChar c = texto_.at(i_);
      if (c == u'"') {
        ++i_;
        const QString citado = Citado();
        actual.palabras.push_back({citado, true});
        actual.desnuda += u'"' + QString(citado).replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\"")) + u'"';
        cortarPalabra();
      } else if (c == u'(') {
        ++i_;
        const QString comentario = Comentario().simplified();
        if (actual.comentario.isEmpty()) actual.comentario = comentario;
        cortarPalabra();
      } else if (c == u'<') {
        ++i_;
        actual.angulo = DireccionEnAngulo();
        cortarPalabra();
      } else if (c == u',' || c == u';') {
        ++i_;
        actual.trasComa = c == u',';
        leidas.push_back(std::move(actual));
        actual = Leida();
        cortarPalabra();
      } else if (c == u':' && !actual.angulo && !actual.desnuda.contains(u'@')) {
        // A group's name: its members are the addresses.
        ++i_;
        actual = Leida();
        cortarPalabra();
      } else if (c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7F) {
        ++i_;
        cortarPalabra();
      } else {
        ++i_;
        if (!enPalabra) actual.palabras.push_back({});
        actual.palabras.back().texto += c;
        actual.desnuda += c;
        enPalabra = true;
      }
    }
    leidas.push_back(std::move(actual));
    return leidas;
  }

 private:
  // After the opening quote: the text to the closing one, escapes undone.
  QString Citado() {
    QString citado;
    while (i_ < texto_.size()) {
      const QChar c = texto_.at(i_++);
      if (c == u'"') break;
      if (c == u'\\' && i_ < texto_.size()) citado += texto_.at(i_++);
      else citado += c.unicode() < 0x20 || c.unicode() == 0x7F ? QChar(u' ') : c;
    }
    return citado;
  }

  // After the opening bracket: the comment's text, nested ones included.
  QString Comentario() {
    QString comentario;
    for (int nivel = 1; i_ < texto_.size();) {
      const QChar c = texto_.at(i_++);
      if (c == u'\\' && i_ < texto_.size()) {
        comentario += texto_.at(i_++);
        continue;
      }
      if (c == u'(') ++nivel;
      if (c == u')' && --nivel == 0) break;
      comentario += c;
    }
    return comentario;
  }

  // After "<": the address to ">", without blanks, comments or a route.
  QString DireccionEnAngulo() {
    QString direccion;
    while (i_ < texto_.size()) {
      const QChar c = texto_.at(i_++);
      if (c == u'>') break;
      if (c == u'"') {
        direccion += u'"' + QString(Citado()).replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\"")) + u'"';
      } else if (c == u'(') {
        Comentario();
      } else if (!c.isSpace() && c.unicode() >= 0x20 && c != u'<') {
        direccion += c;
      }
    }
    if (direccion.startsWith(u'@') && direccion.contains(u':')) direccion = direccion.section(u':', 1);
    return direccion;
  }

  const QString& texto_;
  qsizetype i_ = 0;
};

}  // namespace

std::vector<struct Direccion> Direcciones(const QString& lista) {
  std::vector<Leida> leidas = Lector(lista).Leer();
  std::vector<struct Direccion> direcciones;
  QString nombrePendiente;  // words without an address, before "," and a named address
  for (std::size_t n = 0; n < leidas.size(); ++n) {
    Leida& leida = leidas[n];
    const bool sinDireccion = !leida.angulo && !leida.desnuda.contains(u'@');
    if (sinDireccion && leida.trasComa && n + 1 < leidas.size() && leidas[n + 1].angulo &&
        !leidas[n + 1].palabras.empty() && !leida.palabras.empty()) {
      nombrePendiente += Frase(leida.palabras) + QStringLiteral(", ");
      continue;
    }
    struct Direccion direccion;
    if (leida.angulo) {
      direccion.correo = *leida.angulo;
      direccion.nombre = leida.palabras.empty() ? leida.comentario : nombrePendiente + Frase(leida.palabras);
    } else {
      direccion.correo = leida.desnuda;
      direccion.nombre = leida.comentario;
    }
    nombrePendiente.clear();
    if (!direccion.correo.isEmpty()) direcciones.push_back(std::move(direccion));
  }
  return direcciones;
}

}  // namespace CabecerasCorreo
