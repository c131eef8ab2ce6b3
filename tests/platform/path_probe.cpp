// Prints where each Amiga name leads ("w:NAME" to write, "n:NAME" names the
// program), for the executable a test runs it as.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <cstdio>
#include <string_view>

int main(int argc, char **argv) {
    using platform::dos::Use;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("n:"))
            SetProgramName(argv[i] + 2);
        else if (arg.starts_with("w:"))
            std::puts(platform::dos::HostPath(argv[i] + 2, Use::Write).c_str());
        else
            std::puts(platform::dos::HostPath(argv[i], Use::Read).c_str());
    }
}
