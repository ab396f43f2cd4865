// Tells ThreadSanitizer of the hand-overs between threads that oneTBB makes
// inside its own library, which is not built for the sanitizer; does nothing
// in every other build.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define NIMBARA_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define NIMBARA_TSAN 1
#endif
#endif

// What this thread did to `object` so far happens before what the thread that
// next calls TakeOver(object) does with it.
#if defined(NIMBARA_TSAN)
#include <sanitizer/tsan_interface.h>

inline void HandOver(const void* object) { __tsan_release(const_cast<void*>(object)); }
inline void TakeOver(const void* object) { __tsan_acquire(const_cast<void*>(object)); }
#else
inline void HandOver(const void*) {}
inline void TakeOver(const void*) {}
#endif
