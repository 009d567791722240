#pragma once

#include <QString>
#include <QStringList>

// The statements and texts of a record's electronic documentation (DOCUTRON),
// a document being identified by its table, record key and title.

QString SentenciaDocumentos(const QString& tabla, const QString& clave);
QString SentenciaDescripcion(const QString& tabla, const QString& clave, const QString& titulo);
QString SentenciaActualizarDescripcion(const QString& tabla, const QString& clave, const QString& titulo,
                                       const QString& descripcion);
QString SentenciaEliminarDocumento(const QString& tabla, const QString& clave, const QString& titulo);
QString SentenciaInsertarDocumento(const QString& tabla, const QString& clave, const QString& titulo,
                                   const QString& ubicacion, const QString& descripcion);

// The moves through the records of a table that have documents.
enum class PasoDocumentos { Primero, Anterior, Siguiente, Ultimo };
QString SentenciaPasoDocumentos(PasoDocumentos paso, const QString& tabla, const QString& clave);

// A location is a path when it holds "\" or begins with "/".
bool EsRuta(const QString& ubicacion);

// A mail of the selected documents, each entry its title, "|" and its location.
struct CorreoDocumentos {
  QString asunto;
  QString cuerpo;
  QString adjuntos;  // the locations, each followed by "|"
};
CorreoDocumentos ComponerCorreoDocumentos(const QStringList& documentos);

// The recipient's address statement of a customer or supplier record (the
// key's first piece as its code); empty for any other table.
QString SentenciaDestinatario(const QString& tabla, const QString& clave);
