#pragma once
// Readers of the data files. Each fills the given record or stops with the program's own message.
// The caller hands a scratch record (a copy of the current one without samples) and keeps its
// previous record when a reader fails, so a failed load never spoils what the user has open.

#include <string>

#include "record/failure.h"
#include "record/progress.h"
#include "record/wave_record.h"

namespace wavora {

// Readers report progress now and then; when the callback returns false the read stops and comes
// back with CancelledFailure(): no text to show, and the record handed in is left as it was.
// Any other failure also leaves the record as it was.
Failure CancelledFailure();
bool IsCancelled(const Outcome& outcome);

// Standard CSV data file ("CSV(Default)").
Outcome ReadStandardCsv(const std::string& path, WaveRecord& record, const Progress& progress = {});
// DSPCSV data file ("CSV(GPL)"). "  Data Number incorrect !  " comes back as a warning.
Outcome ReadDspCsv(const std::string& path, WaveRecord& record, const Progress& progress = {});
// SPC-51 and SPC-35 .dbl files; the caller has checked the extension and set seconds.
Outcome ReadSpc51(const std::string& path, WaveRecord& record, const Progress& progress = {});
Outcome ReadSpc35(const std::string& path, WaveRecord& record, const Progress& progress = {});

}  // namespace wavora
