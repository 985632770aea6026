// printf-style formatting into std::string, for the system's message texts.
#pragma once

#include <string>

namespace maptesk {

#if defined(__MINGW32__) && defined(__MINGW_PRINTF_FORMAT)
// MinGW's C99 printf (the build asks for it): the system's own knows no %zu.
#define MAPTESK_PRINTF(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#elif defined(__GNUC__) || defined(__clang__)
#define MAPTESK_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define MAPTESK_PRINTF(f, a)
#endif

/// Formats like std::snprintf, whatever the length of the result.
std::string Format(const char* format, ...) MAPTESK_PRINTF(1, 2);

}  // namespace maptesk
