#pragma once

// The console as the command line meets it on each system.

#include <string>
#include <vector>

// The program's arguments (the program's name first) as UTF-8. POSIX hands them over as they
// are; Windows hands main the ANSI code page's version, in which other characters are lost, so
// there they are read again from the wide command line.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Windows: the console shows and reads UTF-8, the encoding of every text the program writes.
// POSIX: nothing to do.
void UseUtf8Console();

// True when standard output is a terminal (a console on Windows), not a file or a pipe.
bool OutputIsTerminal();
// The width of standard output's terminal in characters (80 when it does not say).
int TerminalColumns();
