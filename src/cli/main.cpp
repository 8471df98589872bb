#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "Usage: talwynwav-cli [--help] [--version]\n"
    "\n"
    "The command-line tool of TalwynWAV格式转换器, the batch converter for audio and video\n"
    "files.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this text and exit\n"
    "  -v, --version  show the version and exit\n";

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const char* first = argv[1];
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (std::strcmp(first, "--version") == 0 || std::strcmp(first, "-v") == 0) {
        std::printf("talwynwav-cli %s\n", TALWYN_VERSION);
        return 0;
    }
    std::fprintf(stderr, "talwynwav-cli: unknown command or option \"%s\"\n\n%s", first, kUsage);
    return 2;
}
