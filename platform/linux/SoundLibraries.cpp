// SPDX-License-Identifier: GPL-3.0-or-later
// Opens libsndfile and libpulse by their sonames once, and takes the functions the player calls from them.
#include "platform/linux/SoundLibraries.h"

#include <dlfcn.h>

namespace platform {

namespace {

struct Loaded {
    SoundLibraries functions{};
    std::string missing;
    bool ok = false;
};

template <typename Function> bool Take(void *library, const char *name, Function &function, std::string &missing) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr && missing.empty()) {
        missing = name;
    }
    return function != nullptr;
}

Loaded Load() {
    Loaded loaded;
    // The sonames the program was built against: another major version could differ in its calls.
    void *sndfile = ::dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL);
    void *pulse = ::dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
    if (sndfile == nullptr || pulse == nullptr) {
        loaded.missing = ::dlerror();
        return loaded;
    }
    SoundLibraries &f = loaded.functions;
    std::string &m = loaded.missing;
// Each function by the name its header gives it, which is also its member's name.
#define ZINDREL_TAKE(library, name) Take(library, #name, f.name, m)
    loaded.ok = ZINDREL_TAKE(sndfile, sf_open_fd) & ZINDREL_TAKE(sndfile, sf_readf_short) &
                ZINDREL_TAKE(sndfile, sf_close) & ZINDREL_TAKE(pulse, pa_mainloop_new) &
                ZINDREL_TAKE(pulse, pa_mainloop_get_api) & ZINDREL_TAKE(pulse, pa_mainloop_prepare) &
                ZINDREL_TAKE(pulse, pa_mainloop_poll) & ZINDREL_TAKE(pulse, pa_mainloop_dispatch) &
                ZINDREL_TAKE(pulse, pa_mainloop_free) & ZINDREL_TAKE(pulse, pa_context_new) &
                ZINDREL_TAKE(pulse, pa_context_connect) & ZINDREL_TAKE(pulse, pa_context_get_state) &
                ZINDREL_TAKE(pulse, pa_context_errno) & ZINDREL_TAKE(pulse, pa_context_disconnect) &
                ZINDREL_TAKE(pulse, pa_context_unref) & ZINDREL_TAKE(pulse, pa_stream_new) &
                ZINDREL_TAKE(pulse, pa_stream_connect_playback) & ZINDREL_TAKE(pulse, pa_stream_get_state) &
                ZINDREL_TAKE(pulse, pa_stream_writable_size) & ZINDREL_TAKE(pulse, pa_stream_write) &
                ZINDREL_TAKE(pulse, pa_stream_drain) & ZINDREL_TAKE(pulse, pa_stream_disconnect) &
                ZINDREL_TAKE(pulse, pa_stream_unref) & ZINDREL_TAKE(pulse, pa_operation_cancel) &
                ZINDREL_TAKE(pulse, pa_operation_unref) & ZINDREL_TAKE(pulse, pa_usec_to_bytes) &
                ZINDREL_TAKE(pulse, pa_strerror);
#undef ZINDREL_TAKE
    return loaded;
}

} // namespace

const SoundLibraries *OpenSoundLibraries(std::string &missing) {
    // Opened once and never closed: PulseAudio's own threads may still run code of the library.
    static const Loaded loaded = Load();
    missing = loaded.missing;
    return loaded.ok ? &loaded.functions : nullptr;
}

} // namespace platform
