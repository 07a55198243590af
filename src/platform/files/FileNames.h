#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace glimpa {

/// Orders names as file dialogs do: blanks, punctuation and symbols before
/// numbers before letters, letters without regard to case, runs of digits by
/// their number ("img2" before "img10"), then byte by byte.
bool naturalLess(std::string_view a, std::string_view b);

/// Puts a folder's names into the order the user's file dialogs show.
using NameSorter = std::function<void(std::vector<std::string>& names)>;
/// The order of naturalLess, for names in any language the same.
void sortNaturally(std::vector<std::string>& names);

/// Whether a name is printable ASCII with no number longer than
/// kLongestNumber digits: for such names naturalLess is the order of the
/// platform's collation in most languages.
bool isPlainAscii(std::string_view name);
inline constexpr std::size_t kLongestNumber = 254;

/// The names of the pictures the program shows.
inline constexpr std::string_view kPicturePattern = "*.bmp;*.jpg;*.gif";

/// Whether a name matches a pattern such as "*.bmp;*.jpg;*.gif": any of the
/// ';'-separated wildcards, letters compared without regard to case.
bool matchesPattern(std::string_view name, std::string_view pattern);

/// Whether a path is the folder itself or lies somewhere inside it.
bool isInside(std::string_view path, std::string_view folder);

}  // namespace glimpa
