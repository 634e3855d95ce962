// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 table filled with the real API, and the UTF-8 / code page conversion at its edge.
#pragma once

#include "platform/windows/Win32Api.h"

#include <string>

namespace platform::win32 {

// CP_ACP: the system's ANSI code page, the one the A functions read and write (1251 on a Russian system).
constexpr unsigned ANSI_CODE_PAGE = 0;

const Win32Api &RealWin32Api();

std::string Utf8ToCodePage(const std::string &text, unsigned codePage = ANSI_CODE_PAGE);
std::string CodePageToUtf8(const std::string &text, unsigned codePage = ANSI_CODE_PAGE);

} // namespace platform::win32
