// The placeholders of one XML part of a Word document, paragraph by
// paragraph: the text of a paragraph's runs is read as one string, so a
// placeholder the editor split over runs is still found.
#include "platform/word/PlantillaWord.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <vector>

namespace {

// Stands for a CR LF of a value until the paragraph is written.
constexpr QChar kSaltoParrafo(0xE000);

struct Token {
  QXmlStreamReader::TokenType tipo = QXmlStreamReader::NoToken;
  QString nombre;  // qualified, as written
  QXmlStreamAttributes atributos;
  QString texto;
  bool cdata = false;
};

QStringView Local(const QString& nombre) {
  const qsizetype dos = nombre.lastIndexOf(u':');
  return QStringView(nombre).mid(dos + 1);
}

Token Leer(const QXmlStreamReader& lector) {
  Token token;
  token.tipo = lector.tokenType();
  switch (token.tipo) {
    case QXmlStreamReader::StartElement:
      token.nombre = lector.qualifiedName().toString();
      token.atributos = lector.attributes();
      break;
    case QXmlStreamReader::EndElement: token.nombre = lector.qualifiedName().toString(); break;
    case QXmlStreamReader::Characters:
      token.texto = lector.text().toString();
      token.cdata = lector.isCDATA();
      break;
    case QXmlStreamReader::Comment: token.texto = lector.text().toString(); break;
    case QXmlStreamReader::ProcessingInstruction:
      token.nombre = lector.processingInstructionTarget().toString();
      token.texto = lector.processingInstructionData().toString();
      break;
    default: break;
  }
  return token;
}

class Escritor {
 public:
  explicit Escritor(QByteArray* destino) : escritor_(destino) {}

  void Escribir(const Token& token) {
    switch (token.tipo) {
      case QXmlStreamReader::StartDocument: escritor_.writeStartDocument(u"1.0"_qs, true); break;
      case QXmlStreamReader::EndDocument: escritor_.writeEndDocument(); break;
      case QXmlStreamReader::StartElement:
        escritor_.writeStartElement(token.nombre);
        escritor_.writeAttributes(token.atributos);
        break;
      case QXmlStreamReader::EndElement: escritor_.writeEndElement(); break;
      case QXmlStreamReader::Characters:
        if (token.cdata)
          escritor_.writeCDATA(token.texto);
        else
          escritor_.writeCharacters(token.texto);
        break;
      case QXmlStreamReader::Comment: escritor_.writeComment(token.texto); break;
      case QXmlStreamReader::ProcessingInstruction:
        escritor_.writeProcessingInstruction(token.nombre, token.texto);
        break;
      default: break;
    }
  }
  QXmlStreamWriter& Xml() { return escritor_; }

