#include "app/ContrastWindow.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include "app/SystemLook.h"
#include "color/ColorValue.h"
#include "color/Contrast.h"
#include "platform/Surface.h"

namespace app {

namespace {

constexpr int SampleHeight = 34;

QLabel* MakeLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAccessibleName(text);
    return l;
}

QString Verdict(bool passes)
{
    return passes ? QStringLiteral("Passes") : QStringLiteral("Fails");
}

// A value that is no colour is shown as black, here as everywhere.
int32_t Shown(int32_t value)
{
    return color::IsColor(value) ? value : 0;
}

} // namespace

ContrastSample::ContrastSample(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption)
{
    setFixedHeight(SampleHeight);
    setMinimumWidth(220);
    setAccessibleName(caption);
}

void ContrastSample::SetColors(int32_t text, int32_t background)
{
    if (text == text_ && background == background_)
        return;
    text_ = text;
    background_ = background;
    update();
}

void ContrastSample::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(platform::ToQRgb(background_)));
    p.setPen(QColor::fromRgb(platform::ToQRgb(text_)));
    QFont normal = font();
    p.setFont(normal);
    const QRect inner = rect().adjusted(6, 0, -6, 0);
    p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, caption_);
    QFont large = normal;
    large.setPointSize(14);
    large.setBold(true);
    p.setFont(large);
    p.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Large text"));
}

ContrastWindow::ContrastWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(QStringLiteral("Contrast"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(WindowFont());

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(6);
    grid->addWidget(MakeLabel(QStringLiteral("Contrast ratio:"), this), 0, 0, 1, 2);
    lblRatio = new QLabel(this);
    QFont bold = font();
    bold.setBold(true);
    lblRatio->setFont(bold);
    grid->addWidget(lblRatio, 0, 2);
    grid->addWidget(MakeLabel(QStringLiteral("Normal text"), this), 1, 1);
    grid->addWidget(MakeLabel(QStringLiteral("Large text"), this), 1, 2);
    grid->addWidget(MakeLabel(QStringLiteral("AA"), this), 2, 0);
    grid->addWidget(MakeLabel(QStringLiteral("AAA"), this), 3, 0);
    lblAANormal = new QLabel(this);
    lblAALarge = new QLabel(this);
    lblAAANormal = new QLabel(this);
    lblAAALarge = new QLabel(this);
    grid->addWidget(lblAANormal, 2, 1);
    grid->addWidget(lblAALarge, 2, 2);
    grid->addWidget(lblAAANormal, 3, 1);
    grid->addWidget(lblAAALarge, 3, 2);
    picNewOnOld = new ContrastSample(QStringLiteral("New colour on old"), this);
    picOldOnNew = new ContrastSample(QStringLiteral("Old colour on new"), this);
    grid->addWidget(picNewOnOld, 4, 0, 1, 3);
    grid->addWidget(picOldOnNew, 5, 0, 1, 3);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void ContrastWindow::SetColors(int32_t newColor, int32_t oldColor)
{
    newColor = Shown(newColor);
    oldColor = Shown(oldColor);
    const double ratio = color::ContrastRatio(newColor, oldColor);
    const color::ContrastGrades grades = color::GradeContrast(ratio);
    const QString ratioText = QString::fromStdString(color::ContrastRatioText(ratio));
    lblRatio->setText(ratioText);
    lblRatio->setAccessibleName(QStringLiteral("Contrast ratio ") + ratioText);
    const struct {
        QLabel* label;
        const char* level;
        bool passes;
    } verdicts[] = {{lblAANormal, "AA, normal text", grades.aaNormal},
                    {lblAALarge, "AA, large text", grades.aaLarge},
                    {lblAAANormal, "AAA, normal text", grades.aaaNormal},
                    {lblAAALarge, "AAA, large text", grades.aaaLarge}};
    for (const auto& v : verdicts) {
        v.label->setText(Verdict(v.passes));
        v.label->setAccessibleName(QLatin1String(v.level) + QStringLiteral(": ") + Verdict(v.passes));
    }
    picNewOnOld->SetColors(newColor, oldColor);
    picOldOnNew->SetColors(oldColor, newColor);
}

} // namespace app
