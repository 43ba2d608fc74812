#include "platform/WinTypes.h"

#include <climits>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const long long product = static_cast<long long>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const unsigned long long a = product < 0 ? 0ULL - static_cast<unsigned long long>(product)
                                             : static_cast<unsigned long long>(product);
    const unsigned long long d = denominator < 0
                                     ? 0ULL - static_cast<unsigned long long>(denominator)
                                     : static_cast<unsigned long long>(denominator);
    const unsigned long long q = (a + d / 2) / d;
    if (q > static_cast<unsigned long long>(INT_MAX) + (negative ? 1ULL : 0ULL))
        return -1;
    return negative ? static_cast<int>(-static_cast<long long>(q)) : static_cast<int>(q);
}
