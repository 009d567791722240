#include "printing/formlang/EjecucionImpreso.h"

#include "platform/format/Format.h"
#include "printing/formlang/LimitesImpreso.h"
#include "printing/formlang/NumerosImpreso.h"

namespace {

const QString NoSumaYSigue = u"Inst=NoSumaYSigue"_qs;

}  // namespace

QString EjecucionImpreso::CodigoDocumento() const {
  const std::optional<QVariant> campo = fuente_.CampoDocumento(u"CodigoImpreso"_qs);
  const QString codigo = campo ? campo->toString() : QString();
  return codigo.isEmpty() || codigo == u"Por Defecto" ? codigoImpresoActual : codigo;
}

QString EjecucionImpreso::CodigoDocumentoInicial() {
  fuente_.PrimerDocumento();
  return CodigoDocumento();
}

void EjecucionImpreso::EmpezarTrabajo() {
  geometria.filaTexto = 0;
  geometria.ajustes.inicioLineas = 0;
  geometria.ajustes.finLineas = 0;
}

void EjecucionImpreso::EstablecerFormatoPapel(const QString& codigo) {
  if (std::optional<DefinicionImpreso> definicion = fuente_.Impreso(codigo)) {
    definicion_ = std::move(definicion);
  } else if (std::optional<DefinicionImpreso> actual = fuente_.Impreso(codigoImpresoActual)) {
    definicion_ = std::move(actual);
  }
  if (!definicion_) return;
  geometria.modoTexto = definicion_->modo == u"Texto";
  const DimensionesPapel papel = FormatoPapel(definicion_->formato);
  geometria.anchoPapel = papel.ancho;
  geometria.altoPapel = papel.alto;
}

bool EjecucionImpreso::Preparar(const QString& codigo) {
  EstablecerFormatoPapel(codigo);
  codigoPreparado_ = codigo;
  ProgramaPreparado preparado = PrepararPrograma(definicion_ ? definicion_->instrucciones : QString(), geometria.ajustes);
  programa = std::move(preparado.programa);
  geometria.ajustes = std::move(preparado.ajustes);
  geometria.posicionEtiqueta = preparado.siguienteEtiqueta;
  lineasPorPagina = preparado.lineasPorPagina;
  sumas.nombres = programa.nombresSumas;
  sumas.valores.fill(0);
  const PaginaImpreso pagina = PaginaImpreso::De({geometria.anchoPapel, geometria.altoPapel}, geometria.modoTexto);
  if (const std::optional<QString> fuera = LineaFueraDePagina(programa, geometria.ajustes, pagina)) {
    entorno_.Aviso(AvisoFueraDePagina(*fuera));
    return false;
  }
  if (destino == DestinoSalida::Impresora && !PreguntarPrimeraEtiqueta()) return false;
  const QString& driver = geometria.ajustes.driverAlternativo;
  if (!driver.isEmpty()) {
    const qsizetype mayor = driver.indexOf(u'>');
    if (!entorno_.CopiarArchivo(driver.left(mayor < 0 ? driver.size() : mayor), mayor < 0 ? QString() : driver.mid(mayor + 1)))
      entorno_.Aviso(u"¡Imposible copiar el Driver Alternativo!"_qs);
  }
  return true;
}

bool EjecucionImpreso::PreguntarPrimeraEtiqueta() {
  bool formatoEtiqueta = false;
  for (const QString& linea : programa.Lineas(Seccion::Sistema))
    if (AnalizarLinea(linea, programa.separadorLibre).palabra == u"FormatoEtiqueta") formatoEtiqueta = true;
  if (!formatoEtiqueta) return true;
  const qint64 etiquetas = geometria.ajustes.EtiquetasPorPagina();
  for (;;) {
    const std::optional<QString> respuesta =
        entorno_.PreguntarPrimeraEtiqueta(u"Introduzca la posición de la primera etiqueta: "_qs, u"1"_qs);
    if (!respuesta) return false;
    qint64 posicion = 0;
    if (!TryStrToInt64(*respuesta, posicion) || posicion < 1) continue;
    if (posicion > etiquetas) {
      entorno_.Aviso(u"La posición no puede ser mayor que "_qs + IntToStr(etiquetas));
      continue;
    }
    primeraEtiqueta = posicion;
    return true;
  }
}

