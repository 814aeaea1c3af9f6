#pragma once

// strtold reading a full stop as the decimal separator whatever the process's
// locale says (setlocale, LC_ALL, the user's settings on Windows); errno and
// end as strtold sets them.
long double StrToLongDoubleC(const char* text, char** end);
