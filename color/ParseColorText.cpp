// Stylesheet colour text -> colour value. The grammar is the stylesheets'
// own: a function's arguments are numbers (with "%" or an angle unit), the
// keyword "none", commas and one "/" before the alpha; the space syntax
// takes "none" and plain numbers where percentages go, the older comma
// syntax takes neither. Text cut short (a missing ")") is refused rather
// than guessed at, since the missing part may change the colour.
#include "color/ParseColorText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "color/ColorSpaces.h"
#include "color/ColorValue.h"
#include "color/NamedColors.h"

namespace color {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

int HexDigit(char c)
{
    if (IsDigit(c))
        return c - '0';
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// 3, 4, 6 or 8 hexadecimal digits; a fourth or the last two are alpha.
std::optional<int32_t> ParseHex(std::string_view digits)
{
    const size_t n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8)
        return std::nullopt;
    int values[8];
    for (size_t i = 0; i < n; ++i)
        if ((values[i] = HexDigit(digits[i])) < 0)
            return std::nullopt;
    if (n <= 4)
        return RGB(values[0] * 17, values[1] * 17, values[2] * 17);
    return RGB(values[0] * 16 + values[1], values[2] * 16 + values[3], values[4] * 16 + values[5]);
}

enum class Unit { Plain, Percent, Deg, Grad, Rad, Turn };

struct Token {
    enum Kind { Number, None, Comma, Slash } kind;
    double value = 0.0;
    Unit unit = Unit::Plain;
};

// Digits with an optional fraction and exponent, already checked, as a
// double. Beyond the range of doubles the value is infinite or zero,
// whichever side of 1 the digits and exponent put it.
double NumberValue(std::string_view digits, bool negative)
{
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const size_t e = digits.find_first_of("eE");
        const std::string_view mantissa = digits.substr(0, e);
        const long whole = static_cast<long>(mantissa.substr(0, mantissa.find('.')).size());
        long leadingZeros = 0;
        for (char c : mantissa) {
            if (c == '.')
                continue;
            if (c != '0')
                break;
            ++leadingZeros;
        }
        long exponent = 0;
        if (e != std::string_view::npos) {
            const std::string_view written = digits.substr(e + 1);
            for (char c : written)
                if (IsDigit(c))
                    exponent = std::min(exponent * 10 + (c - '0'), 1L << 30);
            if (written.front() == '-')
                exponent = -exponent;
        }
        // The power of ten of the first significant digit.
        value = whole - leadingZeros - 1 + exponent >= 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

// The tokens of a function's arguments; empty on anything else (another
// function, a stray character, an unknown unit, a non-ASCII digit).
std::optional<std::vector<Token>> Tokenize(std::string_view s)
{
    std::vector<Token> tokens;
    size_t i = 0;
    const auto at = [&](size_t k) { return k < s.size() ? s[k] : '\0'; };
    const auto startsName = [&](size_t k) {
        const char c = at(k);
        if (c == '-')
            return IsLetter(at(k + 1)) || at(k + 1) == '_' || at(k + 1) == '-';
        return IsLetter(c) || c == '_';
    };
    const auto readName = [&] {
        const size_t start = i;
        while (i < s.size() && (IsLetter(s[i]) || IsDigit(s[i]) || s[i] == '_' || s[i] == '-'))
            ++i;
        return s.substr(start, i - start);
    };
    while (i < s.size()) {
        const char c = s[i];
        if (IsBlank(c)) {
            ++i;
        } else if (c == ',') {
            tokens.push_back({Token::Comma});
            ++i;
        } else if (c == '/') {
            tokens.push_back({Token::Slash});
            ++i;
        } else if (IsDigit(c) || ((c == '.' || c == '+' || c == '-') &&
                                  (IsDigit(at(i + 1)) || (at(i + 1) == '.' && c != '.' && IsDigit(at(i + 2)))))) {
            const bool negative = c == '-';
            if (c == '+' || c == '-')
                ++i;
            const size_t start = i;
            while (IsDigit(at(i)))
                ++i;
            if (at(i) == '.' && IsDigit(at(i + 1))) {
                ++i;
                while (IsDigit(at(i)))
                    ++i;
            }
            if ((at(i) == 'e' || at(i) == 'E') &&
                (IsDigit(at(i + 1)) || ((at(i + 1) == '+' || at(i + 1) == '-') && IsDigit(at(i + 2))))) {
                i += 2;
                while (IsDigit(at(i)))
                    ++i;
            }
            Token t{Token::Number, NumberValue(s.substr(start, i - start), negative)};
            if (at(i) == '%') {
                t.unit = Unit::Percent;
                ++i;
            } else if (startsName(i)) {
                const std::string_view unit = readName();
                if (SameLetters(unit, "deg"))
                    t.unit = Unit::Deg;
                else if (SameLetters(unit, "grad"))
                    t.unit = Unit::Grad;
                else if (SameLetters(unit, "rad"))
                    t.unit = Unit::Rad;
                else if (SameLetters(unit, "turn"))
                    t.unit = Unit::Turn;
                else
                    return std::nullopt;
            }
            tokens.push_back(t);
        } else if (startsName(i)) {
            if (!SameLetters(readName(), "none"))
                return std::nullopt;
            tokens.push_back({Token::None});
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

// Three components and the alpha, whichever syntax they came in.
struct Arguments {
    std::array<Token, 3> c;
    bool commas = false;
};

bool IsAlpha(const Token& t)
{
    return t.kind == Token::None || (t.kind == Token::Number && (t.unit == Unit::Plain || t.unit == Unit::Percent));
}

// "a b c" or "a b c / alpha"; with commasAllowed also "a, b, c" and
// "a, b, c, alpha" (no "none" there).
std::optional<Arguments> Split(const std::vector<Token>& t, bool commasAllowed)
{
    Arguments args;
    const auto component = [](const Token& k) { return k.kind == Token::Number || k.kind == Token::None; };
    if (t.size() >= 2 && t[1].kind == Token::Comma) {
        if (!commasAllowed || (t.size() != 5 && t.size() != 7))
            return std::nullopt;
        for (size_t i = 0; i < t.size(); ++i) {
            const bool wantComma = i % 2 == 1;
            if (wantComma ? t[i].kind != Token::Comma : t[i].kind != Token::Number)
                return std::nullopt;
        }
        if (t.size() == 7 && !IsAlpha(t[6]))
            return std::nullopt;
        args.c = {t[0], t[2], t[4]};
        args.commas = true;
        return args;
    }
    if (t.size() != 3 && t.size() != 5)
        return std::nullopt;
    if (!component(t[0]) || !component(t[1]) || !component(t[2]))
        return std::nullopt;
    if (t.size() == 5 && (t[3].kind != Token::Slash || !IsAlpha(t[4])))
        return std::nullopt;
    args.c = {t[0], t[1], t[2]};
    return args;
}

bool IsNumberOrPercent(const Token& t)
{
    return t.kind == Token::None || t.unit == Unit::Plain || t.unit == Unit::Percent;
}

bool IsHue(const Token& t)
{
    return t.kind == Token::None || t.unit != Unit::Percent;
}

// A component's value, a percentage taken as that share of `full`. Values
// are limited to a million either way, far beyond any colour, so that no
// later step overflows.
double Value(const Token& t, double full)
{
    if (t.kind == Token::None)
        return 0.0;
    const double v = t.unit == Unit::Percent ? t.value * full / 100.0 : t.value;
    return std::clamp(v, -1e6, 1e6);
}

double Degrees(const Token& t)
{
    if (t.kind == Token::None)
        return 0.0;
    switch (t.unit) {
    case Unit::Grad:
        return t.value * 0.9;
    case Unit::Rad:
        return t.value * 180.0 / std::numbers::pi;
    case Unit::Turn:
        return t.value * 360.0;
    default:
        return t.value;
    }
}

int32_t ChannelByte(double channel)
{
    const double c = channel > 0.0 ? std::min(channel, 255.0) : 0.0;
    return static_cast<int32_t>(std::floor(c + 0.5));
}

std::optional<int32_t> FromRgb(const Arguments& a)
{
    for (const Token& t : a.c)
        if (!IsNumberOrPercent(t))
            return std::nullopt;
    // The comma syntax wants all three as numbers or all as percentages.
    if (a.commas && !(a.c[0].unit == a.c[1].unit && a.c[1].unit == a.c[2].unit))
        return std::nullopt;
    return RGB(ChannelByte(Value(a.c[0], 255)), ChannelByte(Value(a.c[1], 255)), ChannelByte(Value(a.c[2], 255)));
}

// Hue and two percentages (plain numbers count as percent in the space
// syntax); for hsl(), hsb() and hwb().
bool HueAndPercents(const Arguments& a)
{
    if (!IsHue(a.c[0]))
        return false;
    for (int i = 1; i < 3; ++i)
        if (!IsNumberOrPercent(a.c[i]) || (a.commas && a.c[i].unit != Unit::Percent))
            return false;
    return true;
}

std::optional<int32_t> FromFunction(std::string_view name, const std::vector<Token>& tokens)
{
    const bool legacyName = SameLetters(name, "rgb") || SameLetters(name, "rgba") || SameLetters(name, "hsl") ||
                            SameLetters(name, "hsla") || SameLetters(name, "hsb") || SameLetters(name, "hsv");
    const std::optional<Arguments> args = Split(tokens, legacyName);
    if (!args)
        return std::nullopt;
    const Arguments& a = *args;
    if (SameLetters(name, "rgb") || SameLetters(name, "rgba"))
        return FromRgb(a);

    if (SameLetters(name, "hsl") || SameLetters(name, "hsla") || SameLetters(name, "hsb") ||
        SameLetters(name, "hsv") || SameLetters(name, "hwb")) {
        if (!HueAndPercents(a))
            return std::nullopt;
        const double h = Degrees(a.c[0]);
        const double p1 = Value(a.c[1], 100) / 100.0;
        const double p2 = Value(a.c[2], 100) / 100.0;
        if (SameLetters(name, "hwb"))
            return ToColorValue(HwbToSrgb(h, p1, p2));
        // A negative saturation counts as none.
        if (SameLetters(name, "hsb") || SameLetters(name, "hsv"))
            return ToColorValue(HsbToSrgb(h, std::max(p1, 0.0), p2));
        return ToColorValue(HslToSrgb(h, std::max(p1, 0.0), p2));
    }

    // lab(): L 0..100 (100 %), a and b with 100 % = 125; lch(): C with
    // 100 % = 150. oklab(): L 0..1 (100 %), a and b with 100 % = 0.4, and so
    // C of oklch(). Lightness is clamped to its range, chroma to >= 0.
    const bool lab = SameLetters(name, "lab"), lch = SameLetters(name, "lch");
    const bool oklab = SameLetters(name, "oklab"), oklch = SameLetters(name, "oklch");
    if (!lab && !lch && !oklab && !oklch)
        return std::nullopt;
    const bool polar = lch || oklch;
    if (!IsNumberOrPercent(a.c[0]) || !IsNumberOrPercent(a.c[1]) ||
        !(polar ? IsHue(a.c[2]) : IsNumberOrPercent(a.c[2])))
        return std::nullopt;
    const double lightFull = lab || lch ? 100.0 : 1.0;
    const double L = std::clamp(Value(a.c[0], lightFull), 0.0, lightFull);
    // No lightness is black and full lightness white whatever the chroma, as
    // stylesheets show them; clamping the channels of such a colour would
    // give a bright green for oklch(0% 1.1 60).
    if (L <= 0.0)
        return RGB(0, 0, 0);
    if (L >= lightFull)
        return RGB(255, 255, 255);
    double first = 0.0, second = 0.0;
    if (polar) {
        const double chroma = std::max(Value(a.c[1], lch ? 150.0 : 0.4), 0.0);
        PolarToCartesian(chroma, Degrees(a.c[2]), first, second);
    } else {
        first = Value(a.c[1], lab ? 125.0 : 0.4);
        second = Value(a.c[2], lab ? 125.0 : 0.4);
    }
    if (lab || lch)
        return ToColorValue(LabToSrgb(L, first, second));
    return ToColorValue(OkLabToSrgb({L, first, second}));
}

} // namespace

std::optional<int32_t> ParseColorText(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.back() == ';')
        text = Trim(text.substr(0, text.size() - 1));
    if (text.empty())
        return std::nullopt;
    if (text.front() == '#')
        return ParseHex(text.substr(1));
    if (text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) { return HexDigit(c) >= 0; }))
        return ParseHex(text);

    const size_t open = text.find('(');
    if (open == std::string_view::npos)
        return FindNamedColor(text);
    const std::string_view name = text.substr(0, open);
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsLetter) || text.back() != ')')
        return std::nullopt;
    const std::optional<std::vector<Token>> tokens = Tokenize(text.substr(open + 1, text.size() - open - 2));
    if (!tokens)
        return std::nullopt;
    return FromFunction(name, *tokens);
}

} // namespace color
