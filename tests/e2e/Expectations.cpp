// Answers the end-to-end tests' questions about what the program must show:
// pictures of the client area's drawing surface and the numbers behind the
// boxes' texts, all from the test-support library's closed forms. One
// request a line on stdin, a JSON object; one answer a line on stdout, a
// JSON object, followed by `bytes` bytes of picture (red, green, blue, rows
// top to bottom) where it names them. Pictures are of the picker region.
//
// With --geometry it only prints, without a display, the bounds the tests
// compare in and the places the program starts from.
//
// Run it on the display the program runs on: the palette, and so the
// background and 3-D colours, comes from the same platform and style.

#include <cstdio>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStyleFactory>

#include "tests/support/Palette.h"
#include "tests/support/Picker.h"
#include "tests/support/Positions.h"
#include "tests/support/Swatches.h"

namespace {

using namespace expected;

struct Failure {
    QString what;
};

QJsonArray Color(int32_t value)
{
    return {value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF};
}

int32_t ColorOf(const QJsonValue& v)
{
    const QJsonArray a = v.toArray();
    if (a.size() != 3)
        throw Failure{QStringLiteral("a colour is [red, green, blue]")};
    return Rgb(a[0].toInt(), a[1].toInt(), a[2].toInt());
}

int IntOf(const QJsonObject& request, const char* key)
{
    const QJsonValue v = request.value(QLatin1String(key));
    if (!v.isDouble())
        throw Failure{QStringLiteral("no number \"%1\"").arg(QLatin1String(key))};
    return v.toInt();
}

// Box value -> position or mark row, position -> box value.
const std::map<QString, std::function<double(double)>>& Mappings()
{
    static const std::map<QString, std::function<double(double)>> table = {
        {"hue_of_field_x", [](double x) { return HueOfFieldX(int(x)); }},
        {"percent_of_field_x", [](double x) { return PercentOfFieldX(int(x)); }},
        {"percent_of_row", [](double y) { return PercentOfFieldY(int(y)); }},
        {"hue_of_strip_row", [](double y) { return HueOfStripRow(int(y)); }},
        {"field_x_of_hue", [](double h) { return HueFieldX(h); }},
        {"field_x_of_percent", [](double v) { return PercentFieldX(v); }},
        {"field_y_of_percent", [](double v) { return PercentFieldY(v); }},
        {"mark_row_of_typed_hue", [](double h) { return MarkRowOf(HueStripY(h)); }},
        {"mark_row_of_switched_hue", [](double h) { return MarkRowOf(HueStripYFloored(h)); }},
        {"mark_row_of_percent", [](double v) { return MarkRowOf(PercentStripY(v)); }},
    };
    return table;
}

Mode ModeOf(const QString& name)
{
    if (name == QLatin1String("hue"))
        return Mode::Hue;
    if (name == QLatin1String("saturation"))
        return Mode::Saturation;
    if (name == QLatin1String("brightness"))
        return Mode::Brightness;
    throw Failure{QStringLiteral("no mode \"%1\"").arg(name)};
}

// The answer and, for a picture, its bytes.
struct Answer {
    QJsonObject json;
    std::string bytes;
};

QJsonArray Rect(const Box& b)
{
    return {b.left, b.top, b.right - b.left, b.bottom - b.top};
}

// The part of `p` in the picker region.
Answer WithPicture(QJsonObject json, const Picture& p)
{
    json[QStringLiteral("width")] = PickerRegion.right - PickerRegion.left;
    json[QStringLiteral("height")] = PickerRegion.bottom - PickerRegion.top;
    std::string bytes = p.RgbBytes(PickerRegion);
    json[QStringLiteral("bytes")] = qint64(bytes.size());
    return {json, std::move(bytes)};
}

Answer Handle(const QJsonObject& r, const platform::SystemColors& colors)
{
    const QString op = r.value(QStringLiteral("op")).toString();
    if (op == QLatin1String("picker")) {
        PickerScene scene;
        scene.mode = ModeOf(r.value(QStringLiteral("mode")).toString());
        if (r.contains(QStringLiteral("hue")))
            scene.hue = ColorOf(r.value(QStringLiteral("hue")));
        const QJsonArray ring = r.value(QStringLiteral("ring")).toArray();
        scene.ringX = ring.at(0).toInt();
        scene.ringY = ring.at(1).toInt();
        scene.markRow = IntOf(r, "marks");
        QJsonObject json;
        json[QStringLiteral("under_ring")] = Color(ColorUnderRing(scene));
        json[QStringLiteral("strip_at_marks")] = Color(StripColorAtMarks(scene));
        if (!r.value(QStringLiteral("picture")).toBool(true))
            return {json, {}};
        return WithPicture(json, PickerPicture(scene, colors));
    }
    if (op == QLatin1String("panel")) {
        const int selected = IntOf(r, "selected");
        if (r.value(QStringLiteral("safe")).toBool())
            return WithPicture({}, SafePanelPicture(selected, colors));
        const QJsonObject custom = r.value(QStringLiteral("custom")).toObject();
        return WithPicture({}, PanelPicture(
                                   [&](int k) {
                                       const QJsonValue v = custom.value(QString::number(k));
                                       return v.isUndefined() ? 0 : ColorOf(v);
                                   },
                                   selected, colors));
    }
    if (op == QLatin1String("value")) {
        const QString name = r.value(QStringLiteral("name")).toString();
        const auto m = Mappings().find(name);
        if (m == Mappings().end())
            throw Failure{QStringLiteral("no value \"%1\"").arg(name)};
        return {{{QStringLiteral("value"), m->second(r.value(QStringLiteral("of")).toDouble())}}, {}};
    }
    if (op == QLatin1String("hue_strip"))
        return {{{QStringLiteral("rgb"), Color(HueStripRow(IntOf(r, "row") - StripTop))}}, {}};
    if (op == QLatin1String("hue_mix"))
        return {{{QStringLiteral("rgb"),
                  Color(HueMixSample(ColorOf(r.value(QStringLiteral("strip"))), IntOf(r, "s"), IntOf(r, "b")))}},
                {}};
    if (op == QLatin1String("cell")) {
        const int k = IntOf(r, "cell");
        const Box c = CellBox(k);
        const Point centre = CellCentre(k);
        return {{{QStringLiteral("rect"), QJsonArray{c.left, c.top, c.right, c.bottom}},
                 {QStringLiteral("centre"), QJsonArray{centre.x, centre.y}},
                 {QStringLiteral("safe_colour"), Color(SafeColor(k))}},
                {}};
    }
    if (op == QLatin1String("custom_colors_file")) {
        // Cells not named hold 0.
        const QJsonObject cells = r.value(QStringLiteral("cells")).toObject();
        std::vector<int32_t> values(CellCount + 1, 0);
        for (auto it = cells.begin(); it != cells.end(); ++it)
            values.at(size_t(it.key().toInt())) = ColorOf(it.value());
        return {{{QStringLiteral("text"), QString::fromStdString(CustomColorsFile(values))}}, {}};
    }
    throw Failure{QStringLiteral("no request \"%1\"").arg(op)};
}

// The picker region as x, y, width, height; the ring's and the marks'
// places at the start.
QJsonObject Geometry()
{
    const PickerScene start;
    return {{QStringLiteral("picker_region"), Rect(PickerRegion)},
            {QStringLiteral("start_ring"), QJsonArray{start.ringX, start.ringY}},
            {QStringLiteral("start_marks"), start.markRow}};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--geometry") {
        std::fputs(QJsonDocument(Geometry()).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
        return 0;
    }
    // The same application set-up as the program's, for the same palette.
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const platform::SystemColors colors = PaletteColors();

    std::string line;
    while (std::getline(std::cin, line)) {
        Answer a;
        QJsonParseError error;
        const QJsonDocument request = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        try {
            if (!request.isObject())
                throw Failure{QStringLiteral("not a JSON object: ") + error.errorString()};
            a = Handle(request.object(), colors);
        } catch (const Failure& f) {
            a = {{{QStringLiteral("error"), f.what}}, {}};
        } catch (const std::exception& e) {
            a = {{{QStringLiteral("error"), QString::fromLocal8Bit(e.what())}}, {}};
        }
        const QByteArray json = QJsonDocument(a.json).toJson(QJsonDocument::Compact) + '\n';
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        std::fwrite(a.bytes.data(), 1, a.bytes.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
