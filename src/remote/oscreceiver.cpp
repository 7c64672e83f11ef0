#include "remote/oscreceiver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "remote/oscmessage.h"
#include "remote/remotemailbox.h"

namespace quillon::remote {

namespace {

constexpr int kStopLookMs = 100;

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

OscReceiver::~OscReceiver() {
  m_stop.store(true, std::memory_order_relaxed);
  if (m_thread.joinable()) m_thread.join();
  if (m_socket >= 0) ::close(m_socket);
}

bool OscReceiver::start(const std::string& address, int port, std::string& error) {
  if (m_socket >= 0) {
    error = "already listening";
    return false;
  }
  if (port < 0 || port > 65535) {
    error = "no such UDP port: " + std::to_string(port);
    return false;
  }
  sockaddr_storage where{};
  socklen_t length = 0;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&where);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&where);
  if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<std::uint16_t>(port));
    length = sizeof *v4;
  } else if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<std::uint16_t>(port));
    length = sizeof *v6;
  } else {
    error = "not a numeric IP address: \"" + address + "\"";
    return false;
  }
  const int fd = ::socket(where.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = systemError("cannot create the OSC socket");
    return false;
  }
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&where), length) != 0) {
    error = systemError("cannot listen on " + address + " port " + std::to_string(port));
    ::close(fd);
    return false;
  }
  sockaddr_storage bound{};
  socklen_t boundLength = sizeof bound;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &boundLength) != 0) {
    error = systemError("cannot read the OSC socket's port");
    ::close(fd);
    return false;
  }
  m_port = ntohs(bound.ss_family == AF_INET ? reinterpret_cast<sockaddr_in*>(&bound)->sin_port
                                            : reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
  m_socket = fd;
  m_thread = std::thread([this] { run(); });
  return true;
}

OscReceiver::Counts OscReceiver::counts() const {
  constexpr auto relaxed = std::memory_order_relaxed;
  return {m_packets.load(relaxed), m_commands.load(relaxed), m_oversized.load(relaxed),
          m_malformed.load(relaxed), m_unknown.load(relaxed)};
}

void OscReceiver::run() {
  constexpr auto relaxed = std::memory_order_relaxed;
  // One byte more than the largest packet looked at, so that a larger one
  // is seen as such; MSG_TRUNC gives its real length anyway.
  std::array<unsigned char, kMaxOscPacket + 1> buffer{};
  while (!m_stop.load(relaxed)) {
    pollfd watched{m_socket, POLLIN, 0};
    const int ready = ::poll(&watched, 1, kStopLookMs);
    if (ready <= 0) continue;  // time to look at the stop flag, or EINTR
    const ssize_t size = ::recv(m_socket, buffer.data(), buffer.size(), MSG_TRUNC | MSG_DONTWAIT);
    if (size < 0) continue;  // EAGAIN, or an ICMP error reported on the socket
    m_packets.fetch_add(1, relaxed);
    const OscReading reading = readOscPacket(buffer.data(), static_cast<std::size_t>(size));
    switch (reading.outcome) {
      case OscOutcome::Command:
        m_commands.fetch_add(1, relaxed);
        m_mailbox.post(reading.command);
        break;
      case OscOutcome::Oversized:
        m_oversized.fetch_add(1, relaxed);
        break;
      case OscOutcome::Malformed:
        m_malformed.fetch_add(1, relaxed);
        break;
      case OscOutcome::Unknown:
        m_unknown.fetch_add(1, relaxed);
        break;
    }
  }
}

}  // namespace quillon::remote
