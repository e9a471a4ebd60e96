#include "color/NamedColors.h"

#include <algorithm>
#include <array>

#include "color/ColorValue.h"

namespace color {

namespace {

// Written as 0xRRGGBB, the way stylesheets spell them.
constexpr NamedColor N(std::string_view name, uint32_t rrggbb)
{
    return {name, RGB(static_cast<int32_t>(rrggbb >> 16), static_cast<int32_t>((rrggbb >> 8) & 0xFF),
                      static_cast<int32_t>(rrggbb & 0xFF))};
}

constexpr std::array<NamedColor, 148> Names = {{
    N("aliceblue", 0xF0F8FF), N("antiquewhite", 0xFAEBD7), N("aqua", 0x00FFFF), N("aquamarine", 0x7FFFD4),
    N("azure", 0xF0FFFF), N("beige", 0xF5F5DC), N("bisque", 0xFFE4C4), N("black", 0x000000),
    N("blanchedalmond", 0xFFEBCD), N("blue", 0x0000FF), N("blueviolet", 0x8A2BE2), N("brown", 0xA52A2A),
    N("burlywood", 0xDEB887), N("cadetblue", 0x5F9EA0), N("chartreuse", 0x7FFF00), N("chocolate", 0xD2691E),
    N("coral", 0xFF7F50), N("cornflowerblue", 0x6495ED), N("cornsilk", 0xFFF8DC), N("crimson", 0xDC143C),
    N("cyan", 0x00FFFF), N("darkblue", 0x00008B), N("darkcyan", 0x008B8B), N("darkgoldenrod", 0xB8860B),
    N("darkgray", 0xA9A9A9), N("darkgreen", 0x006400), N("darkgrey", 0xA9A9A9), N("darkkhaki", 0xBDB76B),
    N("darkmagenta", 0x8B008B), N("darkolivegreen", 0x556B2F), N("darkorange", 0xFF8C00),
    N("darkorchid", 0x9932CC), N("darkred", 0x8B0000), N("darksalmon", 0xE9967A), N("darkseagreen", 0x8FBC8F),
    N("darkslateblue", 0x483D8B), N("darkslategray", 0x2F4F4F), N("darkslategrey", 0x2F4F4F),
    N("darkturquoise", 0x00CED1), N("darkviolet", 0x9400D3), N("deeppink", 0xFF1493),
    N("deepskyblue", 0x00BFFF), N("dimgray", 0x696969), N("dimgrey", 0x696969), N("dodgerblue", 0x1E90FF),
    N("firebrick", 0xB22222), N("floralwhite", 0xFFFAF0), N("forestgreen", 0x228B22), N("fuchsia", 0xFF00FF),
    N("gainsboro", 0xDCDCDC), N("ghostwhite", 0xF8F8FF), N("gold", 0xFFD700), N("goldenrod", 0xDAA520),
    N("gray", 0x808080), N("green", 0x008000), N("greenyellow", 0xADFF2F), N("grey", 0x808080),
    N("honeydew", 0xF0FFF0), N("hotpink", 0xFF69B4), N("indianred", 0xCD5C5C), N("indigo", 0x4B0082),
    N("ivory", 0xFFFFF0), N("khaki", 0xF0E68C), N("lavender", 0xE6E6FA), N("lavenderblush", 0xFFF0F5),
    N("lawngreen", 0x7CFC00), N("lemonchiffon", 0xFFFACD), N("lightblue", 0xADD8E6), N("lightcoral", 0xF08080),
    N("lightcyan", 0xE0FFFF), N("lightgoldenrodyellow", 0xFAFAD2), N("lightgray", 0xD3D3D3),
    N("lightgreen", 0x90EE90), N("lightgrey", 0xD3D3D3), N("lightpink", 0xFFB6C1), N("lightsalmon", 0xFFA07A),
    N("lightseagreen", 0x20B2AA), N("lightskyblue", 0x87CEFA), N("lightslategray", 0x778899),
    N("lightslategrey", 0x778899), N("lightsteelblue", 0xB0C4DE), N("lightyellow", 0xFFFFE0),
    N("lime", 0x00FF00), N("limegreen", 0x32CD32), N("linen", 0xFAF0E6), N("magenta", 0xFF00FF),
    N("maroon", 0x800000), N("mediumaquamarine", 0x66CDAA), N("mediumblue", 0x0000CD),
    N("mediumorchid", 0xBA55D3), N("mediumpurple", 0x9370DB), N("mediumseagreen", 0x3CB371),
    N("mediumslateblue", 0x7B68EE), N("mediumspringgreen", 0x00FA9A), N("mediumturquoise", 0x48D1CC),
    N("mediumvioletred", 0xC71585), N("midnightblue", 0x191970), N("mintcream", 0xF5FFFA),
    N("mistyrose", 0xFFE4E1), N("moccasin", 0xFFE4B5), N("navajowhite", 0xFFDEAD), N("navy", 0x000080),
    N("oldlace", 0xFDF5E6), N("olive", 0x808000), N("olivedrab", 0x6B8E23), N("orange", 0xFFA500),
    N("orangered", 0xFF4500), N("orchid", 0xDA70D6), N("palegoldenrod", 0xEEE8AA), N("palegreen", 0x98FB98),
    N("paleturquoise", 0xAFEEEE), N("palevioletred", 0xDB7093), N("papayawhip", 0xFFEFD5),
    N("peachpuff", 0xFFDAB9), N("peru", 0xCD853F), N("pink", 0xFFC0CB), N("plum", 0xDDA0DD),
    N("powderblue", 0xB0E0E6), N("purple", 0x800080), N("rebeccapurple", 0x663399), N("red", 0xFF0000),
    N("rosybrown", 0xBC8F8F), N("royalblue", 0x4169E1), N("saddlebrown", 0x8B4513), N("salmon", 0xFA8072),
    N("sandybrown", 0xF4A460), N("seagreen", 0x2E8B57), N("seashell", 0xFFF5EE), N("sienna", 0xA0522D),
    N("silver", 0xC0C0C0), N("skyblue", 0x87CEEB), N("slateblue", 0x6A5ACD), N("slategray", 0x708090),
    N("slategrey", 0x708090), N("snow", 0xFFFAFA), N("springgreen", 0x00FF7F), N("steelblue", 0x4682B4),
    N("tan", 0xD2B48C), N("teal", 0x008080), N("thistle", 0xD8BFD8), N("tomato", 0xFF6347),
    N("turquoise", 0x40E0D0), N("violet", 0xEE82EE), N("wheat", 0xF5DEB3), N("white", 0xFFFFFF),
    N("whitesmoke", 0xF5F5F5), N("yellow", 0xFFFF00), N("yellowgreen", 0x9ACD32),
}};

static_assert(std::is_sorted(Names.begin(), Names.end(),
                             [](const NamedColor& a, const NamedColor& b) { return a.name < b.name; }));

} // namespace

std::span<const NamedColor> NamedColors()
{
    return Names;
}

std::optional<int32_t> FindNamedColor(std::string_view name)
{
    // The longest name has 20 letters; anything longer names nothing.
    char lower[24];
    if (name.size() > sizeof lower)
        return std::nullopt;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const std::string_view key(lower, name.size());
    const auto it = std::lower_bound(Names.begin(), Names.end(), key,
                                     [](const NamedColor& entry, std::string_view k) { return entry.name < k; });
    if (it == Names.end() || it->name != key)
        return std::nullopt;
    return it->colorValue;
}

} // namespace color
