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
    loaded.ok =
        Take(sndfile, "sf_open_fd", f.sf_open_fd, m) & Take(sndfile, "sf_readf_short", f.sf_readf_short, m) &
        Take(sndfile, "sf_close", f.sf_close, m) & Take(pulse, "pa_mainloop_new", f.pa_mainloop_new, m) &
        Take(pulse, "pa_mainloop_get_api", f.pa_mainloop_get_api, m) &
        Take(pulse, "pa_mainloop_prepare", f.pa_mainloop_prepare, m) &
        Take(pulse, "pa_mainloop_poll", f.pa_mainloop_poll, m) &
        Take(pulse, "pa_mainloop_dispatch", f.pa_mainloop_dispatch, m) &
        Take(pulse, "pa_mainloop_free", f.pa_mainloop_free, m) & Take(pulse, "pa_context_new", f.pa_context_new, m) &
        Take(pulse, "pa_context_connect", f.pa_context_connect, m) &
        Take(pulse, "pa_context_get_state", f.pa_context_get_state, m) &
        Take(pulse, "pa_context_errno", f.pa_context_errno, m) &
        Take(pulse, "pa_context_disconnect", f.pa_context_disconnect, m) &
        Take(pulse, "pa_context_unref", f.pa_context_unref, m) & Take(pulse, "pa_stream_new", f.pa_stream_new, m) &
        Take(pulse, "pa_stream_connect_playback", f.pa_stream_connect_playback, m) &
        Take(pulse, "pa_stream_get_state", f.pa_stream_get_state, m) &
        Take(pulse, "pa_stream_writable_size", f.pa_stream_writable_size, m) &
        Take(pulse, "pa_stream_write", f.pa_stream_write, m) & Take(pulse, "pa_stream_drain", f.pa_stream_drain, m) &
        Take(pulse, "pa_stream_disconnect", f.pa_stream_disconnect, m) &
        Take(pulse, "pa_stream_unref", f.pa_stream_unref, m) &
        Take(pulse, "pa_operation_cancel", f.pa_operation_cancel, m) &
        Take(pulse, "pa_operation_unref", f.pa_operation_unref, m) &
        Take(pulse, "pa_usec_to_bytes", f.pa_usec_to_bytes, m) & Take(pulse, "pa_strerror", f.pa_strerror, m);
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
