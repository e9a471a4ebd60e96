// What the client area shows, in words: it is one drawn picture, which a
// screen reader cannot read.
#include "app/Controls.h"
#include "app/Form1.h"
#include "color/Mappings.h"

void Form1::DescribeClient()
{
    const color::PickerGeometry& g = view_.Geometry();
    const int x = view_.FieldX(), y = view_.FieldY();
    const std::array<int, 4> describing{int(panel_.PresetMode()), int(view_.Mode()), x, y};
    if (describing == describedFor_)
        return;
    describedFor_ = describing;
    QString text;
    if (panel_.PresetMode() == PresetCustom)
        text = QStringLiteral("Custom colours");
    else if (panel_.PresetMode() == PresetSafe)
        text = QStringLiteral("Safe palette");
    else if (IsHueMode())
        text = QStringLiteral("Hue field, saturation %1, brightness %2")
                   .arg(color::FieldXToSaturation(x, g))
                   .arg(color::FieldYToBrightness(y, g));
    else if (IsSaturationMode())
        text = QStringLiteral("Saturation field, hue %1, brightness %2")
                   .arg(color::FieldXToHue(x, g))
                   .arg(color::FieldYToBrightness(y, g));
    else
        text = QStringLiteral("Brightness field, hue %1, saturation %2")
                   .arg(color::FieldXToHue(x, g))
                   .arg(color::FieldYToSaturation(y, g));
    // Each change is announced; an unchanged text is not.
    if (Client->accessibleDescription() != text)
        Client->setAccessibleDescription(text);
}
