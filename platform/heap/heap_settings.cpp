// How every program of ours takes its memory: from jemalloc, whose extents are backed by
// transparent huge pages. Laying out a large page builds a few hundred megabytes of small
// objects at once, and a Tarn page builds its source tree the same way; on 4 KB pages each
// first touch of fresh memory is a page fault, and those faults were about a third of the
// first layout of a 1 MB page and half of a list page's first request. With huge pages the
// kernel hands the memory over 2 MB at a time.
//
// jemalloc reads these options from this symbol when it starts, before main; where the
// kernel offers no huge pages it runs as on small ones. Linked into the executables only
// (CMakeLists.txt), and not into the sanitizer or fuzz builds, whose allocators check
// every access.
extern "C" {
extern const char* malloc_conf;
const char* malloc_conf = "thp:always";
}
