#pragma once

// The engine's texts for keys and indexes.
namespace EngineText {
inline constexpr auto NoIndexActive = "No index currently active";
inline constexpr auto IndexDoesNotExist = "Index does not exist";
}  // namespace EngineText
