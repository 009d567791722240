#include "printing/formlang/PrepararPrograma.h"

ProgramaPreparado PrepararPrograma(const QString& texto, const AjustesImpreso& anteriores) {
  ProgramaPreparado preparado;
  preparado.programa = AnalizarPrograma(texto);
  preparado.ajustes.inicioLineas = anteriores.inicioLineas;
  preparado.ajustes.finLineas = anteriores.finLineas;
  for (const QString& linea : preparado.programa.Lineas(Seccion::Sistema))
    AplicarAjuste(AnalizarLinea(linea, preparado.programa.separadorLibre), preparado.ajustes);
  preparado.lineasPorPagina = preparado.ajustes.LineasPorPagina();
  preparado.etiquetasPorPagina = preparado.ajustes.EtiquetasPorPagina();
  preparado.siguienteEtiqueta = preparado.etiquetasPorPagina + 1;
  return preparado;
}
