#pragma once
// The whole start-up sequence of the front ends (without their windows).

#include <optional>
#include <string>

#include "core/startup.h"

namespace tolv {

// Start-up: folders, purge, settings, the program-name table, the processing
// day for `today` and the schedule state.
std::optional<Session> startSession(const fs::path& home, const Date& today, std::string* error = nullptr);

}  // namespace tolv
