// Scanner interface: turns standard input into the calculator's tokens, one per call of yylex.
#pragma once

#include <cstdint>
#include <cstdio>

// Token codes. 0 is the end of input (a NUL byte of the input also gives 0); 1..255 are bytes
// that no rule of the language expects, passed through as their own value for the parser to
// reject; the named tokens follow.
enum : int {
    EOL = 258,  // line feed
    NUMBER,     // one or more decimal digits; value in yylval
    LPAREN,     // (
    RPAREN,     // )
    PLUS,       // +
    MINUS,      // -
    TIMES,      // *
    DIVIDE,     // /
    YY_TOKEN_LIMIT,  // not a token: one past the last named token's code
};

extern FILE* yyin;    // input stream; standard input unless set before the first call
extern FILE* yyout;   // output of the default rule, which no input selects
extern char* yytext;  // text of the last token, NUL-terminated in place; valid until the next call
extern int yyleng;    // length of yytext

// Value of the last NUMBER: a 32-bit two's-complement integer. Defined by the parser.
extern std::int32_t yylval;

// Returns the next token code, 0 at the end of input and again on every later call.
// The first call sets the scanner up: it takes yyin (standard input if null) and builds the
// input buffer. Ends the process through yy_fatal on a token too long for the buffer, a failed
// read or a failed allocation.
int yylex();

// For a caller that keeps the scanner's position in its own variables while it takes tokens (the
// parser): where the next token begins, and the byte under the NUL that ends the last one. Taken
// with yy_scan_position before the first token and given back with yy_scan_give_back after the
// last, before yylex is called again; yy_scan is yylex with the position in `at`.
struct YyScanPosition { char* next; char saved; };
YyScanPosition yy_scan_position();
void yy_scan_give_back(YyScanPosition at);
int yy_scan(YyScanPosition& at);
