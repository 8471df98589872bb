#include "catalogue/CatalogueJson.h"
#include "cli/CliCommands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: talwynwav-cli COMMAND [ARGS]\n"
    "\n"
    "The command-line tool of TalwynWAV格式转换器, the batch converter for audio and video\n"
    "files.\n"
    "\n"
    "Commands:\n"
    "  profiles          list the output profiles: category, code, title\n"
    "  profiles --json   the whole catalogue as one JSON object (UTF-8)\n"
    "  probe FILE...     describe media files (exit 1 when one is refused)\n"
    "  convert --profile CODE [--preset NAME=TEXT]... [--jobs N] [--overwrite]\n"
    "          [--keep-structure [--root DIR]] [--from-list FILE|- [--null]]\n"
    "          [--shard K/N] [--skip-existing] [--report FILE] [--verbose]\n"
    "          -o DIR [FILE|FOLDER]...\n"
    "                    convert files as the window would, a folder with its subfolders;\n"
    "                    exit 0 only when all converted (or, with --skip-existing, there)\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this text and exit\n"
    "  -v, --version     show the version and exit\n";

int usageError(const char* what) {
    std::fprintf(stderr, "talwynwav-cli: %s\n\n%s", what, kUsage);
    return 2;
}

void write(const QByteArray& text) {
    std::fwrite(text.constData(), 1, text.size(), stdout);
}

int profiles(int argc, char* argv[]) {
    if (argc == 0) {
        write(talwyn::catalogue::catalogueListing());
        return 0;
    }
    if (argc == 1 && std::string_view(argv[0]) == "--json") {
        write(talwyn::catalogue::catalogueJson());
        return 0;
    }
    return usageError("profiles takes only --json");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version" || command == "-v") {
        std::printf("talwynwav-cli %s\n", TALWYN_VERSION);
        return 0;
    }
    if (command == "profiles") {
        return profiles(argc - 2, argv + 2);
    }
    const std::vector<std::string> rest(argv + 2, argv + argc);
    if (command == "probe") {
        return talwyn::cli::runProbe(rest);
    }
    if (command == "convert") {
        return talwyn::cli::runConvert(rest);
    }
    std::fprintf(stderr, "talwynwav-cli: unknown command or option \"%s\"\n\n%s", argv[1], kUsage);
    return 2;
}
