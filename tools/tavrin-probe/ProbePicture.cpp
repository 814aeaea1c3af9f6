#include "tools/tavrin-probe/Probe.h"

#include <cstdio>

int ProbeJpeg(int, char**)
{
    std::fputs("not built yet\n", stderr);
    return 2;
}

int ProbeFit(int, char**)
{
    std::fputs("not built yet\n", stderr);
    return 2;
}
