#pragma once
// The 136-byte header every PAT odds file starts with, as the tests of the
// odds readers and converters expect it.

#include <string>

#include "core/text.h"
#include "support/test_support.h"

namespace tolv::testing {

struct PatHeaderFields {
  std::string date = "20020512";
  std::string taken = std::string(20, ' ');  // when the odds were taken, as the writer stores it
  std::string course = "東京";
  std::string year = "2002";
  std::string meeting = " 3";
  std::string day = " 2";
  std::string race = "11";
  std::string reserved = "  ";
  std::string time = "1530";  // the start time, hhmm
  std::string name = {};      // the race name, up to 28 bytes
};

inline std::string patHeaderBytes(const PatHeaderFields& h) {
  return h.date + h.taken + sj(h.course) + h.year + h.meeting + h.day + h.race + h.reserved + h.time + sj(h.name) +
         std::string(28 - lenBytes(h.name), ' ') + std::string(64, ' ');
}

}  // namespace tolv::testing
