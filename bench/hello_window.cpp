// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt floor for the benchmarks: one empty widget window; with --tray no window and a tray icon that turns; with
// --controls the main window's kinds of controls at their places beside a tray icon with a menu, and nothing else.
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
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

template <typename Control> Control *Place(Control *control, QRect geometry) {
    control->setGeometry(geometry);
    return control;
}

// What showing the main window's controls costs in Qt alone: the same group boxes, spin boxes, radio buttons,
// labels, buttons and bold caption, a tray icon with a menu, no pictures, no timers, no logic.
int Controls(int argc, char **argv) {
    setenv("QT_XCB_NO_MITSHM", "1", 0);
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Zindrel"));
    window.setFixedSize(571, 270);
    Place(new QLabel(QStringLiteral("Таймер не заведён"), &window), {185, 40, 200, 15});
    for (const int y : {78, 132}) {
        Place(new QRadioButton(&window), {8, y, 18, 18});
    }
    auto *alarm = Place(new QGroupBox(QStringLiteral("Будильник"), &window), {28, 60, 170, 50});
    Place(new QSpinBox(alarm), {8, 20, 46, 22});
    Place(new QLabel(QStringLiteral("Ч."), alarm), {58, 22, 20, 18});
    Place(new QSpinBox(alarm), {80, 20, 46, 22});
    Place(new QLabel(QStringLiteral("Мин."), alarm), {130, 22, 28, 18});
    auto *timer = Place(new QGroupBox(QStringLiteral("Таймер"), &window), {28, 112, 170, 76});
    Place(new QSpinBox(timer), {8, 20, 60, 22});
    Place(new QLabel(QStringLiteral("Мин."), timer), {72, 22, 30, 18});
    Place(new QCheckBox(QStringLiteral("2 таймера"), timer), {6, 48, 82, 20});
    Place(new QLabel(QStringLiteral("Второй таймер"), timer), {90, 51, 78, 16});
    auto *more = Place(new QGroupBox(QStringLiteral("Дополнительно"), &window), {4, 192, 194, 74});
    for (int i = 0; i < 3; ++i) {
        Place(new QPushButton(QStringLiteral("Кнопка"), more), {6 + i % 2 * 94, 18 + i / 2 * 26, 84, 22})
            ->setFlat(true);
    }
    auto *tasks = Place(new QGroupBox(QStringLiteral("Операции"), &window), {202, 60, 180, 206});
    for (int i = 0; i < 9; ++i) {
        Place(new QRadioButton(QStringLiteral("Выключить компьютер"), tasks), {6, 18 + i * 20, 172, 18});
    }
    auto *actions = Place(new QGroupBox(QStringLiteral("Действия"), &window), {386, 60, 181, 206});
    Place(new QPushButton(QStringLiteral("Отменить"), actions), {6, 42, 82, 24});
    Place(new QFrame(actions), {6, 70, 168, 76});
    auto *start = Place(new QPushButton(QStringLiteral("Завести"), actions), {6, 150, 168, 50});
    QFont bold = start->font();
    bold.setPointSize(bold.pointSize() + 4);
    bold.setBold(true);
    start->setFont(bold);
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QSystemTrayIcon tray{QIcon(pixmap)};
    QMenu menu;
    menu.addAction(QStringLiteral("Завести"));
    tray.setContextMenu(&menu);
    tray.show();
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], "--tray") == 0) {
        return TurningTrayIcon(argc, argv);
    }
    if (argc > 1 && std::strcmp(argv[1], "--controls") == 0) {
        return Controls(argc, argv);
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("hello"));
    window.resize(571, 270);
    window.show();
    return QApplication::exec();
}
