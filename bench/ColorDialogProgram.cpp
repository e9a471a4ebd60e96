// The yardstick for the black-box benchmarks: Qt's own colour dialog, shown
// as a program of its own with the same style Tinctara uses. Once it is on
// the screen it prints where its hue/saturation square lies, in screen
// pixels, so the benchmark can drag inside it.
#include <cstdio>

#include <QApplication>
#include <QColorDialog>
#include <QStyleFactory>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QColorDialog dialog(Qt::red);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.show();
    QTimer::singleShot(0, &dialog, [&dialog] {
        for (const QWidget* w : dialog.findChildren<QWidget*>()) {
            if (QByteArray(w->metaObject()->className()).endsWith("QColorPicker")) {
                const QPoint at = w->mapToGlobal(QPoint(0, 0));
                std::printf("square %d %d %d %d\n", at.x(), at.y(), w->width(), w->height());
                std::fflush(stdout);
            }
        }
    });
    return app.exec();
}
