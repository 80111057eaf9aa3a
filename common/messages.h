// Every text the tool prints, as Shift-JIS bytes, and the one way a run ends
// on an error.
#pragma once

// Options.
extern const char MSG_ILLEGAL_OPTION[];
extern const char MSG_USAGE[];
// Start of the run and the dictionary file.
extern const char MSG_NO_LINE_BUFFER[];
extern const char MSG_DIC_OPEN[];
extern const char MSG_DIC_READ[];
// The format error report: banner, line, then one of the reasons.
extern const char MSG_FORMAT_BANNER[];
extern const char MSG_LINE[];
extern const char REASON_NO_LINE_END[];
extern const char REASON_OVERFLOW[];
extern const char REASON_TAB[];
extern const char REASON_START_MARK[];
extern const char REASON_COLON[];
extern const char REASON_HEADER_END[];
extern const char REASON_TWO_SEMICOLONS[];
extern const char REASON_EMPTY_ITEM[];
extern const char REASON_CLOSING_SLASH[];
extern const char REASON_UNKNOWN_KEY[];
// Rows.
extern const char MSG_ORDER_BANNER[];
extern const char MSG_ROW_OVERFLOW[];
extern const char MSG_ROW_EMPTY[];
// The index file, the listing and the closing confirmation.
extern const char MSG_IDX_OPEN[];
extern const char MSG_IDX_WRITE[];
extern const char MSG_LISTING_ROW[];
extern const char MSG_LISTING_END[];
extern const char MSG_CONFIRMATION[];

// The exit status of a run that ends on an error, whatever the error.
constexpr int FAILED_RUN_STATUS = 0;

// Ends the process after an error, with FAILED_RUN_STATUS. The only routine
// that calls exit: a run that gets to its end returns its status from main.
[[noreturn]] void end_run();

#ifdef VENOSKAL_FUZZING
// In the fuzzing build a run that ends throws this instead, so that the
// fuzzer can go on with its next input in the same process.
struct RunEnded {
    int status;
};
#endif

// Prints a message and ends the run with exit status 0.
[[noreturn]] void fail(const char* format, ...);

// Prints the banner, then "[Line:n]" with the line buffer, then (unless
// reason is null) the reason formatted with arg, and ends the run with exit
// status 0. Serves the format error report and the order report.
[[noreturn]] void fail_with_line(const char* banner, const char* reason, const char* arg = nullptr);

// The three-line format error report for a malformed line.
[[noreturn]] inline void fail_format(const char* reason, const char* arg = nullptr)
{
    fail_with_line(MSG_FORMAT_BANNER, reason, arg);
}
