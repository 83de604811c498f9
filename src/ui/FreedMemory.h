#pragma once

// A long command that builds and drops many large buffers one after another (a report's pages:
// Qt's PDF writer compresses each page with a zlib stream of its own and grows each page's content
// in a buffer of its own) keeps the memory it frees for the next buffer instead of handing it back
// to the system each time. On glibc every page of memory touched again after being handed back is
// faulted in anew; on the development machine a fault costs several microseconds, and a report of
// 10,000 slots took 127,000 of them, more time than writing its pages.
namespace FreedMemory {

// Keeps freed memory within the program: buffers below 32 MB come from the heap (the most that
// glibc's own adjustment reaches) and up to 64 MB of free heap stay mapped. Lasts for the life
// of the program; a no-op where the C library is not glibc.
void keep();

// Hands the free memory kept so far back to the system, for after a long command.
void release();

} // namespace FreedMemory
