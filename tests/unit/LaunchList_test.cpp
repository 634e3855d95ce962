// SPDX-License-Identifier: GPL-3.0-or-later
// runfiles.ini on disk: the whole file is replaced or left alone, never half written.
#include "actions/LaunchList.h"
#include "settings/IniFile.h"
#include "tests/fakes/TestApp.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

using LaunchListFile = fakes::TestApp;

TEST_F(LaunchListFile, RefusedWriteLeavesTheOldFileWhole) {
    const QString path = LaunchListPath();
    EXPECT_EQ(path, folder.path() + "/runfiles.ini");
    WriteLaunchList(path, {"old one", "old two"});
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0500), 0);
    EXPECT_THROW(WriteLaunchList(path, {"new"}), IniWriteError);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    EXPECT_EQ(ReadLaunchList(path), QStringList({"old one", "old two"}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"runfiles.ini"})) << "no temporary left";
}

TEST_F(LaunchListFile, MissingFileIsAnErrorNamingIt) {
    const QString path = folder.path() + "/nothing/runfiles.ini";
    try {
        ReadLaunchList(path);
        FAIL() << "reading a missing file must fail";
    } catch (const LaunchListReadError &error) {
        EXPECT_EQ(std::string(error.what()), "Unable to read " + path.toStdString());
    }
}

} // namespace
