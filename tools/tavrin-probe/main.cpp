#include "tools/tavrin-probe/Probe.h"

#include "platform/CommandLine.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Verb {
    const char* name;
    const char* usage;
    int (*run)(int, char**);
};

const Verb verbs[] = {
    {"json", "json FILE", ProbeJson},
    {"get", "get [-o DIR] [--timeout MS] [--pause MS] URL...", ProbeGet},
    {"jpeg", "jpeg FILE", ProbeJpeg},
    {"fit", "fit W H CW CH", ProbeFit},
};

int usage()
{
    std::fputs("usage: tavrin-probe VERB ARGS\n", stderr);
    for (const auto& verb : verbs)
        std::fprintf(stderr, "  tavrin-probe %s\n", verb.usage);
    return 2;
}

} // namespace

int main(int argc, char** raw_argv)
{
    // File names and URLs are taken in UTF-8 on every system.
    std::vector<std::string> arguments = CommandLineArguments(argc, raw_argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    char** argv = pointers.data();
    if (argc < 2)
        return usage();
    for (const auto& verb : verbs) {
        if (std::strcmp(argv[1], verb.name) == 0)
            return verb.run(argc - 2, argv + 2);
    }
    return usage();
}
