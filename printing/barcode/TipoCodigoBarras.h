#pragma once

// The symbologies of the barcode control, in the order the forms store them.
enum class TBarCodeType {
  Code39,
  Interleaved2Of5,
  Code128,
  PostNet,
  PostnetZip,
  PostNetZipPlus4,
  Postnet11,
  EAN,
  EAN8,
  EAN13,
  ITF14,
  FIMA,
  FIMB,
  FIMC,
  EAN128,
};
