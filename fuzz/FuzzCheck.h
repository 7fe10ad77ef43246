#pragma once
// The fuzz targets' assertion: names the broken rule's line before stopping, so a crash report
// says which rule failed.

#include <cstdio>
#include <cstdlib>

namespace telmaris::fuzz {

inline void checkAt(bool condition, const char *file, int line) {
    if (!condition) {
        std::fprintf(stderr, "rule broken at %s:%d\n", file, line);
        std::abort();
    }
}

} // namespace telmaris::fuzz

#define FUZZ_CHECK(condition) ::telmaris::fuzz::checkAt((condition), __FILE__, __LINE__)
