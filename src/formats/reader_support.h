#pragma once
// What the data-file readers share: an open file that closes itself, a block-buffered line reader,
// the common failures, header texts and integers, and the staged record a reader fills before it
// hands its result over (so a failed or cancelled read leaves the caller's record as it was).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads a file line by line in large blocks. A line is returned without its line end (a line
// feed, and a carriage return before it). Lines have no length limit: a long line is read whole
// rather than broken into pieces that would be taken for further rows. The character just after
// every line returned is its line end ('\n' or '\r'; a line feed is put after a last line that has
// none), and at least kPadding readable bytes follow.
class LineReader {
  public:
    static constexpr size_t kPadding = 64;

    // Reads from the file's current position, at most `limit` bytes (all that is left when negative).
    explicit LineReader(std::FILE* file, int64_t limit = -1, size_t blockSize = size_t(1) << 22);

    // The next line; false at the end of the file (a last line without a line feed still counts).
    bool Next(std::string_view& line);
    // Bytes of the file consumed so far, counted from where the reader started.
    int64_t Consumed() const { return consumed_; }
    bool ReadError() const { return error_; }

  private:
    bool Fill();

    std::FILE* file_;
    size_t capacity_;                 // bytes of file text the buffer holds,
    std::unique_ptr<char[]> buffer_;  // followed by kPadding spare bytes (left uninitialised)
    size_t begin_ = 0, end_ = 0;
    int64_t consumed_ = 0;
    int64_t left_;  // bytes the reader may still read, negative for no limit
    bool eof_ = false, error_ = false;
};

// "read file not exist  " under "File Error": the file cannot be opened for reading.
Failure FileOpenFailure();
// A file that stops before its fixed header is complete.
Failure TruncatedHeaderFailure();
// A header value the program cannot work with, under "File Error".
Failure HeaderValueFailure(std::string text);
// A channel count outside 1..8 in a file header.
Failure ChannelCountFailure(int64_t count);

// The file's last-modification time in local time, "%d/%02d/%02d %02d:%02d:%02d", seconds rounded
// down to an even number (the resolution of the file systems the records come from).
std::string ModificationDateText(std::FILE* file);
// The same text of an open file descriptor.
std::string ModificationDateText(int fd);

// A header text of a file: decoded to UTF-8, trailing blanks and tabs removed, cut to `width`
// encoded bytes without splitting a character.
std::string HeaderText(std::string_view bytes, size_t width);

// The integer at the start of a text: optional sign, then digits up to the first non-digit; 0 when
// there is none. Saturates far beyond the 32-bit range instead of overflowing.
int64_t LeadingInteger(const char* begin, const char* end);
inline int64_t LeadingInteger(std::string_view text) {
    return LeadingInteger(text.data(), text.data() + text.size());
}

// Text of a file: removes a UTF-8 byte-order mark at its start (editors put one before line 1).
std::string_view WithoutByteOrderMark(std::string_view line);

}  // namespace wavora
