// Plug-in side helper for the host's attribute lists.
//
// kv_list(Kv_Surface, name, tok("color"), tok("rgb"), rgb, 1, ...) widens every
// list entry to intptr_t and appends the list end, so an int 1 or 0 can never
// travel as a 32-bit value through "...". Floats must go by pointer: passing
// one by value does not compile.
#ifndef HOST_KV_CALL_HPP
#define HOST_KV_CALL_HPP

#include <cstdint>
#include <type_traits>

#include "host/host_records.h"
#include "host/kv_toolkit.h"

namespace kv {

template <typename T>
struct Same {
  using type = T;
};

template <typename T>
inline intptr_t Widen(T value) {
  static_assert(!std::is_floating_point<T>::value, "pass floats by pointer");
  static_assert(std::is_integral<T>::value || std::is_enum<T>::value || std::is_pointer<T>::value ||
                    std::is_null_pointer<T>::value,
                "list entries are tokens, integers or pointers");
  if constexpr (std::is_pointer<T>::value) {
    return reinterpret_cast<intptr_t>(value);
  } else if constexpr (std::is_null_pointer<T>::value) {
    return 0;
  } else {
    return static_cast<intptr_t>(value);
  }
}

// Calls f(first, entries..., KV_LIST_END).
template <typename R, typename F0, typename... A>
R kv_list(R (*f)(F0, ...), typename Same<F0>::type first, A... entries) {
  return f(first, Widen(entries)..., KV_LIST_END);
}

// Calls f(first, second, entries..., KV_LIST_END).
template <typename R, typename F0, typename F1, typename... A>
R kv_list(R (*f)(F0, F1, ...), typename Same<F0>::type first, typename Same<F1>::type second,
          A... entries) {
  return f(first, second, Widen(entries)..., KV_LIST_END);
}

// Calls f(first, second, third, entries..., KV_LIST_END).
template <typename R, typename F0, typename F1, typename F2, typename... A>
R kv_list(R (*f)(F0, F1, F2, ...), typename Same<F0>::type first, typename Same<F1>::type second,
          typename Same<F2>::type third, A... entries) {
  return f(first, second, third, Widen(entries)..., KV_LIST_END);
}

// The host's token for a keyword, for the entries of a list.
inline Kv_Token tok(const char *word) { return Kv_Inquire_Token(word); }

// The token of "on" or "off".
inline Kv_Token on_off(bool on) { return Kv_Inquire_Token(on ? "on" : "off"); }

}  // namespace kv

#endif
