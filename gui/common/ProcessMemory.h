// How the process's allocator treats the memory a closed view gives back.
#pragma once

namespace rumone {

// Freed heap memory stays in the process for the next allocation instead of
// going back to the kernel: a table of 32,767 draws frees ≈ 10 MB when its
// view closes, and the next view would otherwise fault every page of it in
// again. Called once at start, before any other thread runs; the benches
// start the same way.
void keepFreedMemoryForReuse();

}  // namespace rumone
