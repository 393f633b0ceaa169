// Diagnostics: writes the calculator's one-line messages on standard error and ends the process.
// Owns no state; failed writes to standard error are ignored, there is nowhere left to report them.
#include "app/diagnostics.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/output.h"

void yyerror(const char* message) {
    std::fprintf(stderr, "%s\n", message);
}

void yy_fatal(const char* message) {
    yyerror(message);
    std::exit(yy_exit_status(1));
}

int yy_exit_status(int status) {
    if (!out_flush()) {
        yyerror(YY_MSG_WRITE_ERROR);
        return 1;
    }
    return status;
}
