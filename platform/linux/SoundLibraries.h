// SPDX-License-Identifier: GPL-3.0-or-later
// libsndfile and libpulse, opened at the first sound: most starts of an alarm clock never play one.
#pragma once

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <sndfile.h>

#include <string>

namespace platform {

struct SoundLibraries {
    decltype(&::sf_open_fd) sf_open_fd;
    decltype(&::sf_readf_short) sf_readf_short;
    decltype(&::sf_close) sf_close;
    decltype(&::pa_mainloop_new) pa_mainloop_new;
    decltype(&::pa_mainloop_get_api) pa_mainloop_get_api;
    decltype(&::pa_mainloop_prepare) pa_mainloop_prepare;
    decltype(&::pa_mainloop_poll) pa_mainloop_poll;
    decltype(&::pa_mainloop_dispatch) pa_mainloop_dispatch;
    decltype(&::pa_mainloop_free) pa_mainloop_free;
    decltype(&::pa_context_new) pa_context_new;
    decltype(&::pa_context_connect) pa_context_connect;
    decltype(&::pa_context_get_state) pa_context_get_state;
    decltype(&::pa_context_errno) pa_context_errno;
    decltype(&::pa_context_disconnect) pa_context_disconnect;
    decltype(&::pa_context_unref) pa_context_unref;
    decltype(&::pa_stream_new) pa_stream_new;
    decltype(&::pa_stream_connect_playback) pa_stream_connect_playback;
    decltype(&::pa_stream_get_state) pa_stream_get_state;
    decltype(&::pa_stream_writable_size) pa_stream_writable_size;
    decltype(&::pa_stream_write) pa_stream_write;
    decltype(&::pa_stream_drain) pa_stream_drain;
    decltype(&::pa_stream_disconnect) pa_stream_disconnect;
    decltype(&::pa_stream_unref) pa_stream_unref;
    decltype(&::pa_operation_cancel) pa_operation_cancel;
    decltype(&::pa_operation_unref) pa_operation_unref;
    decltype(&::pa_usec_to_bytes) pa_usec_to_bytes;
    decltype(&::pa_strerror) pa_strerror;
};

// The libraries, opened on the first call and kept; null when either is missing or lacks a function, with
// what was missing in `missing`.
const SoundLibraries *OpenSoundLibraries(std::string &missing);

} // namespace platform
