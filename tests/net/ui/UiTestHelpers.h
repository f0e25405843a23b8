// Helpers for driving modal dialogs from the tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace uitest {

// Calls `act` with the modal widget of type T as soon as one is showing (polled
// every 10 ms, for at most five seconds). The timer dies with `owner`.
template <class T> void WhenModal(QObject* owner, std::function<void(T*)> act) {
    auto* timer = new QTimer(owner);
    auto* elapsed = new QElapsedTimer;
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, act] {
        T* w = dynamic_cast<T*>(QApplication::activeModalWidget());
        if (w == nullptr && elapsed->elapsed() < 5000) return;
        timer->stop();
        delete elapsed;
        if (w != nullptr) act(w);
        timer->deleteLater();
    });
    timer->start(10);
}

// Runs the event loop until `pred` holds or `ms` milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& pred, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return pred();
}

// Writes a picture of `w` to the shots directory and checks that it is a
// real picture of the widget's size.
inline void Shoot(QWidget* w, const QString& name) {
    const QString dir = QStringLiteral(VESK_SHOTS_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = dir + "/" + name + ".png";
    const QPixmap pm = w->grab();
    ASSERT_FALSE(pm.isNull());
    EXPECT_EQ(pm.size(), w->size() * pm.devicePixelRatio());
    ASSERT_TRUE(pm.save(path, "PNG"));
    const QImage back(path);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), pm.size());
    // Not a blank picture: more than one colour.
    const QRgb first = back.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < back.height() && !varied; ++y)
        for (int x = 0; x < back.width() && !varied; ++x)
            varied = back.pixel(x, y) != first;
    EXPECT_TRUE(varied) << path.toStdString();
}

} // namespace uitest
