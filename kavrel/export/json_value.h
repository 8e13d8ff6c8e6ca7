// The JSON value type of the exporters: keys keep their insertion order and
// numbers are single-precision floats, so the scene's floats print in their
// shortest exact form ("0.4", not "0.4000000059604645") and read back as the
// same float.
#ifndef KAVREL_EXPORT_JSON_VALUE_H
#define KAVREL_EXPORT_JSON_VALUE_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kavrel {

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

}  // namespace kavrel

#endif
