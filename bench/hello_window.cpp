// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt floor for the benchmarks: one empty widget window, nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("hello"));
    window.resize(571, 270);
    window.show();
    return QApplication::exec();
}
