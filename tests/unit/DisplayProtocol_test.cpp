// SPDX-License-Identifier: GPL-3.0-or-later
// The display protocol chosen before the GUI starts: XWayland in a Wayland session that has it, else the user's.
#include "platform/Platform.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

const char *const kVariables[] = {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM", "QT_XCB_NO_MITSHM"};

// Sets the variables for one case and puts the test process's own values back afterwards.
class SessionVariables {
public:
    SessionVariables() {
        for (const char *name : kVariables) {
            const char *value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~SessionVariables() {
        for (const auto &[name, value] : saved_) {
            Put(name, value);
        }
    }
    SessionVariables(const SessionVariables &) = delete;
    SessionVariables &operator=(const SessionVariables &) = delete;

    static void Put(const std::string &name, const std::optional<std::string> &value) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::optional<std::string> Platform() {
    const char *value = std::getenv("QT_QPA_PLATFORM");
    return value ? std::optional<std::string>(value) : std::nullopt;
}

TEST(DisplayProtocol, WaylandWithXWaylandRunsThroughX11UnlessTheUserChose) {
    struct Case {
        std::optional<std::string> wayland, display, chosen, expected;
    };
    const Case cases[] = {
        {"wayland-0", ":0", std::nullopt, "xcb"},      // Wayland session with XWayland
        {"wayland-0", ":0", "wayland", "wayland"},     // the user's choice wins
        {"wayland-0", std::nullopt, std::nullopt, {}}, // native Wayland only: Qt's own choice
        {std::nullopt, ":0", std::nullopt, {}},        // X11 session: nothing to choose
        {"wayland-0", "", std::nullopt, {}},           // an empty DISPLAY is no X server
    };
    for (const Case &c : cases) {
        SessionVariables restore;
        SessionVariables::Put("WAYLAND_DISPLAY", c.wayland);
        SessionVariables::Put("DISPLAY", c.display);
        SessionVariables::Put("QT_QPA_PLATFORM", c.chosen);
        SessionVariables::Put("QT_XCB_NO_MITSHM", std::nullopt);
        platform::ChooseDisplayProtocol();
        EXPECT_EQ(Platform(), c.expected)
            << c.wayland.value_or("-") << " " << c.display.value_or("-") << " " << c.chosen.value_or("-");
        // Whichever protocol, an X11 connection is made without shared-memory images.
        EXPECT_NE(std::getenv("QT_XCB_NO_MITSHM"), nullptr);
    }
}

TEST(DisplayProtocol, TheDialogFaceNamedIsAnInstalledFamily) {
    // Arial is not installed on Debian: its stand-in is. The name given to Qt then answers for itself, so Qt finds
    // it among the installed families without a search of its own.
    const std::string face = platform::ReadFontsAside("Arial").get();
    FcPattern *named = FcPatternCreate();
    FcPatternAddString(named, FC_FAMILY, reinterpret_cast<const FcChar8 *>(face.c_str()));
    FcObjectSet *family = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *installed = FcFontList(nullptr, named, family);
    EXPECT_GT(installed->nfont, 0) << face;
    FcFontSetDestroy(installed);
    FcObjectSetDestroy(family);
    FcPatternDestroy(named);
    EXPECT_EQ(platform::ReadFontsAside(face).get(), face);
}

} // namespace
