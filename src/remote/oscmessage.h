// What one OSC packet received over UDP asks for. Only three messages are
// understood:
//   /quillon/fire s   a press of that letter (one letter, either case)
//   /quillon/stop s   stop that letter's cart if it plays
//   /quillon/panic    stop every cart (no arguments)
// Everything else is ignored and sorted for counting: too large, not valid
// OSC (liblo's parser decides), or valid but not one of ours (other paths,
// other arguments, bundles). Nothing in a packet can name a file or reach
// anything else of the program. Any thread (the OSC receiving thread).
#pragma once

#include <cstddef>

#include "remote/remotecommand.h"

namespace quillon::remote {

enum class OscOutcome { Command, Oversized, Malformed, Unknown };

struct OscReading {
  OscOutcome outcome = OscOutcome::Malformed;
  RemoteCommand command;  // meaningful for OscOutcome::Command only
};

// The largest packet looked at: our messages take under 40 bytes.
inline constexpr std::size_t kMaxOscPacket = 512;

// `size` is the packet's real length. A packet over kMaxOscPacket is
// rejected before a byte of it is read, so the buffer at `data` needs to
// hold only kMaxOscPacket bytes.
OscReading readOscPacket(const unsigned char* data, std::size_t size);

}  // namespace quillon::remote
