#include "core/memory_reuse.h"

#include <malloc.h>

namespace vx {

void keepFreedMemoryForReuse() {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
}

}  // namespace vx
