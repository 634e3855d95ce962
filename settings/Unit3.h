// SPDX-License-Identifier: GPL-3.0-or-later
// TForm3, the About window, made anew at each request.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QTabWidget;
class ClickLabel;
class FormStorage;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3();

    QTabWidget *PageControl1;
    QWidget *TabSheet1; // "Общее"
    QWidget *TabSheet2; // "Версии"
    QWidget *TabSheet3; // "Автор"
    QWidget *TabSheet4; // "Обращение"
    QWidget *TabSheet5; // "Благодарности"

    QLabel *Image1;     // the About picture, 118 x 195
    ClickLabel *Label1; // the six information lines
    ClickLabel *Label3; // the team, their web site
    ClickLabel *Label5; // the e-mail address
    ClickLabel *Label6; // the program's web page

    QPlainTextEdit *Memo1; // version history
    QLabel *Image2;        // the team's picture, 109 x 81
    QLabel *Image3;        // the messenger icon, 15 x 15
    QLabel *Label4;        // the messenger number (there is none)
    QPlainTextEdit *Memo2; // about the team
    QPlainTextEdit *Memo3; // the appeal to users
    QPlainTextEdit *Memo4; // thanks

    FormStorage *FormStorage1;

    void FormCreate();
    void Label3Click(QObject *Sender);
    void Label5Click(QObject *Sender);
    void Label6Click(QObject *Sender);

    // The build information: dd.mm.yyyy of the compilation, the compiler, the libraries, the build tool.
    static QString BuildDate();
    static QString Compiler();
    static QString Components();
    static QString Packer();

    void done(int result) override;
};
