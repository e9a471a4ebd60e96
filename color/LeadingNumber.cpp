#include "color/NumberRules.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

namespace color {

namespace {

// Walks the text one character at a time, stepping over blanks, tabs and
// line feeds wherever they stand ("1 2" is 12).
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { SkipBlanks(); }

    // '\0' at the end; a NUL inside the text stops a number just the same.
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    void Advance()
    {
        ++pos_;
        SkipBlanks();
    }

private:
    void SkipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n'))
            ++pos_;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

int DigitValue(char c, int radix)
{
    int value = radix;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < radix ? value : -1;
}

// "&H" and "&O" numbers: whole and never negative. Digits beyond 64 bits
// only scale the value, so any length takes linear time and ends in +inf.
double ReadRadixDigits(Cursor& cur, int bitsPerDigit)
{
    const int radix = 1 << bitsPerDigit;
    constexpr int64_t kBitCap = 1 << 20; // far past the double range
    uint64_t acc = 0;
    int64_t extraBits = 0;
    for (int d = DigitValue(cur.Peek(), radix); d >= 0; d = DigitValue(cur.Peek(), radix)) {
        if (extraBits == 0 && (acc >> (64 - bitsPerDigit)) == 0)
            acc = (acc << bitsPerDigit) | static_cast<uint64_t>(d);
        else if (extraBits < kBitCap)
            extraBits += bitsPerDigit;
        cur.Advance();
    }
    return std::ldexp(static_cast<double>(acc), static_cast<int>(extraBits));
}

// Decimal significand and exponent gathered from the text. Only the first
// kMaxDigits significant digits are kept; a non-zero digit beyond them is
// remembered, which is all correct rounding to double needs (it never
// depends on more than 768 significant digits).
struct Decimal {
    static constexpr size_t kMaxDigits = 800;

    std::string digits;     // significant digits, no leading zeros
    int64_t exponent = 0;   // value = digits * 10^exponent
    bool dropped = false;   // a non-zero digit was left out
    bool anyDigit = false;  // the text held at least one digit

    void AddIntegerDigit(char c)
    {
        anyDigit = true;
        if (digits.empty() && c == '0')
            return;
        if (digits.size() < kMaxDigits) {
            digits.push_back(c);
        } else {
            ++exponent;
            dropped = dropped || c != '0';
        }
    }

    void AddFractionDigit(char c)
    {
        anyDigit = true;
        if (digits.empty() && c == '0') {
            --exponent;
            return;
        }
        if (digits.size() < kMaxDigits) {
            digits.push_back(c);
            --exponent;
        } else {
            dropped = dropped || c != '0';
        }
    }
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The exponent after an "e" (or "d"), or nothing if no digit follows.
bool ReadExponent(Cursor& cur, int64_t& exponent)
{
    // Anything this large already means infinity or zero.
    constexpr int64_t kCap = int64_t{1} << 40;
    bool negative = false;
    if (cur.Peek() == '+' || cur.Peek() == '-') {
        negative = cur.Peek() == '-';
        cur.Advance();
    }
    if (!IsDigit(cur.Peek()))
        return false;
    int64_t value = 0;
    while (IsDigit(cur.Peek())) {
        if (value < kCap)
            value = value * 10 + (cur.Peek() - '0');
        cur.Advance();
    }
    exponent = negative ? -value : value;
    return true;
}

double DecimalToDouble(Decimal& dec)
{
    if (dec.digits.empty())
        return 0.0;
    if (dec.dropped) {
        // Any non-zero digit past the kept ones: enough to break a tie upward.
        dec.digits.push_back('1');
        --dec.exponent;
    }
    // Order of magnitude: the value lies in [10^(magnitude-1), 10^magnitude).
    const int64_t magnitude = static_cast<int64_t>(dec.digits.size()) + dec.exponent;
    constexpr double kInf = std::numeric_limits<double>::infinity();
    if (magnitude > 310)
        return kInf;
    if (magnitude < -330)
        return 0.0;
    std::string text = std::move(dec.digits);
    text += 'e';
    text += std::to_string(dec.exponent);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific);
    if (result.ec == std::errc::result_out_of_range)
        return magnitude > 0 ? kInf : 0.0;
    return value;
}

double ReadDecimal(Cursor& cur)
{
    Decimal dec;
    while (IsDigit(cur.Peek())) {
        dec.AddIntegerDigit(cur.Peek());
        cur.Advance();
    }
    if (cur.Peek() == '.') {
        cur.Advance();
        while (IsDigit(cur.Peek())) {
            dec.AddFractionDigit(cur.Peek());
            cur.Advance();
        }
    }
    if (!dec.anyDigit)
        return 0.0;
    const char marker = cur.Peek();
    // "D" marks a double-precision exponent in the same way as "E".
    if (marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
        cur.Advance();
        int64_t exponent = 0;
        if (ReadExponent(cur, exponent))
            dec.exponent += exponent;
    }
    return DecimalToDouble(dec);
}

} // namespace

double ParseLeadingNumber(std::string_view text)
{
    Cursor cur(text);
    if (cur.Peek() == '&') {
        cur.Advance();
        const char kind = cur.Peek();
        if (kind == 'h' || kind == 'H') {
            cur.Advance();
            return ReadRadixDigits(cur, 4);
        }
        if (kind == 'o' || kind == 'O') {
            cur.Advance();
            return ReadRadixDigits(cur, 3);
        }
        return 0.0;
    }
    bool negative = false;
    if (cur.Peek() == '+' || cur.Peek() == '-') {
        negative = cur.Peek() == '-';
        cur.Advance();
    }
    const double value = ReadDecimal(cur);
    // No "-0": a box that reads zero reads plain zero.
    if (value == 0.0)
        return 0.0;
    return negative ? -value : value;
}

} // namespace color
