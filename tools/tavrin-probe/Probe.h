#pragma once

// Each verb takes the arguments after its name and returns the exit code.
int ProbeJson(int argc, char** argv);
int ProbeGet(int argc, char** argv);
int ProbeJpeg(int argc, char** argv);
int ProbeFit(int argc, char** argv);
