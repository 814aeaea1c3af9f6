#include "tools/tavrin-probe/Probe.h"

#include "json/CanonicalDump.h"
#include "json/TQvJSON.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

// tavrin-probe json FILE: the canonical dump of the parsed file, one line.
int ProbeJson(int argc, char** argv)
{
    if (argc != 1) {
        std::fputs("usage: tavrin-probe json FILE\n", stderr);
        return 2;
    }
    std::ifstream file(argv[0], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", argv[0]);
        return 1;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::shared_ptr<TQvJSONbase> root = TQvJSON::ParseDocument(bytes);
    std::string out = CanonicalDump(root.get());
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
