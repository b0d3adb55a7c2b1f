#pragma once
// Tolv creation: counts, for every race and pick of the day's cut index, how
// many posts held it and which programs posted it, and writes one sorted Tolv
// data file (with its index file) per racecourse of the day.

#include <functional>
#include <string>
#include <vector>

#include "core/records.h"
#include "core/session.h"
#include "core/tolv_record.h"
#include "core/ui.h"

namespace tolv {

// Counts the picks of the cut index and writes the day's Tolv data and index
// files. Sets CourseCount, CourseCodes (ascending) and TolvFilePaths. Done on
// success, Failed with its message otherwise.
StepResult aggregatePicks(Session& s, UserInterface& ui);

// The pick records of a cut index in the order of first appearance (the work
// file), and the day's course slots in order of appearance. Exposed for tests.
struct Aggregate {
  std::vector<TolvRecord> records;
  std::vector<std::string> courses;  // at most three, in order of appearance
};
// `progress`, when given, hears the share of the records counted so far in
// percent (0-99) about a hundred times over the run.
using AggregateProgress = std::function<void(int percent)>;
Aggregate aggregateCutRecords(const std::vector<std::string>& cutRecords, const AggregateProgress& progress = {});
Aggregate aggregateCutRecords(const RecordFile& cutIndex, const AggregateProgress& progress = {});

// The day's Tolv files as aggregatePicks writes them: the courses of the
// aggregate in ascending code order, each with its records race by race and,
// within a race, the larger share count first (exchangeSortOrder), program
// codes ascending. Records of a course without a slot are left out.
struct TolvCourseFile {
  std::string courseCode;
  std::vector<TolvRecord> records;
};
std::vector<TolvCourseFile> tolvCourseFiles(Aggregate a);

// The order in which the per-course exchange sort leaves records with sort
// values `v`: for a = 1..n-1, for b = a..n, entries a and b are swapped when
// v(b) < v(a). Ties keep the order that sort gives them.
std::vector<std::size_t> exchangeSortOrder(const std::vector<long>& v);

}  // namespace tolv
