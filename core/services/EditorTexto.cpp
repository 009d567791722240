#include "core/services/EditorTexto.h"

#include "core/helpers/Listas.h"
#include "core/services/PosicionFormulario.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"

#include <QPlainTextEdit>

#include <memory>

QString EditarTexto(const QString& opciones, const QString& texto) {
  AplicarFormato(ValorLista(QStringLiteral("Formato"), opciones), PosicionGENETEXT);
  const QString clase = QLatin1String(kFormularioEditorTexto);
  const std::unique_ptr<QWidget> ventana(FormRegistry::Create(clase, nullptr));
  auto* formulario = qobject_cast<Form*>(ventana.get());
  auto* memo = formulario ? formulario->findChild<QPlainTextEdit*>(QStringLiteral("Memo1")) : nullptr;
  if (!memo) throw Exception(QStringLiteral("El formulario ") + clase + QStringLiteral(" no está disponible."));
  formulario->SetCaption(ValorLista(QStringLiteral("Titulo"), opciones));
  memo->setPlainText(QString(texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  if (formulario->ShowModal() != mrOk) return texto;
  // The memo keeps lines apart with its own breaks; the text keeps CR LF.
  return memo->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}
