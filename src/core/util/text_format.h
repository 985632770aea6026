// printf-style formatting into std::string, for the system's message texts.
#pragma once

#include <string>

namespace maptesk {

#if defined(__GNUC__) || defined(__clang__)
#define MAPTESK_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define MAPTESK_PRINTF(f, a)
#endif

/// Formats like std::snprintf, whatever the length of the result.
std::string Format(const char* format, ...) MAPTESK_PRINTF(1, 2);

}  // namespace maptesk
