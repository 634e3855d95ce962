// SPDX-License-Identifier: GPL-3.0-or-later
// The application object's part of the program: title, error box, tool-tip delays, minimising.
#pragma once

#include <QString>

#include <functional>

class QTranslator;
class QWidget;

namespace Application {

QString Title();
void SetTitle(const QString &title);

// The application's error box: a message box captioned with the application title.
void ShowError(const QString &text);

// The tool-tip delay (0 or 500 ms) and the short pause between tips.
int HintPause();
void SetHintPause(int ms);
int HintShortPause();
void SetHintShortPause(int ms);
// Makes the style answer the tool-tip delay above and draw Fusion's group box frames without reading a picture;
// called once the QApplication exists.
void InstallStyle();
// Makes Qt's own texts (colour chooser, file dialog, context menus) Russian, as the program's are. Returns
// the installed translator, owned by the application, or null when Qt's Russian translation is missing.
QTranslator *InstallQtTranslation();

// Ends the program once control is back in the main loop (the main window was closed).
void Terminate();
// Tests replace the ending of the program with their own record of it.
void SetTerminateHandler(std::function<void()> handler);

// Minimises the whole application (its main window); Minimized tells whether it is.
void Minimize(QWidget *window);
bool Minimized();

} // namespace Application
