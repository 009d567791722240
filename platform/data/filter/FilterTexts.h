#pragma once

// The engine's texts for filter expressions it cannot use.
namespace EngineText {
inline constexpr auto FilterIncorrectlyTerminated = "Filter expression incorrectly terminated";
inline constexpr auto FilterUnterminatedString = "Unterminated string constant";
inline constexpr auto FilterUnterminatedName = "Unterminated field name";
inline constexpr auto FilterInvalidCharacter = "Invalid filter expression character: '%1'";
inline constexpr auto FilterNoRightParenthesis = "')' expected but %1 found";
inline constexpr auto FilterExpressionExpected = "Expression expected but %1 found";
inline constexpr auto FilterTypeMismatch = "Type mismatch in expression";
inline constexpr auto FilterBadField = "Field '%1' cannot be used in a filter expression";
inline constexpr auto FilterNotBoolean = "Field '%1' is not of type Boolean";
inline constexpr auto FilterNothing = "nothing";
inline constexpr auto FilterTooComplex = "Filter expression too complex";
}  // namespace EngineText
