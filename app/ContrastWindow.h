#pragma once
#include <cstdint>

#include <QWidget>

class QLabel;

namespace app {

// Text in one colour on another, at the two sizes the contrast levels tell
// apart: the window font, and large text (14 point bold).
class ContrastSample : public QWidget {
public:
    ContrastSample(const QString& caption, QWidget* parent);
    void SetColors(int32_t text, int32_t background);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    int32_t text_ = 0;
    int32_t background_ = 0;
};

// The contrast between the new and the old colour: the ratio, whether it
// meets levels AA and AAA for normal and for large text, and a line of text
// in each colour on the other. Modeless; it closes (and is deleted) on its
// own and with its owner.
class ContrastWindow : public QWidget {
public:
    explicit ContrastWindow(QWidget* owner);
    void SetColors(int32_t newColor, int32_t oldColor);

    QLabel* lblRatio = nullptr;
    QLabel* lblAANormal = nullptr;
    QLabel* lblAALarge = nullptr;
    QLabel* lblAAANormal = nullptr;
    QLabel* lblAAALarge = nullptr;
    ContrastSample* picNewOnOld = nullptr;
    ContrastSample* picOldOnNew = nullptr;
};

} // namespace app
