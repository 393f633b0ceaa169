// Scanner engine: runs the automaton over a refillable buffer of standard input with longest-match
// back-up and cuts each token out in place. State: the one input buffer and the matching position.
#include <cstdint>
#include <cstdlib>

#include "app/diagnostics.h"
#include "runtime/lanes.h"
#include "runtime/text_read.h"
#include "scanner/scanner.h"
#include "scanner/tables.h"

FILE* yyin = nullptr;
FILE* yyout = nullptr;
char* yytext = nullptr;
int yyleng = 0;

namespace {

constexpr int YY_BUFFER_CAPACITY = 16384;  // input bytes the buffer holds, lead byte included
constexpr int YY_READ_CHUNK = 8192;        // the most one read asks for
// Bytes allocated past size. Eight bytes are read after a token's first byte, which lies before
// the first marker, at index size - 2 at most; so up to index size + 6. Enough for the markers and
// the byte past them that the matching loop may step on, too.
constexpr int YY_RUN_READ = 8;
constexpr int YY_BUFFER_SLACK = YY_RUN_READ - 1;
static_assert(YY_BUFFER_SLACK >= 2);

enum EofState : std::int32_t { INPUT_OPEN, INPUT_DRAINING, INPUT_DONE };
enum RefillResult { REFILL_CONTINUE, REFILL_END, REFILL_LAST_TOKEN };

// The input buffer. data[0] is the lead byte (the byte before the current token), input bytes
// follow, then two NUL bytes mark the end of what is held; at most size - 1 bytes are held. The
// matching loop may step on one byte past the markers, and reads the eight bytes after a number's
// first digit at once, which may reach past them: hence size + YY_BUFFER_SLACK bytes.
struct ScanBuffer {
    FILE* stream;
    char* data;
    char* pos;
    std::int32_t size;
    std::int32_t count;
    std::int32_t eof_state;
};

// Until the first call has set the scanner up, scanning begins on a stand-in for the buffer that
// holds nothing but the end-of-buffer marker, so that the first match ends in the end-of-buffer
// action, which sets up before anything else; no test on every call.
char yy_no_buffer[2] = {0, 0};

int yy_start_state = 0;
bool yy_need_setup = true;
ScanBuffer* yy_active_buffer = nullptr;
char* yy_resume_pos = yy_no_buffer;  // where the next scan begins; the end of the text scanned so far
char yy_saved_byte = 0;              // the byte under the NUL that terminates yytext
int yy_data_count;               // bytes held, lead byte included: the marker's index
std::ptrdiff_t yy_backup_state;  // last accepting state of the current match...
char* yy_backup_pos;             // ...and the position at which it was met

void yy_prepare_buffer(ScanBuffer* b, FILE* stream) {
    b->stream = stream;
    b->data[0] = '\n';
    b->count = 1;
    b->data[1] = 0;
    b->data[2] = 0;
    b->pos = b->data + 1;
    b->eof_state = INPUT_OPEN;
}

ScanBuffer* yy_create_buffer(FILE* stream, int size) {
    auto* b = static_cast<ScanBuffer*>(std::malloc(sizeof(ScanBuffer)));
    if (b == nullptr)
        yy_fatal(YY_MSG_OUT_OF_MEMORY);
    b->size = size;
    // Zeroed so that the bytes past the markers, which the matching loop may read, are defined.
    b->data = static_cast<char*>(std::calloc(static_cast<size_t>(size) + YY_BUFFER_SLACK, 1));
    if (b->data == nullptr)
        yy_fatal(YY_MSG_OUT_OF_MEMORY);
    yy_prepare_buffer(b, stream);
    return b;
}

void yy_enter_buffer() {
    yy_data_count = yy_active_buffer->count;
    yy_resume_pos = yytext = yy_active_buffer->pos;
    yyin = yy_active_buffer->stream;
    yy_saved_byte = *yy_resume_pos;
}

void yy_note_if_accepting(std::ptrdiff_t s, char* p) {
    if (yy_accepts(s)) {
        yy_backup_state = s;
        yy_backup_pos = p;
    }
}

// Runs the automaton afresh over the text from yytext up to yy_resume_pos (a prefix already
// known to be growing, so the stop base does not end it); NUL bytes in it are data.
std::ptrdiff_t yy_rescan_state() {
    std::ptrdiff_t s = yy_start_state;
    for (char* q = yytext; q < yy_resume_pos; ++q) {
        // (Only a digit run is ever rescanned, so no NUL is met here in practice.)
        int c = *q == 0 ? YY_NUL_CLASS : yy_char_class[static_cast<unsigned char>(*q)];
        yy_note_if_accepting(s, q);
        s = yy_next_state(s, c);
    }
    return s;
}

// The transition on a NUL byte at yy_resume_pos that came from the input.
std::ptrdiff_t yy_nul_step(std::ptrdiff_t s) {
    yy_note_if_accepting(s, yy_resume_pos);
    return yy_next_state(s, YY_NUL_CLASS);
}

// Moves the pending token (and the byte before it) to the front and reads more after it.
RefillResult yy_refill_buffer() {
    ScanBuffer* b = yy_active_buffer;
    char* data = b->data;
    // Consistency check, unreachable: the scan never runs past the second marker byte.
    if (yy_resume_pos > data + yy_data_count + 1)
        yy_fatal(YY_MSG_EOB_MISSED);

    int keep = static_cast<int>(yy_resume_pos - yytext);
    const char* from = yytext - 1;
    for (int i = 0; i < keep; ++i)
        data[i] = from[i];

    int got = 0;
    if (b->eof_state == INPUT_OPEN) {
        int want = b->size - keep - 1;
        if (want > YY_READ_CHUNK)
            want = YY_READ_CHUNK;
        if (want <= 0)
            yy_fatal(YY_MSG_BUFFER_OVERFLOW);
        got = text_read(fileno(b->stream), data + keep, want);
        if (got < 0)
            yy_fatal(YY_MSG_READ_FAILED);
    }

    RefillResult result = REFILL_CONTINUE;
    if (got == 0) {
        result = keep == 1 ? REFILL_END : REFILL_LAST_TOKEN;
        b->eof_state = keep == 1 ? INPUT_DONE : INPUT_DRAINING;
    }
    yy_data_count = keep + got;
    data[yy_data_count] = 0;
    data[yy_data_count + 1] = 0;
    yytext = data + 1;
    return result;
}

// The value of the one to eight digits at the front of w, eight bytes of the buffer (the first
// in the lowest lane, as load_lanes gives them): shifted so that the digits fill the
// upper lanes, the bytes after them shifted out and zeros (leading zeros) shifted in; then the
// digits' low four bits combined in pairs, then fours, then eights, all lanes at once, each time
// by one multiplication that adds ten (a hundred, ten thousand) times a lane's lower half to its
// upper half. In every lane the lower half holds the more significant part.
std::uint64_t yy_eight_digit_value(std::uint64_t w, int length) {
    w = (w << (-8 * length & 63)) & 0x0F0F0F0F0F0F0F0F;  // a shift by 64 - 8 x length, none for 8
    w = (w * (10 << 8 | 1)) >> 8 & 0x00FF00FF00FF00FF;
    w = (w * (100 << 16 | 1)) >> 16 & 0x0000FFFF0000FFFF;
    return (w * (std::uint64_t{10000} << 32 | 1)) >> 32;
}

// The value of a literal of more than eight digits (see yy_number_value): up to sixteen digits as
// two groups of eight or fewer, the first eight bytes of the literal in `front`; otherwise digit
// by digit, -1 once v * 10 would reach 2^64 (the remaining digits ignored).
[[gnu::noinline]] std::uint64_t yy_long_number_value(const char* text, std::uint64_t front, int length) {
    constexpr int AT_ONCE = 8;
    constexpr int ALWAYS_FITS = 19;                   // nineteen digits never overflow 64 bits
    constexpr std::uint64_t LIMIT = UINT64_MAX / 10;  // v * 10 overflows past this
    if (length <= 2 * AT_ONCE) {
        int high = length - AT_ONCE;
        std::uint64_t low = load_lanes(text + high);
        return yy_eight_digit_value(front, high) * 100000000 + yy_eight_digit_value(low, AT_ONCE);
    }
    const auto* q = reinterpret_cast<const unsigned char*>(text);
    const auto* end = q + length;
    std::uint64_t v = 0;
    for (const auto* fits_end = q + (length < ALWAYS_FITS ? length : ALWAYS_FITS); q != fits_end; ++q)
        v = v * 10 + *q - '0';
    for (; q != end; ++q) {
        if (v > LIMIT)
            return UINT64_MAX;  // -1 in its low 32 bits
        v = v * 10 + *q - '0';
    }
    return v;
}

// The number literal's value: the literal read digit by digit as an unsigned 64-bit number, -1
// once v * 10 would reach 2^64, and the low 32 bits of the result (conversion to int32_t is
// modulo 2^32). Literals of up to eight digits, the usual ones, are converted here without a test
// on their length; longer ones out of line.
//
// `after` holds the eight bytes after the first, as the match read them, before the NUL that
// ends the token was stored; the first byte is read on its own. (Read here as one word, the eight
// bytes would overlap bytes just stored, the first one, put back in place of the NUL that ended
// the token before, and the NUL after this one, and the read would wait until those stores are
// done.)
std::int32_t yy_number_value(const char* text, std::uint64_t after, int length) {
    std::uint64_t front = after << 8 | static_cast<unsigned char>(*text);
    std::uint64_t v;
    if (length <= 8) [[likely]]
        v = yy_eight_digit_value(front, length);
    else
        v = yy_long_number_value(text, front, length);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// First call: the start state, the streams, and the one input buffer. (A caller could set yyin
// or yyout before the first call; the calculator sets neither.)
void yy_setup() {
    if (yy_start_state == 0)
        yy_start_state = YY_START_STATE;
    if (yyin == nullptr)
        yyin = stdin;
    if (yyout == nullptr)
        yyout = stdout;
    yy_active_buffer = yy_create_buffer(yyin, YY_BUFFER_CAPACITY);
    yy_enter_buffer();
    yy_need_setup = false;
}

}  // namespace

int yylex() {
    // The scan position, the token start and the state live in locals while a token is matched
    // (a store through the buffer may alias any global); the globals are brought up to date
    // where the slow paths and the next call need them. Entries and states are held
    // pointer-wide, so that they index the tables without being widened first.
    char* p = yy_resume_pos;
    *p = yy_saved_byte;
    // A number's eight bytes after its first, as the match read them: read on every way to a
    // number's action (the step on a first digit, the slow paths).
    std::uint64_t after = 0;
    for (;;) {  // one match per pass; blanks go round again
        char* start = p;
        std::ptrdiff_t s;

        // The first step, from the start state, which neither accepts nor stops a match: its row
        // is a constant address. (The start state is set once, at the first call, and never
        // changes.)
        std::ptrdiff_t e = yy_match.next[YY_START_STATE * YY_BYTES + static_cast<unsigned char>(*p)];
        ++p;
        int a;
        if (e >= 0) {  // more than one byte: a number, or the end of the buffer
            if (e == yy_run.entry * YY_BYTES) {
                // A first digit: the digits after it are taken at once, up to seven, and the
                // byte after them from the run state's row (which steps on it as the entry
                // state's would). The marker is no digit, so the run stops on it.
                static_assert(sizeof after == YY_RUN_READ);
                after = load_lanes(p);
                p += yy_run_length(after);
                e = yy_match.next[yy_run.state * YY_BYTES + static_cast<unsigned char>(*p)];
                ++p;
            }

        match:
            // Invariant: the bytes from start up to p have run through the automaton; e is the
            // entry of the last step: the offset of the current state's row while the match
            // goes on. The end-of-buffer marker leads every live state to an entry that ends
            // the match, so no bounds test.
            while (e >= 0) {
                e = yy_match.next[e + static_cast<unsigned char>(*p)];
                ++p;
            }
        }
        // The match is over: ~e is the state it ends in, plus YY_BACK_UP if that is one byte back
        // (the action and token tables take the state either way).
        s = ~e;
        p -= s / YY_BACK_UP;
        goto act;

    act_noted:
        // From the slow paths, which note the last accepting state as they go.
        if (!yy_accepts(s)) {
            s = yy_backup_state;
            p = yy_backup_pos;
        }

    act:
        // Cut the token out in place: a NUL after it, the byte it covers saved.
        yytext = start;
        yyleng = static_cast<int>(p - start);
        yy_saved_byte = *p;
        *p = 0;
        yy_resume_pos = p;

        // The actions that return a token, and only convert a number's text first.
        if (int token = yy_match.token[s]; token != 0) [[likely]] {
            if (token == NUMBER)
                yylval = yy_number_value(start, after, static_cast<int>(p - start));
            return token;
        }
        a = yy_match.action[s];
        switch (a) {
        case 8:  // a blank: no token; put the byte back and go on from it
            *p = yy_saved_byte;
            continue;
        case 10:  // any other byte is its own code; bytes 0x80..0xFF too, never negative
            return static_cast<unsigned char>(*start);
        case YY_ACT_BUFFER_END: {
            // The match is the text so far plus one NUL, and p is just past that NUL.
            int matched = static_cast<int>(p - yytext) - 1;
            *p = yy_saved_byte;
            if (yy_need_setup) [[unlikely]] {  // the first call: the marker of the stand-in
                yy_setup();
                p = yy_resume_pos;
                *p = yy_saved_byte;
                continue;
            }
            bool resume_matching;
            if (yy_resume_pos <= yy_active_buffer->data + yy_data_count) {
                // A NUL before the marker is a byte of the input: scan it as one.
                yy_resume_pos = yytext + matched;
                s = yy_nul_step(yy_rescan_state());
                p = ++yy_resume_pos;
                resume_matching = !yy_stops(s);
            } else {
                RefillResult refill = yy_refill_buffer();
                if (refill == REFILL_END) {
                    yy_resume_pos = yytext;  // the next call meets the marker again, and ends here
                    goto input_end;
                }
                // More input: go on matching the partial token into it. The last token: the
                // partial token is all there is, matched with what the buffer holds.
                resume_matching = refill == REFILL_CONTINUE;
                yy_resume_pos = resume_matching ? yytext + matched : yy_active_buffer->data + yy_data_count;
                s = yy_rescan_state();
                p = yy_resume_pos;
            }
            start = yytext;
            after = load_lanes(start + 1);  // as the step on a first digit reads them
            e = s * YY_BYTES;
            if (resume_matching)
                goto match;
            goto act_noted;
        }
        case YY_ACT_INPUT_END:  // selected by no state: the end of input comes through the refill
        input_end:
            return 0;
        default:  // consistency check, unreachable: no state selects any other action
            break;
        }
        yy_fatal(YY_MSG_NO_ACTION);
    }
}
