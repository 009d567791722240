#pragma once

#include "platform/Form.h"

#include <QString>

#include <memory>

class QTableWidget;

// The mode the name/value grid form reads when it is shown: "VisorCampos",
// "VisorCamposUsuario" or "VisorAgregarDatos".
extern QString ModoVisorGENEVLIS;

// The class name of the name/value grid form: a Form with a QTableWidget
// "StringGrid" of two columns (its header "Campo" and "Valor", a row per
// value) and the properties "DefinicionesFilas" (rule lines),
// "ContenidosMemo" and "OpcionesVisor"; it closes with modal result 1 when
// its rows pass their rules.
inline constexpr auto kFormularioVisorValores = "TfGENEVLIS";

// The form created in that mode, or raises "El formulario ... no está disponible.".
std::unique_ptr<Form> CrearVisorValores(const QString& modo);
// Its grid emptied to that many rows under the header.
QTableWidget& RejillaVisorValores(const std::unique_ptr<Form>& visor, int filas);
// A memo row's line of "ContenidosMemo": the name, "ÿ", the text with its
// line breaks written as "·", CR LF.
QString LineaContenidoMemo(const QString& nombre, const QString& texto);
