// The colour readout: channels and hexadecimal text printed where the value
// boxes stand while the picker is shown.
#include <algorithm>

#include <QFontMetrics>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "color/HexText.h"
#include "color/NumberRules.h"

void Form1::DrawColorInfo(const int16_t& red, const int16_t& green, const int16_t& blue, const std::string& hex)
{
    platform::Surface& s = Surface();
    const int left = Picker.Geometry.StripRight + 20;
    const std::string lines[] = {"R: " + color::IntegerText(red), "G: " + color::IntegerText(green),
                                 "B: " + color::IntegerText(blue), "Hex: #" + hex};

    // Clear every pixel the four lines can reach, whatever the font, so a
    // readout never prints over the one before it.
    const QFontMetrics fm(s.Font(), &s.Image());
    int right = left + 80;
    for (const std::string& line : lines)
        right = std::max(right, left + fm.horizontalAdvance(QString::fromStdString(line)) + 1);
    const int bottom = std::max(130, 80 + 4 * s.LineHeight());
    s.FillColor = s.BackColor;
    s.ForeColor = s.BackColor;
    s.DrawMode = platform::DRAWMODE_COPYPEN;
    s.LineBox(left, 80, right, bottom, s.BackColor, true);

    s.CurrentX = left;
    s.CurrentY = 80;
    s.ForeColor = 0;
    for (const std::string& line : lines) {
        s.CurrentX = left;
        s.Print(line);
    }
    s.Refresh();
}

void Form1::ShowSampleInfo(const app::ColorLabel* sample)
{
    const int32_t value = sample->BackColor();
    int16_t red, green, blue;
    color::SplitColor(value, red, green, blue);
    std::string hex;
    color::GetHexVal(red, green, blue, hex);
    DrawColorInfo(red, green, blue, hex);
}

void Form1::lblOldColor_Click()
{
    ShowSampleInfo(lblOldColor);
}

void Form1::lblSelColor_Click()
{
    ShowSampleInfo(lblSelColor);
}

void Form1::lblADDColor_Click()
{
    ShowSampleInfo(lblADDColor);
}
