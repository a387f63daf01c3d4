// Bounded text copies into fixed-size, zero-terminated fields.
#pragma once

#include <cstddef>
#include <cstring>

// Copies src into dst, a field of capacity bytes: cut to capacity - 1
// characters and always terminated. A null src gives an empty text.
inline void copyText(char* dst, const char* src, std::size_t capacity) {
  if (capacity == 0) return;
  std::size_t length = src ? std::strlen(src) : 0;
  if (length >= capacity) length = capacity - 1;
  if (length > 0) std::memcpy(dst, src, length);
  dst[length] = '\0';
}