void EjecucionImpreso::EjecutarInstruccion(const QString& texto) {
  const LineaInstruccion linea = AnalizarLinea(texto, programa.separadorLibre);
  comandoActual = linea.palabra;
  if (AplicarAjuste(linea, geometria.ajustes)) return;
  // A text printer has one face; the engine sets it at each page.
  if (geometria.modoTexto && linea.palabra == u"Font") return;
  // Carried totals are printed and reset outside the lines only.
  if (geometria.enSeccionLineas && (linea.palabra == u"Suma" || linea.palabra == u"ISum")) return;
  entorno_.EjecutarComando(linea);
}

void EjecucionImpreso::EjecutarSeccion(Seccion seccion) {
  const QStringList lineas = programa.Lineas(seccion);
  for (const QString& linea : lineas) {
    if (detenido_) return;
    EjecutarInstruccion(linea);
  }
}

void EjecucionImpreso::EjecutarCabecera() {
  ++paginaDocumento;
  geometria.enSeccionLineas = false;
  geometria.enSeccionPie = false;
  if (geometria.modoTexto) entorno_.EjecutarComando(LineaInstruccion{u"Font"_qs, u"Courier New|12"_qs});
  EjecutarSeccion(Seccion::Cabecera);
}

void EjecucionImpreso::EjecutarLineas() {
  if (!sumas.nombres.isEmpty() && !sumas.nombres.first().isEmpty() && fuente_.InstruccionesLinea() != NoSumaYSigue) {
    for (const auto& [campo, valor] : fuente_.ValoresLinea()) {
      const int hueco = sumas.Hueco(campo);
      double numero = 0;
      if (hueco >= 0 && NumeroCampo(valor, numero)) sumas.valores[hueco] += numero;
    }
  }
  geometria.enSeccionLineas = true;
  geometria.enSeccionPie = false;
  EjecutarSeccion(Seccion::Lineas);
}

namespace {

void EntrarEnPie(GeometriaImpreso& geometria) {
  if (geometria.modoTexto && geometria.ajustes.finLineas == FinLineasContinuo) geometria.filaTexto = 0;
  geometria.enSeccionLineas = false;
  geometria.enSeccionPie = true;
}

}  // namespace

void EjecucionImpreso::EjecutarPieSumaYSigue() {
  EntrarEnPie(geometria);
  EjecutarSeccion(Seccion::PieSumaYSigue);
}

void EjecucionImpreso::EjecutarPie() {
  EntrarEnPie(geometria);
  EjecutarSeccion(Seccion::Pie);
}

void EjecucionImpreso::EjecutarPiePagina() {
  EntrarEnPie(geometria);
  EjecutarSeccion(Seccion::PiePagina);
}

void EjecucionImpreso::NuevaPagina() {
  if (!programa.haySeccionesImpresion) return;
  if (destino == DestinoSalida::Impresora) {
    geometria.filaTexto = 0;
    if (geometria.posicionEtiqueta >= geometria.ajustes.EtiquetasPorPagina()) entorno_.SaltoPaginaImpresora();
    return;
  }
  if (geometria.posicionEtiqueta <= geometria.ajustes.EtiquetasPorPagina()) return;
  if (numeroPaginas >= MaximoPaginas) {
    // The page store holds no more: the run ends as if cancelled, with its pages.
    entorno_.Aviso(u"¡El número de páginas supera el máximo de %1!"_qs.arg(MaximoPaginas));
    detenido_ = true;
    return;
  }
  ++numeroPaginas;
  geometria.posicionEtiqueta = 1;
  entorno_.PaginaNueva(fuente_.ClaveDocumento());
}

void EjecucionImpreso::PasarEtiquetaImpresora(qint64 primeraDeHoja) {
  if (geometria.posicionEtiqueta <= geometria.ajustes.EtiquetasPorPagina()) return;
  ++numeroPaginas;
  geometria.posicionEtiqueta = primeraDeHoja;
}

