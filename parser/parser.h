// Parser interface: evaluates every line of standard input and prints each line's value.
#pragma once

#include <cstdint>

extern int yychar;            // lookahead token code: -2 none held, 0 end of input
extern std::int32_t yylval;   // value of the latest NUMBER, written by the scanner
extern int yynerrs;           // syntax errors reported by the current parse (0 or 1)

// Parses standard input once, pulling tokens from yylex, and writes the value of each completed
// line to standard output as soon as its line feed has been read. Returns 0 when the input was
// accepted, 1 after the first syntax error ("parse error"; nothing after it is read), 2 when the
// stacks reached their limit ("parser stack overflow"). A division by zero, or of -2147483648
// by -1, ends the process through yy_fatal.
int yyparse();
