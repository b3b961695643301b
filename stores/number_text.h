#pragma once
// How numbers are written into and read back from value fields: always with a decimal point,
// whatever the process's locale says (a desktop toolkit adopts the user's).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// Plain decimal digits, leading minus when negative.
std::string intText(std::int64_t value);

// Up to 15 significant digits, no trailing zeros ("%.15g"); negative zero reads "0".
std::string doubleText(double value);

// Rounded to 4 decimals on the exact binary value (ties to even), trailing zeros and a
// trailing point dropped, "-0" written "0": 0.0612, 0.5, 3, 0.
std::string fourDecimalText(double value);

// Rounded to `decimals` decimals as "%.*f" rounds, every decimal written: 0.500 for 3.
std::string fixedText(double value, int decimals);

// Reads the number at the start of `text` (optional sign, digits, point, exponent) and
// ignores the rest; no number there reads as 0.
double decimalParse(std::string_view text);

// The whole text must be a number (surrounding spaces allowed); otherwise nothing.
std::optional<double> strictParse(std::string_view text);

}  // namespace pelmora
