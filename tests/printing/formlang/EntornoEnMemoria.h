#pragma once

#include "printing/formlang/EjecucionImpreso.h"

#include <QMap>
#include <QStringList>
#include <QVariantMap>

#include <vector>

// Documents and lines in memory; every page, break, message and command is
// written down as a line of text, with the engine's state where it matters.
class EntornoEnMemoria : public FuenteImpreso, public EntornoImpreso {
 public:
  std::vector<QVariantMap> documentos;  // "CodigoTemporal" is the key
  QMap<int, std::vector<QVariantMap>> lineas;
  QMap<QString, DefinicionImpreso> impresos;
  QStringList respuestasEtiqueta;  // an entry too few: the question is closed
  QList<bool> confirmaciones;
  QStringList registro;
  int paginas = 0;
  int cancelarEnDocumento = -1;
  bool soloContar = false;  // commands counted, not written down
  qint64 comandos = 0;
  EjecucionImpreso* ejecucion = nullptr;

  void PrimerDocumento() override { actual_ = 0; }
  void SiguienteDocumento() override { ++actual_; }
  bool FinDocumentos() const override { return actual_ >= documentos.size(); }
  std::optional<QVariant> CampoDocumento(const QString& campo) const override;
  QString ClaveDocumento() const override;

  bool LineasAbiertas() const override { return true; }
  void BorrarContinuaciones() override;
  void PrimeraLinea() override { linea_ = 0; }
  void SiguienteLinea() override { ++linea_; }
  bool FinLineas() const override;
  QList<std::pair<QString, QVariant>> ValoresLinea() const override;
  std::optional<QString> InstruccionesLinea() const override;

  std::optional<DefinicionImpreso> Impreso(const QString& codigo) const override;

  bool Cancelado() override { return int(actual_) == cancelarEnDocumento; }
  void Informacion(const QString& texto) override { registro << u"Informacion "_qs + texto; }
  void Aviso(const QString& texto) override { registro << u"Aviso "_qs + texto; }
  bool Confirmar(const QString& texto) override;
  std::optional<QString> PreguntarPrimeraEtiqueta(const QString& texto, const QString& inicial) override;
  bool CopiarArchivo(const QString& origen, const QString& destino) override;

  void PaginaNueva(const QString& clave) override;
  void SaltoPaginaImpresora() override { registro << u"Salto"_qs; }
  void EjecutarComando(const LineaInstruccion& linea) override;

  QStringList Registrado(const QString& inicio) const;

 private:
  std::size_t actual_ = 0;
  std::size_t linea_ = 0;
  const std::vector<QVariantMap>& LineasActuales() const;
};
