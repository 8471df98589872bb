#include "joblist/NaturalOrder.h"

namespace talwyn::joblist {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned char folded(char c) {
    return (c >= 'A' && c <= 'Z') ? (unsigned char)(c - 'A' + 'a') : (unsigned char)c;
}

// The end of the digit run that starts at `from`.
size_t digitsEnd(std::string_view text, size_t from) {
    while (from < text.size() && isDigit(text[from])) {
        ++from;
    }
    return from;
}

// <0, 0 or >0. Digit runs are compared without converting them, so a run of any length works.
int naturalCompare(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            size_t startA = i;
            size_t startB = j;
            const size_t endA = digitsEnd(a, i);
            const size_t endB = digitsEnd(b, j);
            while (startA + 1 < endA && a[startA] == '0') {
                ++startA;
            }
            while (startB + 1 < endB && b[startB] == '0') {
                ++startB;
            }
            const size_t lengthA = endA - startA;
            const size_t lengthB = endB - startB;
            if (lengthA != lengthB) {
                return lengthA < lengthB ? -1 : 1;
            }
            if (const int order = a.substr(startA, lengthA).compare(b.substr(startB, lengthB))) {
                return order;
            }
            i = endA;
            j = endB;
            continue;
        }
        if (folded(a[i]) != folded(b[j])) {
            return folded(a[i]) < folded(b[j]) ? -1 : 1;
        }
        ++i;
        ++j;
    }
    const bool aLeft = i < a.size();
    const bool bLeft = j < b.size();
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
    const int order = naturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}

}  // namespace talwyn::joblist
