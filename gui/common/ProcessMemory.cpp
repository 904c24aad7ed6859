#include "gui/common/ProcessMemory.h"

#include <malloc.h>

namespace rumone {

void keepFreedMemoryForReuse()
{
#ifdef __GLIBC__
    // Blocks up to 32 MB (glibc's largest threshold) come from the heap, not
    // from a mapping of their own that free() unmaps; the heap's free top is
    // returned to the kernel only beyond 256 MB.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

}  // namespace rumone
