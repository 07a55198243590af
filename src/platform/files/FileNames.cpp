#include "platform/files/FileNames.h"

#include <algorithm>
#include <cctype>

namespace glimpa {

namespace {

char fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
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
        const char x = fold(a[i]);
        const char y = fold(b[j]);
        if (x != y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
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
