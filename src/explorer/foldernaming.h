// The name of a new folder: the name asked for, or, when an entry of that
// name exists, the first of "name (2)", "name (3)", ... that is free. No Qt.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quillon::explorer {

// `exists` tells whether the folder already holds an entry of that name.
// Gives nothing when every candidate up to `maxTries` is taken.
std::optional<std::string> uniqueFolderName(const std::string& wanted,
                                            const std::function<bool(const std::string&)>& exists,
                                            int maxTries = 10000);

}  // namespace quillon::explorer
