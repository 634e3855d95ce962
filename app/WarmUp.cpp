// SPDX-License-Identifier: GPL-3.0-or-later
// The memory read again before the run falls due.
#include "app/WarmUp.h"

#include "controls/Clock.h"
#include "platform/Platform.h"

WarmUp::WarmUp() {
    timer_.OnTimer = [this](QObject *) {
        timer_.SetEnabled(false);
        platform::Current().system->WarmMemory();
    };
}

void WarmUp::Follow(const RunState &run) {
    std::int64_t due = -1;
    if (run.phase() == RunState::Phase::Armed) {
        for (const SlotRun *slot : {&run.slot1, &run.slot2}) {
            if (slot->pending && (due < 0 || slot->dueBootMs < due)) {
                due = slot->dueBootMs;
            }
        }
    }
    if (due == aimedAt_) {
        return;
    }
    aimedAt_ = due;
    timer_.SetEnabled(false);
    const std::int64_t wait = due - kLeadMs - AppClock().NowMs();
    if (due >= 0 && wait > 0) {
        timer_.SetInterval(wait);
        timer_.SetEnabled(true);
    }
}
