#include "core/services/EditorTexto.h"

#include "core/helpers/Listas.h"
#include "core/services/PosicionFormulario.h"
#include "core/services/FormularioRegistrado.h"

#include <QPlainTextEdit>


QString EditarTexto(const QString& opciones, const QString& texto) {
  AplicarFormato(ValorLista(QStringLiteral("Formato"), opciones), PosicionGENETEXT);
  const QString clase = QLatin1String(kFormularioEditorTexto);
  const std::unique_ptr<Form> formulario = CrearFormularioRegistrado(clase);
  auto& memo = ControlFormulario<QPlainTextEdit>(formulario, QStringLiteral("Memo1"), clase);
  formulario->SetCaption(ValorLista(QStringLiteral("Titulo"), opciones));
  memo.setPlainText(QString(texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  if (formulario->ShowModal() != mrOk) return texto;
  // The memo keeps lines apart with its own breaks; the text keeps CR LF.
  return memo.toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}
