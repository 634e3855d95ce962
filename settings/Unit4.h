// SPDX-License-Identifier: GPL-3.0-or-later
// TForm4, the settings dialog "Настройка Zindrel".
#pragma once

#include <QColor>
#include <QDialog>
#include <QFrame>

class QCheckBox;
class QColorDialog;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QToolButton;
class SpinEdit;
struct Settings;

// A colour swatch whose fill can be read back.
class ColorShape : public QFrame {
    Q_OBJECT
public:
    explicit ColorShape(QWidget *parent = nullptr);
    QColor Fill() const { return fill_; }
    void SetFill(const QColor &color);

private:
    QColor fill_;
};

class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4();

    QTabWidget *PageControl1;
    QWidget *TabSheet1; // "Вид"
    QWidget *TabSheet2; // "Действия"
    QWidget *TabSheet3; // "Мигание"
    QWidget *TabSheet4; // "Безопасность"
    QWidget *TabSheet5; // "Цвета"
    QWidget *TabSheet6; // "Разное"

    // "Вид".
    QSlider *TrackBar1;               // opacity, 150..255
    QCheckBox *CheckBox3;             // "Быстрые подсказки"
    QLineEdit *FilenameEdit1;         // the phrases file
    QToolButton *FilenameEdit1Button; // its browse button
    QCheckBox *CheckBox4;             // "Новая фраза при разворачивании программы"

    // "Действия".
    SpinEdit *RxSpinEdit1;            // warning seconds, 1..9999999
    QCheckBox *CheckBox1;             // "Быстрое выключение"
    QRadioButton *RadioButton1;       // "Wav-файл"
    QRadioButton *RadioButton2;       // "PCSpeaker"
    QLineEdit *FilenameEdit2;         // the wave file
    QToolButton *FilenameEdit2Button; // its browse button
    QToolButton *SpeedButton2;        // sound "Тест"

    // "Мигание".
    QCheckBox *CheckBox5;      // "Включить мигание лампочками"
    QLabel *Label14;           // "Время мигания: N сек."
    QSlider *TrackBar2;        // blink seconds, 1..30
    QLabel *Label15;           // "Скорость мигания: N мсек."
    QSlider *TrackBar3;        // blink step ms, 50..500
    QComboBox *ComboBox1;      // blink pattern
    QToolButton *SpeedButton5; // "Стоп"
    QToolButton *SpeedButton4; // "Тест"

    // "Безопасность".
    QLineEdit *Edit1; // the password, shown as typed

    // "Цвета".
    ColorShape *Shape1;        // background
    QToolButton *SpeedButton1; // "Выбрать" for the background
    ColorShape *Shape2;        // text
    QToolButton *SpeedButton6; // "Выбрать" for the text
    QToolButton *SpeedButton7; // "По умолчанию"
    // The colour chooser, made when first asked for.
    QColorDialog *ColorDialog1();

    // "Разное".
    QToolButton *SpeedButton3; // "Создать ярлык"
    QCheckBox *CheckBox2;      // "Не сворачивать в трей при заводе"

    QPushButton *Button1; // "ОК"
    QPushButton *Button2; // "Применить"

    void FormCreate();
    // Every closing of the dialog ends a blink run that its "Тест" started.
    void FormClose();
    void Button1Click(QObject *Sender);
    void Button2Click(QObject *Sender);
    // Writes and applies every setting; false when a write failed (the user has been told).
    bool Apply();
    void SpeedButton1Click(QObject *Sender);
    void SpeedButton7Click(QObject *Sender);
    void SpeedButton3Click(QObject *Sender);
    // The blink "Тест": starts a blink run.
    void SpeedButton4Click(QObject *Sender);
    // A blink run with this dialog's speed, time and pattern, when blinking is switched on.
    void StartBlinking();
    // The blink "Стоп".
    void SpeedButton5Click(QObject *Sender);
    // The sound "Тест".
    void SpeedButton2Click(QObject *Sender);
    void TrackBar2Change(QObject *Sender);
    void TrackBar3Change(QObject *Sender);

    // A filter "Name (*.a)|*.a|..." in Qt's form; "*.*" becomes "*", which also matches names without a dot.
    static QString QtFileFilter(const QString &filter);
    // A picked sound path with a blank goes into double quotes, unless it already starts with one.
    static QString QuotedSoundPath(const QString &path);
    // A path without the double quotes the browse button put around it; the quotes are not part of the name.
    static QString UnquotedPath(const QString &path);

    // "Новая фраза при разворачивании программы".
    bool NewPhraseOnRestore() const;
    // The alarm sound: a wave file (its path without quotes, empty for none) or the tune on the speaker.
    bool WaveFileChosen() const;
    bool SpeakerTuneChosen() const;
    QString SoundFile() const;

    void done(int result) override;
    // The pages are laid out when the dialog is first shown.
    void setVisible(bool visible) override;

private:
    void SetUpControls();
    void BuildFrame();
    void BuildPages();
    void FitFonts();
    void BrowseFile(QLineEdit *edit, const QString &filter, bool quoteBlanks);
    QColor lastChosenColor_ = Qt::black;
    QColorDialog *colorDialog_ = nullptr;
    bool pagesBuilt_ = false;
};

// What the firing and the sleep hold ask of the settings dialog's choices: its controls once it has been made, and
// before that the same choices it would open with from the settings given (those the main window read at start).
namespace SettingsChoices {
bool NewPhraseOnRestore(const Settings &unopened);
bool WaveFileChosen(const Settings &unopened);
bool SpeakerTuneChosen(const Settings &unopened);
QString SoundFile(const Settings &unopened);
void StartBlinking(const Settings &unopened);
} // namespace SettingsChoices
