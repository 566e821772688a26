#pragma once
// Whole decimal numbers as outside text spells them: digits only, no sign, no spaces.
#include <cstdint>
#include <optional>
#include <string_view>

namespace plat {

// nullopt for an empty text, any other character than 0-9, or a value above maximum.
std::optional<std::uint64_t> ParseDecimal(std::string_view digits, std::uint64_t maximum);

}  // namespace plat
