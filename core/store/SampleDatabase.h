// A new draw database filled with draws: the sample database of the build
// folder, the user's first database of an installed program.
#pragma once

#include <string>
#include <vector>

#include "core/store/DrawDetailsStore.h"
#include "core/store/DrawStore.h"
#include "core/store/SafeFile.h"

namespace rumone {

// Makes the database `path` holding `draws`, unless a file is there (then
// AlreadyThere, the file left alone). It is built under a temporary name
// and linked into place only when whole, so an interruption never leaves a
// half-made database behind. Throws StoreError or FileWriteError.
// The dates and prizes of `details` are stored beside the draws.
BuildOutcome createDrawDatabaseWith(const std::string& path, const std::vector<EditRow>& draws,
                                    const DrawDetailsList& details = {});

// Draws 1..count, their digits from std::mt19937 seeded with `seed`: the
// same draws for the same seed, for samples, benchmarks and tests.
std::vector<EditRow> sampleDraws(long long count, unsigned seed = 1);

}  // namespace rumone
