#include "remote/oscmessage.h"

#include <lo/lo.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace quillon::remote {

namespace {

struct MessageFree {
  void operator()(lo_message m) const { lo_message_free(m); }
};
using Message = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;

std::optional<char> letterArgument(lo_message message, std::string_view types) {
  if (types != "s") return std::nullopt;
  lo_arg** argv = lo_message_get_argv(message);
  if (argv == nullptr || argv[0] == nullptr) return std::nullopt;
  const char* text = &argv[0]->s;
  if (std::strlen(text) != 1) return std::nullopt;
  const char c = text[0];
  if (c >= 'A' && c <= 'Z') return c;
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return std::nullopt;
}

OscReading command(RemoteAction action, char letter = 0) {
  return {OscOutcome::Command, RemoteCommand{action, letter, RemoteSource::Osc}};
}

}  // namespace

OscReading readOscPacket(const unsigned char* data, std::size_t size) {
  if (size > kMaxOscPacket) return {OscOutcome::Oversized, {}};
  if (data == nullptr || size < 8 || size % 4 != 0) return {OscOutcome::Malformed, {}};
  // A bundle is valid OSC, but no client of ours needs one.
  static constexpr char kBundle[] = "#bundle";
  if (std::memcmp(data, kBundle, sizeof kBundle) == 0) return {OscOutcome::Unknown, {}};

  // liblo takes a non-const pointer but copies the bytes before touching them.
  void* bytes = const_cast<unsigned char*>(data);
  int result = 0;
  const Message message(lo_message_deserialise(bytes, size, &result));
  if (!message) return {OscOutcome::Malformed, {}};
  // The path was validated by the parser: a terminated string at the start.
  const std::string_view path(reinterpret_cast<const char*>(data));
  const char* typeText = lo_message_get_types(message.get());
  const std::string_view types = typeText != nullptr ? typeText : "";

  if (path == "/quillon/panic") {
    if (types.empty()) return command(RemoteAction::Panic);
    return {OscOutcome::Malformed, {}};
  }
  const bool fire = path == "/quillon/fire";
  if (fire || path == "/quillon/stop") {
    const std::optional<char> letter = letterArgument(message.get(), types);
    if (!letter) return {OscOutcome::Malformed, {}};
    return command(fire ? RemoteAction::Fire : RemoteAction::Stop, *letter);
  }
  return {OscOutcome::Unknown, {}};
}

}  // namespace quillon::remote
