// SPDX-License-Identifier: GPL-3.0-or-later
// A window's placement kept in an INI section: restored each time the window is shown, stored when a
// close is accepted, or else when the window is destroyed.
#pragma once

#include <QObject>
#include <QString>

class IniFile;
class QWidget;

class FormStorage : public QObject {
    Q_OBJECT
public:
    FormStorage(QWidget *window, QString section);
    ~FormStorage() override;

    // The file the placement goes to; empty stores and restores nothing.
    void SetIniFileName(const QString &path) { fileName_ = path; }
    const QString &IniFileName() const { return fileName_; }
    // A window that opens centred on the screen when no stored position applies.
    void SetCentred(bool centred) { centred_ = centred; }

    void RestorePlacement();
    // At an accepted close (Visible 0) or at destruction (Visible 1).
    void SavePlacement(bool destroying = false);

    // Parses "%d,%d,%d,%d" (commas or blanks); a number that does not parse takes its fallback.
    static void ParseFour(const QString &text, const int fallback[4], int out[4]);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Position { Applied, None, OffScreen };
    // Moves the window to the stored position when one applies and some screen shows it.
    Position RestorePosition(const IniFile &ini);
    void RestoreState(const IniFile &ini);

    QWidget *window_;
    QString section_;
    QString fileName_;
    bool restored_ = false;
    bool saved_ = false;
    bool centred_ = false;
};
