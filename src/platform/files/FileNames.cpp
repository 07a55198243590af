#include "platform/files/FileNames.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace glimpa {

namespace {

char fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The order in which the platform's collation puts the printable ASCII
// characters: blanks, punctuation and symbols, numbers, then the letters
// without regard to case.
constexpr std::string_view kAsciiOrder =
    " _-,;:!?.'\"()[]{}@*/\\&#%`^+<=>|~$0abcdefghijklmnopqrstuvwxyz";

constexpr std::array<unsigned short, 256> makeRanks() {
    std::array<unsigned short, 256> ranks{};
    for (std::size_t byte = 0; byte < ranks.size(); ++byte) {
        // Every other byte after the printable ones, in its byte order.
        ranks[byte] = static_cast<unsigned short>(kAsciiOrder.size() + byte);
    }
    for (std::size_t rank = 0; rank < kAsciiOrder.size(); ++rank) {
        const auto c = static_cast<unsigned char>(kAsciiOrder[rank]);
        ranks[c] = static_cast<unsigned short>(rank);
        if (c >= 'a' && c <= 'z') {
            ranks[c - 'a' + 'A'] = static_cast<unsigned short>(rank);
        }
    }
    for (char digit = '1'; digit <= '9'; ++digit) {
        ranks[static_cast<unsigned char>(digit)] = ranks['0'];
    }
    return ranks;
}
constexpr std::array<unsigned short, 256> kRanks = makeRanks();

unsigned short rankOf(char c) {
    return kRanks[static_cast<unsigned char>(c)];
}

int compareNatural(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && isDigit(a[endA])) {
                ++endA;
            }
            while (endB < b.size() && isDigit(b[endB])) {
                ++endB;
            }
            // Compare the numbers without leading zeros, longer is larger.
            std::size_t startA = i;
            std::size_t startB = j;
            while (startA + 1 < endA && a[startA] == '0') {
                ++startA;
            }
            while (startB + 1 < endB && b[startB] == '0') {
                ++startB;
            }
            const std::size_t lengthA = endA - startA;
            const std::size_t lengthB = endB - startB;
            if (lengthA != lengthB) {
                return lengthA < lengthB ? -1 : 1;
            }
            const int digits = a.substr(startA, lengthA).compare(b.substr(startB, lengthB));
            if (digits != 0) {
                return digits;
            }
            i = endA;
            j = endB;
            continue;
        }
        const unsigned short x = rankOf(a[i]);
        const unsigned short y = rankOf(b[j]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    return 0;
}

bool wildcardMatch(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

bool naturalLess(std::string_view a, std::string_view b) {
    const int natural = compareNatural(a, b);
    return natural != 0 ? natural < 0 : a < b;
}

bool isPlainAscii(std::string_view name) {
    std::size_t digits = 0;
    for (char c : name) {
        if (c < ' ' || c > '~') {
            return false;
        }
        digits = isDigit(c) ? digits + 1 : 0;
        // The collation reads longer numbers in pieces.
        if (digits > kLongestNumber) {
            return false;
        }
    }
    return true;
}

void sortNaturally(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), naturalLess);
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    while (!pattern.empty()) {
        const std::size_t end = pattern.find(';');
        if (wildcardMatch(name, pattern.substr(0, end))) {
            return true;
        }
        if (end == std::string_view::npos) {
            break;
        }
        pattern.remove_prefix(end + 1);
    }
    return false;
}

bool isInside(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.substr(0, folder.size()) != folder) {
        return false;
    }
    return path.size() == folder.size() || folder.back() == '/' || path[folder.size()] == '/';
}

}  // namespace glimpa
