#pragma once

#include <QString>

#include <optional>
#include <vector>

// The elements of a Code 39 symbol, start and stop "*" included: whether
// each is wide. Bars and spaces alternate from a bar; every character is
// nine elements and its narrow gap. None when a character is not one of the
// 43 the symbology holds (lower case neither).
std::optional<std::vector<bool>> ElementosCode39(const QString& texto);
