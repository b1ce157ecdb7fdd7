#include "answer_reading.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace quiz {

namespace {

bool isBlank(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

/** Walks through a text as if its blanks had been removed. */
class Cursor
{
public:
    explicit Cursor(std::string_view text) noexcept : m_text(text) { skipBlanks(); }

    bool atEnd() const noexcept { return m_pos == m_text.size(); }
    char peek() const noexcept { return atEnd() ? '\0' : m_text[m_pos]; }
    void advance() noexcept
    {
        ++m_pos;
        skipBlanks();
    }

private:
    void skipBlanks() noexcept
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

int digitValue(char c, int radix) noexcept
{
    int value = radix;
    if (isDigit(c))
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < radix ? value : -1;
}

/**
 * An integer in base 8 or 16 at its full value, correctly rounded. The first 64 significant bits
 * are kept; the bits after them only count (for the scale) and say whether any was set (for the
 * rounding).
 */
double readRadixInteger(Cursor &cursor, int radix) noexcept
{
    const int bitsPerDigit = radix == 16 ? 4 : 3;
    std::uint64_t top = 0;
    int topBits = 0; // bits held in `top`, counted from its first significant digit
    std::uint64_t droppedBits = 0;
    bool droppedAnySetBit = false;
    for (int value; (value = digitValue(cursor.peek(), radix)) >= 0; cursor.advance()) {
        const auto digit = static_cast<std::uint64_t>(value);
        if (topBits == 0 && digit == 0)
            continue;
        const int room = 64 - topBits;
        if (room >= bitsPerDigit) {
            top = (top << bitsPerDigit) | digit;
            topBits += bitsPerDigit;
        } else {
            const int spill = bitsPerDigit - room;
            if (room > 0)
                top = (top << room) | (digit >> spill);
            topBits = 64;
            droppedAnySetBit |= (digit & ((std::uint64_t{1} << spill) - 1)) != 0;
            droppedBits += static_cast<std::uint64_t>(spill);
        }
    }
    // `top` holds at least 61 significant bits whenever bits were dropped, so the lowest one lies
    // below the rounding position and can stand in for all the dropped bits.
    const double rounded = static_cast<double>(top | (droppedAnySetBit ? 1 : 0));
    constexpr std::uint64_t beyondAnyDouble = 2048;
    const int scale =
        static_cast<int>(droppedBits < beyondAnyDouble ? droppedBits : beyondAnyDouble);
    return std::ldexp(rounded, scale);
}

/**
 * A decimal number from the cursor's position, or 0 where none starts there. The number's
 * characters are gathered without blanks and handed to std::from_chars, which is locale-free and
 * correctly rounded.
 */
double readDecimal(Cursor &cursor)
{
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }

    std::string number;
    long long order = 0; // the decimal order of the first significant digit, before the exponent
    bool significant = false;
    std::size_t integerDigits = 0;
    for (; isDigit(cursor.peek()); cursor.advance()) {
        number += cursor.peek();
        significant |= cursor.peek() != '0';
        if (significant)
            ++order;
        ++integerDigits;
    }
    std::size_t fractionDigits = 0;
    if (cursor.peek() == '.') {
        number += '.';
        for (cursor.advance(); isDigit(cursor.peek()); cursor.advance()) {
            number += cursor.peek();
            if (!significant && cursor.peek() == '0')
                --order;
            significant |= cursor.peek() != '0';
            ++fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0)
        return 0.0;
    if (integerDigits == 0)
        number.insert(number.begin(), '0'); // ".5" as "0.5"
    else if (fractionDigits == 0 && number.back() == '.')
        number.pop_back(); // "21." as "21"

    // An exponent counts only when at least one digit follows the letter and its sign.
    long long exponent = 0;
    if (cursor.peek() == 'e' || cursor.peek() == 'E') {
        number += 'e';
        cursor.advance();
        bool negativeExponent = false;
        if (cursor.peek() == '+' || cursor.peek() == '-') {
            negativeExponent = cursor.peek() == '-';
            number += cursor.peek();
            cursor.advance();
        }
        constexpr long long exponentCap = 1'000'000'000;
        bool anyDigit = false;
        for (; isDigit(cursor.peek()); cursor.advance()) {
            number += cursor.peek();
            anyDigit = true;
            if (exponent < exponentCap)
                exponent = exponent * 10 + (cursor.peek() - '0');
        }
        if (!anyDigit)
            number.erase(number.find('e'));
        if (negativeExponent)
            exponent = -exponent;
    }

    double magnitude = 0.0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), magnitude);
    if (error == std::errc::result_out_of_range)
        magnitude = order + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    else if (error != std::errc{} || end != number.data() + number.size())
        magnitude = 0.0; // cannot happen: `number` is a well-formed decimal number
    return negative ? -magnitude : magnitude;
}

} // namespace

double readAnswer(std::string_view text)
{
    Cursor cursor(text);
    if (cursor.peek() == '&') {
        cursor.advance();
        const char letter = cursor.peek();
        if (letter == 'H' || letter == 'h' || letter == 'O' || letter == 'o') {
            cursor.advance();
            return readRadixInteger(cursor, letter == 'H' || letter == 'h' ? 16 : 8);
        }
        return 0.0;
    }
    return readDecimal(cursor);
}

} // namespace quiz
