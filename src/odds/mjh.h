#pragma once
// MJH data: the day's race and odds text "RX" + yymmdd + ".TXT" in the odds
// folder, converted into the MJH data file of 1402-byte race records.

#include "core/mjh_record.h"
#include "core/session.h"

namespace tolv {

// The RX text of the day in PATFolder.
fs::path mjhTextPath(const Session& s);

// Parses the RX text lines into race records (twelve per meeting line, at
// most three meetings).
std::vector<MjhRecord> parseMjhText(const std::vector<std::string>& lines);

// Writes the day's MJH data file from the RX text when the text exists.
// Reports nothing; true when the data file was written.
bool ConvertMjhData(Session& s);

}  // namespace tolv
