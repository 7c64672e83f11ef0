// Running part of a test in a child process, for what must not touch the test
// process itself: a file-size limit, or a user that is not root (root writes
// into read-only files and folders, so those tests need someone else).
#pragma once

#include <functional>
#include <optional>

namespace quillon::palette::test {

// Runs `body` in a child process; gives its result (0 to 255), or nothing when
// the child could not be set up or died.
std::optional<int> runInChild(const std::function<int()>& body);

// The user "nobody", whom unprivileged children run as.
inline constexpr unsigned kNobody = 65534;

// Runs `body` as an ordinary user: directly when the tests are not root,
// otherwise in a child that has dropped to kNobody.
// Nothing when that was impossible: the caller skips its test.
std::optional<int> runUnprivileged(const std::function<int()>& body);

}  // namespace quillon::palette::test
