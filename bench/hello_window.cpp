// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt floor for the benchmarks: one empty widget window, or with --tray no window and a tray icon that turns.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The least any Qt program pays for an armed timer's animation: sixteen icons made once, one shown every
// 150 ms by a plain QTimer, on X11 without shared-memory images as the program itself runs.
int TurningTrayIcon(int argc, char **argv) {
    setenv("QT_XCB_NO_MITSHM", "1", 0);
    QApplication app(argc, argv);
    std::vector<QIcon> icons;
    for (int i = 0; i < 16; ++i) {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.drawEllipse(2, 2, 28, 28);
        p.drawLine(16, 16, 16 + i - 8, 4);
        icons.emplace_back(pixmap);
    }
    QSystemTrayIcon tray(icons[0]);
    tray.show();
    std::size_t step = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { tray.setIcon(icons[++step % icons.size()]); });
    timer.start(150);
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], "--tray") == 0) {
        return TurningTrayIcon(argc, argv);
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("hello"));
    window.resize(571, 270);
    window.show();
    return QApplication::exec();
}
