#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>

// Closes every message box that opens while it lives, the way a person
// does: by clicking its OK button. Records what each box said.
class MessageBoxWatcher {
public:
    MessageBoxWatcher()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts.append(box->text());
            captions.append(box->windowTitle());
            icons.append(box->icon());
            buttonCount = box->buttons().size();
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            if (ok)
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                box->reject();
        });
        timer_.start();
    }
    int Count() const { return int(texts.size()); }

    QStringList texts;
    QStringList captions;
    QList<QMessageBox::Icon> icons;
    qsizetype buttonCount = 0;

private:
    QTimer timer_;
};
