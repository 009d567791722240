#include "core/helpers/AnchoCampo.h"

#include "platform/data/Field.h"

int AnchoCampo(const Field& campo) {
  switch (campo.DataType()) {
    case ftFloat: return 13;
    case ftInteger: return 9;
    case ftSmallint:
    case ftBoolean: return 5;
    case ftDate:
    case ftDateTime:
    case ftMemo: return 10;
    case ftTime: return 8;
    case ftString: return campo.Size();
    default: return 10;
  }
}
