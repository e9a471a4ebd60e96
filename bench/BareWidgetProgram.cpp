// The floor for the black-box benchmarks: the least a Qt widget can do per
// drag step. A plain window the size of Tinctara's client area that, while
// the left button is held, repaints the two 11 x 11 boxes a ring move
// touches and nothing else. Whatever a drag step costs beyond this is ours;
// this much is Qt's and the X server's. Prints where its area lies, like
// bench_colordialog.
//
// With --caption it also shows one line of text, the start-up floor of any
// window that has text in it: the font database is read and the
// accessibility bridge connects to the session bus before the first map,
// in any Qt widget program.
#include <cstdio>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Area : public QWidget {
public:
    Area()
    {
        setFixedSize(434, 275);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        update(Box(last_));
        last_ = e->position().toPoint();
        update(Box(last_));
    }
    void paintEvent(QPaintEvent* e) override
    {
        QPainter painter(this);
        painter.fillRect(e->rect(), palette().window());
        painter.drawEllipse(Box(last_).adjusted(0, 0, -1, -1));
    }

private:
    static QRect Box(QPoint centre) { return QRect(centre - QPoint(5, 5), QSize(11, 11)); }
    QPoint last_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Area area;
    if (argc > 1 && QByteArray(argv[1]) == "--caption")
        (new QLabel(QStringLiteral("Tinctara"), &area))->move(8, 8);
    area.show();
    QTimer::singleShot(0, &area, [&area] {
        const QPoint at = area.mapToGlobal(QPoint(0, 0));
        std::printf("square %d %d %d %d\n", at.x(), at.y(), area.width(), area.height());
        std::fflush(stdout);
    });
    return app.exec();
}
