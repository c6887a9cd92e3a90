// The allocator's policy for programs that move large files through Qt's socket buffers.
#pragma once

namespace vx {

// Keeps freed blocks of up to a few tens of MiB for reuse instead of handing them back to the
// system at once. Qt's TLS sockets allocate a fresh buffer of the size of what arrived on each
// read; with the allocator's defaults every such buffer was a new mapping, and touching its
// pages cost more than decrypting the bytes. Call once at the start of main().
void keepFreedMemoryForReuse();

}  // namespace vx
