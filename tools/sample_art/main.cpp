// kvavtr_sample_art OUTDIR: writes the built-in sample art of one portal (see portal.h)
// into OUTDIR/server and OUTDIR/portal.
#include <cstdio>
#include <filesystem>

#include "portal.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvavtr_sample_art OUTDIR\n");
        return 2;
    }
    std::vector<std::string> written;
    std::string error;
    const bool ok =
        sampleart::WritePortal(std::filesystem::path(argv[1]) / "server",
                               std::filesystem::path(argv[1]) / "portal", written, error);
    for (const std::string& path : written) {
        std::printf("%s\n", path.c_str());
    }
    if (!ok) {
        std::fprintf(stderr, "kvavtr_sample_art: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