 private:
  QXmlStreamWriter escritor_;
};

// A paragraph's tokens, its placeholders replaced.
class Parrafo {
 public:
  explicit Parrafo(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  void Rellenar(const PlantillaWord::ValorCampo& valor) {
    // The texts of the runs, in order, with where each begins in the whole.
    std::vector<std::size_t> textos;
    std::vector<qsizetype> inicios;
    QString todo;
    std::vector<QStringView> pila;
    for (std::size_t n = 0; n < tokens_.size(); ++n) {
      const Token& token = tokens_[n];
      if (token.tipo == QXmlStreamReader::StartElement) pila.push_back(Local(token.nombre));
      if (token.tipo == QXmlStreamReader::EndElement && !pila.empty()) pila.pop_back();
      if (token.tipo == QXmlStreamReader::Characters && !pila.empty() && pila.back() == u"t") {
        textos.push_back(n);
        inicios.push_back(todo.size());
        todo += token.texto;
      }
    }
    struct Cambio {
      qsizetype desde;
      qsizetype hasta;  // past the closing "$"
      QString valor;
    };
    std::vector<Cambio> cambios;
    for (qsizetype desde = todo.indexOf(u'$'); desde >= 0;) {
      const qsizetype hasta = todo.indexOf(u'$', desde + 1);
      if (hasta < 0) break;
      std::optional<QString> texto = valor(todo.mid(desde + 1, hasta - desde - 1));
      if (!texto) {
        desde = hasta;
        continue;
      }
      texto->remove(kSaltoParrafo);
      texto->replace(u"\r\n"_qs, QString(kSaltoParrafo));
      cambios.push_back({desde, hasta + 1, *texto});
      desde = todo.indexOf(u'$', hasta + 1);
    }
    if (cambios.empty()) return;
    cambiado_ = true;
    // Each run keeps what lies outside the placeholders; the run a placeholder begins in takes its value.
    std::size_t c = 0;
    for (std::size_t i = 0; i < textos.size(); ++i) {
      const qsizetype fin = inicios[i] + tokens_[textos[i]].texto.size();
      QString nuevo;
      for (qsizetype p = inicios[i]; p < fin;) {
        while (c < cambios.size() && cambios[c].hasta <= p) ++c;
        if (c < cambios.size() && cambios[c].desde <= p) {
          if (cambios[c].desde == p) nuevo += cambios[c].valor;
          p = std::min(fin, cambios[c].hasta);
          continue;
        }
        const qsizetype hasta = c < cambios.size() ? std::min(fin, cambios[c].desde) : fin;
        nuevo += QStringView(todo).mid(p, hasta - p);
        p = hasta;
      }
      tokens_[textos[i]].texto = nuevo;
    }
  }

  void Escribir(Escritor& escritor) const {
    // The elements open inside the paragraph, to close and open again at a break.
    std::vector<std::size_t> abiertos;
    for (std::size_t n = 0; n < tokens_.size(); ++n) {
      const Token& token = tokens_[n];
      if (token.tipo == QXmlStreamReader::StartElement) {
        abiertos.push_back(n);
        escritor.Escribir(token);
        if (cambiado_ && Local(token.nombre) == u"t" && !token.atributos.hasAttribute(u"xml:space"_qs))
          escritor.Xml().writeAttribute(u"xml:space"_qs, u"preserve"_qs);
        continue;
      }
      if (token.tipo == QXmlStreamReader::EndElement && !abiertos.empty()) abiertos.pop_back();
      if (token.tipo != QXmlStreamReader::Characters || !token.texto.contains(kSaltoParrafo)) {
        escritor.Escribir(token);
        continue;
      }
      const QStringList piezas = token.texto.split(kSaltoParrafo);
      for (qsizetype p = 0; p < piezas.size(); ++p) {
        if (p > 0) Reabrir(escritor, abiertos);
        escritor.Xml().writeCharacters(piezas[p]);
      }
    }
  }

 private:
  // Closes the open elements down to the paragraph and opens them again:
  // the paragraph with its properties, each run with its own.
  void Reabrir(Escritor& escritor, const std::vector<std::size_t>& abiertos) const {
    for (std::size_t n = 0; n < abiertos.size(); ++n) escritor.Xml().writeEndElement();
    for (const std::size_t abierto : abiertos) {
      const Token& token = tokens_[abierto];
      escritor.Escribir(token);
      if (Local(token.nombre) == u"t") {
        if (!token.atributos.hasAttribute(u"xml:space"_qs)) escritor.Xml().writeAttribute(u"xml:space"_qs, u"preserve"_qs);
        continue;
      }
      const QStringView propiedades = Local(token.nombre) == u"p" ? u"pPr" : Local(token.nombre) == u"r" ? u"rPr" : u"";
      if (!propiedades.isEmpty()) CopiarHijo(escritor, abierto, propiedades);
    }
  }

  // The child element of that name of the element at `padre`, written again.
  void CopiarHijo(Escritor& escritor, std::size_t padre, QStringView nombre) const {
    int profundidad = 0;
    for (std::size_t n = padre + 1; n < tokens_.size(); ++n) {
      const Token& token = tokens_[n];
      if (token.tipo == QXmlStreamReader::StartElement) {
        if (profundidad == 0 && Local(token.nombre) != nombre) return;
        ++profundidad;
      }
      if (profundidad == 0) continue;
      escritor.Escribir(token);
      if (token.tipo == QXmlStreamReader::EndElement && --profundidad == 0) return;
    }
  }

  std::vector<Token> tokens_;
  bool cambiado_ = false;
};

}  // namespace

QString PlantillaWord::RellenarXml(const QByteArray& xml, QByteArray& resultado, const ValorCampo& valor) {
  QXmlStreamReader lector(xml);
  lector.setNamespaceProcessing(false);
  resultado.clear();
  Escritor escritor(&resultado);
  std::vector<Token> parrafo;
  int profundidadParrafo = 0;
  while (!lector.atEnd()) {
    lector.readNext();
    if (lector.hasError()) break;
    if (lector.tokenType() == QXmlStreamReader::DTD || lector.tokenType() == QXmlStreamReader::EntityReference)
      return u"El documento contiene una declaración DOCTYPE"_qs;
    Token token = Leer(lector);
    const bool esParrafo = Local(token.nombre) == u"p";
    if (token.tipo == QXmlStreamReader::StartElement && esParrafo) ++profundidadParrafo;
    if (profundidadParrafo == 0) {
      escritor.Escribir(token);
      continue;
    }
    parrafo.push_back(std::move(token));
    if (parrafo.back().tipo == QXmlStreamReader::EndElement && esParrafo && --profundidadParrafo == 0) {
      Parrafo completo(std::move(parrafo));
      completo.Rellenar(valor);
      completo.Escribir(escritor);
      parrafo.clear();
    }
  }
  if (lector.hasError()) return lector.errorString();
  return {};
}
