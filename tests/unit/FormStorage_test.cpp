// SPDX-License-Identifier: GPL-3.0-or-later
// Window placement: stored at close, restored at every showing, with its guards.
#include "controls/FormStorage.h"
#include "settings/IniFile.h"
#include "tests/fakes/FakePlatform.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class FormStorageTest : public ::testing::Test {
protected:
    FormStorageTest() : path(dir.path() + "/place.ini") {}
    QTemporaryDir dir;
    fakes::FakePlatform fake;
    QString path;
};

} // namespace

TEST_F(FormStorageTest, PlacementRoundTripsWithItsSevenKeys) {
    {
        QWidget window;
        window.setFixedSize(200, 100);
        FormStorage storage(&window, "window_main");
        storage.SetIniFileName(path);
        window.show();
        window.move(123, 77);
        storage.SavePlacement();
    }
    const IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("window_main", "FormVersion", -5), 0);
    EXPECT_EQ(ini.ReadInteger("window_main", "ShowCmd", 0), 1);
    EXPECT_FALSE(ini.ReadBool("window_main", "Visible", true)) << "stored at an accepted close";
    EXPECT_FALSE(ini.ReadString("window_main", "NormPos", "").isEmpty());
    for (const char *key : {"Flags", "PixelsPerInch", "MinMaxPos"}) {
        EXPECT_NE(ini.ReadString("window_main", key, "missing"), "missing") << key;
    }

    QWidget again;
    again.setFixedSize(200, 100);
    FormStorage storage(&again, "window_main");
    storage.SetIniFileName(path);
    again.show();
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(123, 77));
    EXPECT_EQ(again.size(), QSize(200, 100)) << "a fixed-size window keeps its own size";
}

TEST_F(FormStorageTest, GuardsKeepTheWindowWhereItWas) {
    const IniFile ini(path);
    QWidget window;
    window.setFixedSize(200, 100);
    window.move(10, 20);
    FormStorage storage(&window, "s");
    storage.SetIniFileName(path);

    ini.WriteString("s", "NormPos", "500,400,100,450"); // left not less than right
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(10, 20));
    window.hide();

    ini.WriteString("s", "NormPos", "300,200,500,300");
    ini.WriteInteger("s", "PixelsPerInch", 12345); // another screen
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(10, 20));
    window.hide();

    ini.WriteInteger("s", "PixelsPerInch", window.screen() ? qRound(window.screen()->logicalDotsPerInch()) : 96);
    ini.WriteInteger("s", "FormVersion", -1);
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(10, 20));
    window.hide();

    ini.WriteInteger("s", "FormVersion", 0);
    ini.WriteString("s", "NormPos", "abc,200,500,300"); // an unreadable left falls back to the current one
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(10, 200));
}

TEST_F(FormStorageTest, NeverRestoredStoresNothingDestroyedStoresVisible) {
    {
        QWidget window;
        FormStorage storage(&window, "s");
        storage.SetIniFileName(path);
    }
    EXPECT_FALSE(QFile::exists(path));
    {
        QWidget window;
        FormStorage storage(&window, "s");
        storage.SetIniFileName(path);
        window.show();
    }
    EXPECT_TRUE(IniFile(path).ReadBool("s", "Visible", false));
}

TEST_F(FormStorageTest, ACentredWindowIgnoresAPlaceNoScreenShows) {
    const IniFile ini(path);
    QWidget window;
    window.setFixedSize(200, 100);
    window.move(10, 20);
    FormStorage storage(&window, "s");
    storage.SetIniFileName(path);
    storage.SetCentred(true);
    window.show(); // first start: nothing stored
    const QRect area = window.screen()->availableGeometry();
    const QSize frame = window.frameGeometry().size();
    const QPoint centred(area.x() + (area.width() - frame.width()) / 2,
                         area.y() + (area.height() - frame.height()) / 2);
    EXPECT_EQ(window.frameGeometry().topLeft(), centred);
    window.hide();
    window.move(30, 40);
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(30, 40)) << "moved by the user, kept between showings";
    window.hide();

    // A monitor on the right was removed; so was one above, leaving a strip too thin to grip.
    for (const QString &gone : {QStringLiteral("3000,100,3200,200"), QStringLiteral("100,-90,300,10")}) {
        ini.WriteString("s", "NormPos", gone);
        window.show();
        EXPECT_EQ(window.frameGeometry().topLeft(), centred) << gone.toStdString();
        window.hide();
    }

    ini.WriteString("s", "NormPos", " 50, 60\t250 ,,160");
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(50, 60));
    window.hide();

    QWidget other; // stored on a screen of other pixels per inch: no stored place applies at the first showing
    other.setFixedSize(200, 100);
    FormStorage otherStorage(&other, "s");
    otherStorage.SetIniFileName(path);
    otherStorage.SetCentred(true);
    ini.WriteInteger("s", "PixelsPerInch", 12345);
    other.show();
    EXPECT_EQ(other.frameGeometry().topLeft(), centred);
    ini.WriteInteger("s", "PixelsPerInch", qRound(other.screen()->logicalDotsPerInch()));

    QWidget plain; // a window that is not centred stays where it was
    plain.setFixedSize(200, 100);
    plain.move(10, 20);
    FormStorage plainStorage(&plain, "s");
    plainStorage.SetIniFileName(path);
    ini.WriteString("s", "NormPos", "3000,100,3200,200");
    plain.show();
    EXPECT_EQ(plain.frameGeometry().topLeft(), QPoint(10, 20));
}
