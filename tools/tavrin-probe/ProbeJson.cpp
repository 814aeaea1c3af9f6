#include "tools/tavrin-probe/Probe.h"

#include "json/CanonicalDump.h"
#include "json/TQvJSON.h"
#include "platform/FileSystem.h"

#include <cstdio>
#include <string>

// tavrin-probe json FILE: the canonical dump of the parsed file, one line.
int ProbeJson(int argc, char** argv)
{
    if (argc != 1) {
        std::fputs("usage: tavrin-probe json FILE\n", stderr);
        return 2;
    }
    FileHandle file = OpenFile(argv[0], "rb");
    std::string bytes;
    char block[65536];
    for (size_t n; file && (n = std::fread(block, 1, sizeof block, file.get())) > 0;)
        bytes.append(block, n);
    if (!file || std::ferror(file.get())) {
        std::fprintf(stderr, "cannot read %s\n", argv[0]);
        return 1;
    }
    std::shared_ptr<TQvJSONbase> root = TQvJSON::ParseDocument(bytes);
    std::string out = CanonicalDump(root.get());
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
