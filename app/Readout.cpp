// The colour readout: channels and hexadecimal text printed where the value
// boxes stand while the picker is shown.
#include <algorithm>

#include <QFontMetrics>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorInfo.h"
#include "color/NumberRules.h"

void Form1::DrawColorInfo(int16_t red, int16_t green, int16_t blue, const std::string& hex)
{
    platform::Surface& s = view_.Surface();
    const int left = view_.Geometry().StripRight + 20;
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
    s.ForeColor = s.Colors().Ink;
    for (const std::string& line : lines) {
        s.CurrentX = left;
        s.Print(line);
    }
    s.Refresh();
}

void Form1::ShowSampleInfo(const app::ColorLabel* sample)
{
    const color::ColorInfo info = color::InfoOf(sample->BackColor());
    DrawColorInfo(info.red, info.green, info.blue, info.hex);
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
