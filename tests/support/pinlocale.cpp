// Linked into every test binary. A test sees the locale that LC_ALL names (the suite runs once
// as it is and once under it_IT.UTF-8); without LC_ALL it runs under C.UTF-8, whatever LANG the
// developer's desktop has, so a result never depends on who ran the suite. The C library's locale
// is set here, before main(), as QApplication sets it at start-up in the real program: tests
// without an application object see the same LC_NUMERIC as the program does.

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace
{

struct PinnedLocale {
    PinnedLocale()
    {
        const char* chosen = std::getenv("LC_ALL");
        if (chosen == nullptr || *chosen == '\0')
            setenv("LC_ALL", "C.UTF-8", 1);
        if (std::setlocale(LC_ALL, "") == nullptr) {
            std::fprintf(stderr, "The locale %s is not installed (scripts/setup.sh generates it).\n",
                         std::getenv("LC_ALL"));
            std::exit(2);
        }
    }
};

const PinnedLocale pinned;

} // namespace
