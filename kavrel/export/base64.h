// Base64 (RFC 4648, with padding) for data URIs.
#ifndef KAVREL_EXPORT_BASE64_H
#define KAVREL_EXPORT_BASE64_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavrel {

std::string Base64Encode(const uint8_t *data, size_t size);

}  // namespace kavrel

#endif
