#pragma once

#include "printing/barcode/TipoCodigoBarras.h"

#include <QString>

#include <vector>

// A text every type can draw, one a type.
struct MuestraCodigo {
  TBarCodeType tipo;
  QString texto;
};

inline const std::vector<MuestraCodigo>& MuestrasDeCadaTipo() {
  static const std::vector<MuestraCodigo> muestras{
      {TBarCodeType::Code39, u"CODE-39 $/+%"_qs},        {TBarCodeType::Interleaved2Of5, u"1234567"_qs},
      {TBarCodeType::Code128, u"Code 128\t12345678"_qs}, {TBarCodeType::PostNet, u"12345"_qs},
      {TBarCodeType::PostnetZip, u"12345"_qs},           {TBarCodeType::PostNetZipPlus4, u"123456789"_qs},
      {TBarCodeType::Postnet11, u"12345678901"_qs},      {TBarCodeType::EAN, u"590123412345"_qs},
      {TBarCodeType::EAN8, u"9638507"_qs},               {TBarCodeType::EAN13, u"8412345678905"_qs},
      {TBarCodeType::ITF14, u"123456789012"_qs},         {TBarCodeType::FIMA, QString()},
      {TBarCodeType::FIMB, QString()},                   {TBarCodeType::FIMC, QString()},
      {TBarCodeType::EAN128, u"0109501101530003"_qs},
  };
  return muestras;
}
