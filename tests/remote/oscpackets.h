// OSC packets built by liblo, as a client would send them. Test support.
#pragma once

#include <lo/lo.h>

#include <string>
#include <vector>

namespace quillon::test {

// Each letter of `types` adds an argument: 's' the string `text`, 'f' the
// float 1.0, 'i' the integer 1.
inline std::vector<unsigned char> oscPacket(const std::string& path, const std::string& types,
                                            const std::string& text = "") {
  lo_message m = lo_message_new();
  for (char t : types) {
    if (t == 's') lo_message_add_string(m, text.c_str());
    if (t == 'f') lo_message_add_float(m, 1.0f);
    if (t == 'i') lo_message_add_int32(m, 1);
  }
  std::size_t size = 0;
  void* bytes = lo_message_serialise(m, path.c_str(), nullptr, &size);
  std::vector<unsigned char> packet(static_cast<unsigned char*>(bytes),
                                    static_cast<unsigned char*>(bytes) + size);
  free(bytes);
  lo_message_free(m);
  return packet;
}

}  // namespace quillon::test
