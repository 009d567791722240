#include "core/forms/ContextoImpresos.h"

QString ContextoImpresos;
