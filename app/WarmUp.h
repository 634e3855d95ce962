// SPDX-License-Identifier: GPL-3.0-or-later
// A few seconds before the run falls due, the program's memory is read again, so that the firing does not wait
// for the pages a long wait let the system take away.
#pragma once

#include "app/RunState.h"
#include "controls/WindowTimer.h"

#include <cstdint>

class WarmUp {
public:
    // How long before the due time: room for reading all of it again after an hour's wait on a busy machine.
    static constexpr std::int64_t kLeadMs = 5000;

    WarmUp();
    // Aims at the run's next due time; called at every change of the run. Nothing is read for a run that is
    // paused, counts its warning, or falls due within the lead (it was armed a moment ago).
    void Follow(const RunState &run);

private:
    WindowTimer timer_;
    std::int64_t aimedAt_ = -1;
};
