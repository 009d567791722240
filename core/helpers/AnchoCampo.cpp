#include "core/helpers/AnchoCampo.h"

#include "platform/data/Field.h"

int AnchoCampo(const Field& campo) { return Field::TypeDisplayWidth(campo.DataType(), campo.Size()); }