void EjecucionImpreso::AplicarCambioDocumento() {
  if (const std::optional<QVariant> cambio = fuente_.CampoDocumento(u"Cambio"_qs)) {
    double valor = 0;
    cambioDocumento = NumeroCampo(*cambio, valor) && valor != 0 ? valor : 1;
  }
  const std::optional<QVariant> moneda = fuente_.CampoDocumento(u"CodigoMoneda"_qs);
  double valor = 0;
  codigoMonedaDocumento = moneda && NumeroCampo(*moneda, valor) && valor >= 1 && valor <= MayorNumeroImpreso ? int(valor) : 1;
}

void EjecucionImpreso::TomarCopias() {
  numeroCopia = 1;
  copiasPendientes = 1;
  if (destino == DestinoSalida::Pantalla) return;
  const std::optional<QVariant> copias = fuente_.CampoDocumento(u"NumeroCopias"_qs);
  double valor = 0;
  if (copias && NumeroCampo(*copias, valor) && valor >= 1 && valor <= 9999) copiasPendientes = int(valor);
}

bool EjecucionImpreso::Recorrer() {
  detenido_ = abandonado_ = false;
  geometria.enSeccionLineas = false;
  geometria.enSeccionPie = false;
  numeroPaginas = 0;
  copiasPendientes = 0;
  numeroCopia = 1;
  fuente_.PrimerDocumento();
  while (!fuente_.FinDocumentos() && !detenido_) {
    if (entorno_.Cancelado()) {
      detenido_ = true;
      break;
    }
    if (!soloClave.isEmpty() && fuente_.ClaveDocumento() != soloClave) {
      fuente_.SiguienteDocumento();
      continue;
    }
    const QString codigo = CodigoDocumento();
    // A closed first-label question ends the run as a cancelled print dialog does.
    if (codigo != codigoPreparado_ && !Preparar(codigo)) return false;
    AplicarCambioDocumento();
    sumas.valores.fill(0);
    paginaDocumento = 0;
    if (copiasPendientes == 0) TomarCopias();

    ++geometria.posicionEtiqueta;
    if (destino == DestinoSalida::Pantalla)
      NuevaPagina();
    else
      PasarEtiquetaImpresora(numeroPaginas == 0 ? primeraEtiqueta : 1);
    if (detenido_) break;
    EjecutarCabecera();

    if (!programa.Lineas(Seccion::Lineas).isEmpty() && fuente_.LineasAbiertas()) {
      fuente_.BorrarContinuaciones();
      geometria.lineaActual = 1;
      for (fuente_.PrimeraLinea(); !fuente_.FinLineas() && !detenido_; fuente_.SiguienteLinea()) {
        if (geometria.lineaActual > lineasPorPagina) {
          EjecutarPieSumaYSigue();
          EjecutarPiePagina();
          ++geometria.posicionEtiqueta;
          NuevaPagina();
          if (destino == DestinoSalida::Impresora) PasarEtiquetaImpresora(1);
          geometria.lineaActual = 1;
          EjecutarCabecera();
        }
        if (const std::optional<QString> instrucciones = fuente_.InstruccionesLinea()) EjecutarInstruccion(*instrucciones);
        EjecutarLineas();
        ++geometria.lineaActual;
      }
    }
    EjecutarPie();
    EjecutarPiePagina();

    --copiasPendientes;
    ++numeroCopia;
    if (copiasPendientes == 0) fuente_.SiguienteDocumento();
    if (destino == DestinoSalida::Impresora && !fuente_.FinDocumentos()) NuevaPagina();
    if (destino == DestinoSalida::Pantalla && !avisoPaginasDado && numeroPaginas > PaginasAviso) {
      avisoPaginasDado = true;
      if (!entorno_.Confirmar(u"¡El número de páginas del informe es mayor que "_qs + IntToStr(PaginasAviso) +
                              u"!. Superar este número puede ocasionarle un bloqueo del sistema "_qs +
                              u"en caso de no disponer de recursos suficientes. "_qs + u"¿Desea continuar?"_qs))
        break;
    }
  }
  if (numeroPaginas == 0) entorno_.Informacion(u"¡No hay datos para procesar!"_qs);
  return !detenido_;
}
