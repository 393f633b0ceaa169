// Scanner engine: runs the automaton over a refillable buffer of standard input with longest-match
// back-up and cuts each token out in place. State: the one input buffer and the matching position.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/diagnostics.h"
#include "runtime/lanes.h"
#include "runtime/text_read.h"
#include "scanner/scanner.h"
#include "scanner/printed.h"

FILE* yyin = nullptr;
FILE* yyout = nullptr;
char* yytext = nullptr;
int yyleng = 0;

namespace {

constexpr int YY_BUFFER_CAPACITY = 16384;  // input bytes the buffer holds, lead byte included
constexpr int YY_READ_CHUNK = 8192;        // the most one read asks for
static_assert(YY_BUFFER_CAPACITY == 16384 && YY_READ_CHUNK == 8192,
              "the buffer's size and the reads' are also the boundaries of tests/cases/buffer_limits.cases, of the "
              "'rest' rows of streams.cases and text_mode_input.cases, of tests/differential.py's literals, of "
              "fuzz/corpus/buffer_overflow, and of the literal's limit in README.md and docs/intcalc.1: change them there too");
// Bytes allocated past size. Eight bytes are read after a token's first byte, which lies before
// the first marker, at index size - 2 at most; so up to index size + 6. Enough for the markers and
// the byte past them that the matching loop may step on, too.
constexpr int YY_DIGITS_READ = 8;
constexpr int YY_BUFFER_SLACK = YY_DIGITS_READ - 1;
static_assert(YY_BUFFER_SLACK >= 2, "room for the two marker bytes");

enum EofState : std::int32_t { INPUT_OPEN, INPUT_DRAINING, INPUT_DONE };
enum RefillResult { REFILL_CONTINUE, REFILL_END, REFILL_LAST_TOKEN };

// The input buffer. data[0] is the lead byte (the byte before the current token), input bytes
// follow, then two NUL bytes mark the end of what is held; at most size - 1 bytes are held, in
// size + YY_BUFFER_SLACK bytes (above).
struct ScanBuffer {
    FILE* stream;
    char* data;
    char* pos;
    std::int32_t size;
    std::int32_t count;
    std::int32_t eof_state;
};

// Until the first call has set the scanner up, scanning begins on a stand-in for the buffer that
// holds nothing but the end-of-buffer marker. So the first match ends on the marker, and the
// cold path sets up before anything else: no call tests whether it is the first.
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

// Notes s as the last accepting state of the match, met at p, if it accepts.
void yy_note_if_accepting(std::ptrdiff_t s, char* p) {
    if (yy_accepts(s)) {
        yy_backup_state = s;
        yy_backup_pos = p;
    }
}

// Runs the automaton afresh over the text from yytext up to yy_resume_pos, noting the accepting
// states it passes. The text is a prefix that the match had found still growing, so the stop
// base does not end it. NUL bytes in it are data.
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
        int want = std::min(b->size - keep - 1, YY_READ_CHUNK);
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

// The value of the one to eight digits at the front of w, eight bytes of the buffer as load_lanes
// gives them. The shift moves the digits to the upper lanes: the bytes after them fall out, and
// zeros come in as leading zeros. Three multiplications then combine the digits' low four bits in
// pairs, fours and eights, in all lanes at once. Each adds ten (a hundred, ten thousand) times a
// lane's lower half to its upper half, the lower half holding the more significant part.
std::uint64_t yy_eight_digit_value(std::uint64_t w, int length) {
    w = (w << (-8 * length & 63)) & 0x0F0F0F0F0F0F0F0F;  // a shift by 64 - 8 x length, none for 8
    w = (w * (10 << 8 | 1)) >> 8 & 0x00FF00FF00FF00FF;
    w = (w * (100 << 16 | 1)) >> 16 & 0x0000FFFF0000FFFF;
    return (w * (std::uint64_t{10000} << 32 | 1)) >> 32;
}

// The value of a literal of nine to sixteen digits as two groups, the first eight bytes of the
// literal in `front`: the digits before the last eight, and the last eight. Inlined where a match
// of that length returns (below), as yy_number_value is.
[[gnu::always_inline]] inline std::uint64_t yy_sixteen_digit_value(const char* text, std::uint64_t front, int length) {
    constexpr int AT_ONCE = 8;
    int high = length - AT_ONCE;
    std::uint64_t low = load_lanes(text + high);
    return yy_eight_digit_value(front, high) * 100000000 + yy_eight_digit_value(low, AT_ONCE);
}

// The value of a literal of more than eight digits (see yy_number_value): up to sixteen digits as
// two groups; otherwise digit by digit, -1 once v * 10 would reach 2^64 (the remaining digits
// ignored).
[[gnu::noinline]] std::uint64_t yy_long_number_value(const char* text, std::uint64_t front, int length) {
    constexpr int ALWAYS_FITS = 19;                   // nineteen digits never overflow 64 bits
    constexpr std::uint64_t LIMIT = UINT64_MAX / 10;  // v * 10 overflows past this
    if (length <= 16)
        return yy_sixteen_digit_value(text, front, length);
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

// The number literal's value. The literal is read digit by digit as an unsigned 64-bit number,
// which becomes -1 once v * 10 would reach 2^64; the value is its low 32 bits (the conversion to
// int32_t is modulo 2^32). Literals of up to eight digits, the usual ones, are converted here
// with no test on their length; longer ones out of line.
//
// `after` holds the eight bytes after the first digit, as the match loaded them; the first digit
// is read on its own. Loaded here as one word, the literal would overlap two bytes just stored:
// the first digit, put back where the NUL after the last token was, and the NUL after this one.
// The load would then wait for those stores. Inlined where a match returns a number, as an -O3
// build does on its own: an -O2 build (the Debian package's) had made it a call per number.
[[gnu::always_inline]] inline std::int32_t yy_number_value(const char* text, std::uint64_t after, int length) {
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

// What the matching loop does after a match has ended on a NUL byte (yy_end_of_buffer).
enum YyResume {
    YY_RESUME_MATCH,  // go on from `entry`: match on from a row, or take the match it ends
    YY_NEXT_TOKEN,    // begin a new token at yy_resume_pos
    YY_INPUT_END,     // return the end of input
};
// With YY_RESUME_MATCH, the entry to go on from; the match starts at yytext, the scan is at yy_resume_pos.
struct YyResumeAt { YyResume what; YyEntry entry; };

// The cold path of the matching loop: a match that ended on a NUL byte, the end-of-buffer
// marker or one of the input, with the token cut out up to just past the NUL. Sets the scanner up
// on the first call, scans a NUL of the input as a byte, refills the buffer at its end.
[[gnu::noinline]] YyResumeAt yy_end_of_buffer(int action) {
    // Consistency check, unreachable: no state takes an action that the matching loop does not.
    if (action != YY_ACT_BUFFER_END)
        yy_fatal(YY_MSG_NO_ACTION);
    int matched = static_cast<int>(yy_resume_pos - yytext) - 1;  // the token before the NUL
    *yy_resume_pos = yy_saved_byte;
    if (yy_need_setup) {  // the first call: the marker of the stand-in
        yy_setup();
        return {YY_NEXT_TOKEN, 0};
    }
    std::ptrdiff_t s;
    if (yy_resume_pos <= yy_active_buffer->data + yy_data_count) {
        // A NUL before the marker is a byte of the input: scan it as one.
        yy_resume_pos = yytext + matched;
        s = yy_rescan_state();
        yy_note_if_accepting(s, yy_resume_pos);
        s = yy_next_state(s, YY_NUL_CLASS);
        ++yy_resume_pos;
        if (!yy_stops(s))
            return {YY_RESUME_MATCH, yy_row(s)};
    } else {
        RefillResult refill = yy_refill_buffer();
        if (refill == REFILL_END) {
            yy_resume_pos = yytext;  // the next call meets the marker again, and ends here
            return {YY_INPUT_END, 0};
        }
        if (refill == REFILL_CONTINUE) {  // more input: match the token on into it
            yy_resume_pos = yytext + matched;
            return {YY_RESUME_MATCH, yy_row(yy_rescan_state())};
        }
        // The last token: all there is of it, matched with what the buffer holds.
        yy_resume_pos = yy_active_buffer->data + yy_data_count;
        s = yy_rescan_state();
    }
    // The match ends here, or at the last accepting state it passed.
    if (!yy_accepts(s)) {
        s = yy_backup_state;
        yy_resume_pos = yy_backup_pos;
    }
    return {YY_RESUME_MATCH, yy_ends_in(s)};
}

// Cuts the token from start up to p out in place: a NUL after it, the byte it covers saved.
[[gnu::always_inline]] inline void yy_cut(char* start, char* p, YyScanPosition& at) {
    yytext = start;
    yyleng = static_cast<int>(p - start);
    at.saved = *p;
    *p = 0;
    at.next = p;
}

}  // namespace

YyScanPosition yy_scan_position() { return {yy_resume_pos, yy_saved_byte}; }
void yy_scan_give_back(YyScanPosition at) { yy_resume_pos = at.next; yy_saved_byte = at.saved; }

int yylex() {
    YyScanPosition at = yy_scan_position();
    int token = yy_scan(at);
    yy_scan_give_back(at);
    return token;
}

int yy_scan(YyScanPosition& at) {
    // The scan position and the token start live in locals while a token is matched (a store
    // through the buffer may alias any global), the position between tokens in the caller's `at`;
    // the globals are brought up to date where the cold path needs them.
    char* p = at.next;
    *p = at.saved;
    // The eight bytes after a number's first digit, as the match read them: loaded by the step on
    // a first digit, and again when the cold path resumes a match.
    std::uint64_t after = 0;
    for (;;) {  // one token a pass; a blank goes round again
        char* start = p;
        // A token of one byte (an operator, a parenthesis, a line feed) is told by one test on
        // the byte, and returned without the first step's tests: it keeps its byte, like any
        // match that ends on its first step.
        unsigned char c = static_cast<unsigned char>(*p);
        ++p;
        if (int token = yy_match.one_byte[c]; token != 0) [[likely]] {
            if (token < EOL || token >= YY_TOKEN_LIMIT)  // a named token, as the table holds only those
                __builtin_unreachable();
            yy_cut(start, p, at);
            return token;
        }
        // The first step, from the start state, which yy_start_state holds from the first call
        // on: its row is a constant address. After a first digit, the digits that follow are
        // taken eight bytes at a time. The marker is no digit, so the digits stop at it.
        YyEntry e = yy_match.next[yy_row(YY_START_STATE) + c];
        if (e == yy_row(YY_ONE_DIGIT)) {
            static_assert(sizeof after == YY_DIGITS_READ, "the buffer has room for the word read after a first digit");
            after = load_lanes(p);
            // Whether the number ends within the word is told by the word (a lane that holds no
            // digit) and by the step from YY_DIGITS' row on the byte after the digits, which is in
            // the buffer either way: after eight digits, it is the one after them. The step, not
            // a test of that byte for NUL (of the bytes that hold no digit, the one whose step is
            // not YY_RUN_ENDS): on an Intel Xeon (family 6, model 207) the test on the byte took
            // W3 1.08 of 1aaf7fa's wall time, and the step 0.82, alike with other code alignments
            // (why that processor runs the earlier test slower is not known here: the machine
            // exposes no counters).
            std::uint64_t stops = yy_non_digit_lanes(after);
            p += yy_digits_before(stops);  // eight when the word holds only digits
            YyEntry run = yy_match.next[yy_row(YY_DIGITS) + static_cast<unsigned char>(*p)];
            if ((stops != 0) & (run == YY_RUN_ENDS)) [[likely]] {
                // The usual number, ended by the byte after it, one byte back. Returned here,
                // that byte not taken, the next token's position depends on no table entry, so
                // that the processor scans on while the number is converted.
                yy_cut(start, p, at);
                int length = static_cast<int>(p - start);
                if (length > 8)  // the word held the byte after the digits: converted with no test
                    __builtin_unreachable();
                yylval = yy_number_value(start, after, length);
                return NUMBER;
            }
            // Nine digits or more, or digits up to a NUL (the marker's, say): the digits taken
            // eight bytes at a time up to the byte after them, on which the matching loop steps
            // from YY_DIGITS' row (one step, whatever the length). Each word is read one past a
            // digit, which lies before the marker, and so ends no further on than the first.
            // A number of nine to sixteen digits ended by the byte after them is returned after
            // the second word, as the usual number is after the first, and converted with no
            // call: on W3 (lengths of one to ten digits alike) the matching loop's step and the
            // call had cost a fifth of the lines about 75 instructions each.
            if (stops == 0) {
                stops = yy_non_digit_lanes(load_lanes(p));
                p += yy_digits_before(stops);
                run = yy_match.next[yy_row(YY_DIGITS) + static_cast<unsigned char>(*p)];
                if ((stops != 0) & (run == YY_RUN_ENDS)) {  // nine to sixteen digits
                    yy_cut(start, p, at);
                    std::uint64_t front = after << 8 | static_cast<unsigned char>(*start);
                    yylval = static_cast<std::int32_t>(static_cast<std::uint32_t>(
                        yy_sixteen_digit_value(start, front, static_cast<int>(p - start))));
                    return NUMBER;
                }
            }
            while (stops == 0) {
                stops = yy_non_digit_lanes(load_lanes(p));
                p += yy_digits_before(stops);
            }
            e = yy_row(YY_DIGITS);
        }
        for (;;) {  // one match; the cold path resumes it
            // Matching loop. Invariant: the bytes from start up to p have run through the
            // automaton, and e is the entry of the last step: while the match goes on, the row
            // of the state they reach. The end-of-buffer marker ends every match, so the loop
            // makes no bounds test. A match that ended on its first step keeps its byte (no
            // match backs up from the start state), and so does one the cold path ends (its
            // entry ends in the state where the scan is): only a loop's ending backs up, so a
            // token of one byte ends where it began plus one, whatever its entry, and the next
            // token's position waits for no table entry either.
            if (yy_goes_on(e)) {
                do {
                    e = yy_match.next[e + static_cast<unsigned char>(*p)];
                    ++p;
                } while (yy_goes_on(e));
                p -= yy_bytes_back(e);
            }
            std::ptrdiff_t ending = yy_ending(e);
            yy_cut(start, p, at);

            if (int token = yy_match.token[ending]; token != 0) [[likely]] {
                if (token < EOL || token >= YY_TOKEN_LIMIT)  // a named token, as the table holds only those
                    __builtin_unreachable();
                if (token == NUMBER)
                    yylval = yy_number_value(start, after, static_cast<int>(p - start));
                return token;
            }
            int action = yy_match.action[ending];
            if (action == YY_ACT_BLANK) {  // no token: put the byte back and go on from it
                *p = at.saved;
                break;
            }
            if (action == YY_ACT_STRAY)  // its own value, bytes 0x80..0xFF too: never negative
                return static_cast<unsigned char>(*start);
            yy_scan_give_back(at);
            YyResumeAt resume = yy_end_of_buffer(action);
            at = yy_scan_position();
            if (resume.what == YY_INPUT_END)
                return 0;
            p = at.next;
            if (resume.what == YY_NEXT_TOKEN) {
                *p = at.saved;
                break;
            }
            start = yytext;
            after = load_lanes(start + 1);  // as the step on a first digit loads them
            e = resume.entry;
        }
    }
}
