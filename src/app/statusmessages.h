// What the status bar's message area says: one message per subject (the
// output device, the settings, the as-run log...), each with its text and
// urgency. A message stays until its subject is resolved or it is replaced
// by a newer message about the same subject; the area shows the most urgent
// one, a failed device before anything else, and among equals the latest.
// Plain C++; the window owns one (Cartoucheur::statusMessages). UI thread.
//
// To say something there:
//   window.postStatus({"Output device", "Lost \"USB Audio\": carts stopped",
//                      StatusUrgency::DeviceFailure});
//   ... and when it is over: window.resolveStatus("Output device");
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::app {

// In rising order of precedence.
enum class StatusUrgency {
  Note,           // worth knowing, nothing is wrong on air
  Warning,        // something did not work; the program goes on as before
  Failure,        // something the operator must see to (a file, the log)
  DeviceFailure,  // the output device failed: carts cannot be heard
};

struct StatusMessage {
  std::string subject;  // what it is about, e.g. "Output device"; its key
  std::string text;     // what happened, for the operator
  StatusUrgency urgency = StatusUrgency::Note;
  bool operator==(const StatusMessage&) const = default;
};

class StatusMessages {
 public:
  // Posts `message`; one already there about the same subject is replaced.
  // A message with no subject or no text is ignored.
  void post(StatusMessage message);
  // The subject's trouble is over: its message goes. True when there was one.
  bool resolve(std::string_view subject);
  // The message the area shows; nullptr when there is none.
  const StatusMessage* shown() const;
  // Every message, oldest first (for the area's tooltip).
  const std::vector<StatusMessage>& all() const { return m_messages; }
  std::size_t count() const { return m_messages.size(); }

 private:
  std::vector<StatusMessage> m_messages;  // in the order posted
};

}  // namespace quillon::app
