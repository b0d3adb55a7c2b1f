#include "collect/start.h"

#include "collect/software_list.h"

namespace tolv {

std::optional<Session> startSession(const fs::path& home, const Date& today, std::string* error) {
  auto s = startUp(home, today, error);
  if (s) s->programNames = loadProgramNames(*s);
  return s;
}

}  // namespace tolv
