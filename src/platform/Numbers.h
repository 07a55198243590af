#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glimpa {

/// Rounds to the nearest whole number, halves to the even neighbour; fails for
/// NaN, infinities and results outside the 32-bit range.
std::optional<std::int32_t> toWhole32(double value);

/// Reads a single-precision number written as decimal text. Surrounding blanks
/// are allowed; anything else that is not part of the number makes it fail.
std::optional<float> parseSingle(std::string_view text);

/// The shortest plain decimal text (no exponent) that reads back as the same
/// single-precision number.
std::string singleToText(float value);

}  // namespace glimpa
