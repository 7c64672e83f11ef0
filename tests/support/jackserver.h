// A JACK server with the dummy backend, started by a test and stopped by its
// process id: a real, real-time-paced audio device on a machine with no sound
// card. Each server has a name of its own, so tests running side by side (or
// a server already on the machine) never share one. Test support only.
#pragma once

#include <sys/types.h>

#include <string>

namespace quillon::test {

class JackServer {
 public:
  // `playbackPorts`: the dummy backend's playback ports (jackd's -P), in
  // pairs that are devices of their own.
  explicit JackServer(std::string name, int playbackPorts = 2)
      : m_name(std::move(name)), m_playbackPorts(playbackPorts) {}
  ~JackServer() { stop(); }
  JackServer(const JackServer&) = delete;
  JackServer& operator=(const JackServer&) = delete;

  // Starts `jackd -n NAME -R -d dummy -r 48000 -p 256 -P PORTS` (real-time; or with
  // -r, not real-time, where that is refused) and waits until it takes
  // clients (10 s at most). False, with `error`, when it cannot.
  bool start(std::string& error);
  // Kills it at once (SIGKILL), as a crash would, and removes what it left.
  void kill();
  // Stops it cleanly (SIGTERM, then SIGKILL after 5 s) and removes what it
  // left; after a kill, starts it again first and stops that one, which frees
  // the killed server's slot in JACK's registry.
  void stop();

  const std::string& name() const { return m_name; }
  // Whether it runs real-time, and if not, why the real-time start failed.
  bool realtime() const { return m_realtime; }
  const std::string& realtimeRefusal() const { return m_realtimeRefusal; }
  bool running() const { return m_pid > 0; }

 private:
  bool startWith(const char* scheduling, std::string& error);
  void reap(int signal);
  void removeLeftovers() const;

  std::string m_name;
  int m_playbackPorts = 2;
  pid_t m_pid = -1;
  bool m_realtime = false;
  bool m_slotHeld = false;  // killed, its registry slot not yet freed
  std::string m_realtimeRefusal;
};

}  // namespace quillon::test
