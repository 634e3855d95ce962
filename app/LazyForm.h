// SPDX-License-Identifier: GPL-3.0-or-later
// A window made on its first use, so a dialog nobody opens costs the start neither time nor memory.
#pragma once

#include <cstddef>

template <class T> class LazyForm {
public:
    LazyForm() = default;
    LazyForm(const LazyForm &) = delete;
    LazyForm &operator=(const LazyForm &) = delete;

    // The window, made now if this is its first use.
    T *get() const {
        if (form_ == nullptr) {
            form_ = new T;
        }
        return form_;
    }
    T *operator->() const { return get(); }
    operator T *() const { return get(); }
    // The window if it has been made, without making it: for what has nothing to do with a window never used.
    T *Existing() const { return form_; }
    // Asking whether it exists would make it: Existing() says so without.
    bool operator==(std::nullptr_t) const = delete;

    // The window goes (the end of the program, or of a test); a later use makes a new one. Like the other windows,
    // one left at the process's exit is not deleted after the application object has gone.
    void Destroy() {
        delete form_;
        form_ = nullptr;
    }

private:
    // Made on first use also through a const reference: the window is the same one either way.
    mutable T *form_ = nullptr;
};
