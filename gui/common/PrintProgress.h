// How a print run ends, and how it reports its pages as it goes.
#pragma once

#include <functional>

namespace rumone {

enum class PrintResult { Printed, Cancelled, Failed };

// Called before each page with the pages done and the pages in all; false
// stops the run, which then ends as Cancelled.
using PrintProgress = std::function<bool(int done, int total)>;

}  // namespace rumone
