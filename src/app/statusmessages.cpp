#include "app/statusmessages.h"

#include <algorithm>

namespace quillon::app {

void StatusMessages::post(StatusMessage message) {
  if (message.subject.empty() || message.text.empty()) return;
  resolve(message.subject);
  m_messages.push_back(std::move(message));
}

bool StatusMessages::resolve(std::string_view subject) {
  return std::erase_if(m_messages, [&](const StatusMessage& m) { return m.subject == subject; }) >
         0;
}

const StatusMessage* StatusMessages::shown() const {
  const StatusMessage* best = nullptr;
  for (const StatusMessage& m : m_messages) {
    if (best == nullptr || m.urgency >= best->urgency) best = &m;  // later wins ties
  }
  return best;
}

}  // namespace quillon::app
