// SPDX-License-Identifier: GPL-3.0-or-later
// The Audio interface on Linux (libsndfile and PulseAudio come with the sound work).
#include "platform/linux/LinuxAudio.h"

#include "platform/linux/Report.h"

namespace platform {

bool LinuxAudio::PlayFile(const std::string &) {
    ReportUnreachable("sound is not available yet");
    return false;
}
bool LinuxAudio::PlayTone(unsigned, unsigned) {
    ReportUnreachable("sound is not available yet");
    return false;
}

} // namespace platform
