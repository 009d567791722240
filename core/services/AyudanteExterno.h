#pragma once

#include <QString>

// The routes through the suite's helper program ZEMLEXT.EXE: it is given a
// command word and a parameter file of name=value lines, written beside a
// one-line batch file of the same new GUID name in the temporary folder; both
// are created new, readable by the user only, and deleted once the helper
// ended. The helper's own outcome is not read back.

// Hands the message to the desktop's mail program; always 0.
int EnviarEMailMAPI(const QString& asunto, const QString& texto, const QString& adjuntos,
                    const QString& nombreRemitente, const QString& emailRemitente, const QString& nombreDestinatario,
                    const QString& emailDestinatario, const QString& nombreCopia, const QString& emailCopia,
                    const QString& opciones);

// Prints a Word ("DOC") or PDF ("PDF") document on the named printer and
// returns when the helper ended, so documents printed in a row keep their order.
void ImprimirDocumentoExterno(const QString& rutaDocumento, const QString& nombreImpresora, const QString& tipoDocumento);
