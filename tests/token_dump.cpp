// Token dump: prints one line per token that yylex returns for standard input, flushed at once,
// and stops after two end-of-input codes in a row (a NUL byte of the input also gives 0).
#include <cstdio>

#include "scanner/scanner.h"

int main() {
    static const char* const names[] = {"EOL", "NUMBER", "LPAREN", "RPAREN", "PLUS", "MINUS", "TIMES", "DIVIDE"};
    for (int zeros = 0; zeros < 2;) {
        int token = yylex();
        zeros = token == 0 ? zeros + 1 : 0;
        if (token == NUMBER)  // the text as yyleng bounds it, and whether the NUL after it is in place
            std::printf("NUMBER %d \"%.*s\"%s\n", yylval, yyleng, yytext, yytext[yyleng] ? " unterminated" : "");
        else if (token >= EOL && token <= DIVIDE)
            std::printf("%s\n", names[token - EOL]);
        else
            std::printf("%d\n", token);
        std::fflush(stdout);
    }
}
