// Prints where Amiga names lead for the executable a test runs it as: one
// line per argument "r:NAME" (to read) or "w:NAME" (to write); "n:NAME"
// names the program first.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <cstdio>

int main(int argc, char **argv) {
    using platform::dos::Use;
    for (int i = 1; i < argc; ++i) {
        const char *name = argv[i] + 2;
        if (argv[i][0] == 'n')
            SetProgramName(name);
        else
            std::puts(
                platform::dos::HostPath(name, argv[i][0] == 'w' ? Use::Write : Use::Read).c_str());
    }
}
