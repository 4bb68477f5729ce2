#include "formats/reader_support.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "formats/data_readers.h"
#include "record/text_codec.h"

namespace wavora {

LineReader::LineReader(std::FILE* file, int64_t limit, size_t blockSize)
    : file_(file),
      capacity_(std::max<size_t>(blockSize, 1)),
      buffer_(new char[capacity_ + kPadding]),
      left_(limit) {}

bool LineReader::Fill() {
    if (eof_ || error_) return false;
    // Keep the unfinished line, moved to the front; grow when it already fills the whole buffer.
    size_t left = end_ - begin_;
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, left);
        begin_ = 0;
        end_ = left;
    }
    if (end_ == capacity_) {  // one line fills the whole buffer
        std::unique_ptr<char[]> larger(new char[2 * capacity_ + kPadding]);
        std::memcpy(larger.get(), buffer_.get(), end_);
        buffer_ = std::move(larger);
        capacity_ *= 2;
    }
    size_t want = capacity_ - end_;
    if (left_ >= 0) want = static_cast<size_t>(std::min<int64_t>(left_, static_cast<int64_t>(want)));
    size_t got = want ? std::fread(buffer_.get() + end_, 1, want, file_) : 0;
    if (left_ >= 0) left_ -= static_cast<int64_t>(got);
    if (got == 0) {
        if (std::ferror(file_)) error_ = true;
        eof_ = true;
        return false;
    }
    end_ += got;
    std::memset(buffer_.get() + end_, 0, kPadding);  // what parsers may look at beyond the text is defined
    return true;
}

bool LineReader::Next(std::string_view& line) {
    size_t searched = begin_;
    for (;;) {
        const char* from = buffer_.get() + searched;
        const void* lf = std::memchr(from, '\n', end_ - searched);
        if (lf) {
            size_t at = static_cast<size_t>(static_cast<const char*>(lf) - buffer_.get());
            size_t stop = at;
            if (stop > begin_ && buffer_[stop - 1] == '\r') --stop;
            line = std::string_view(buffer_.get() + begin_, stop - begin_);
            consumed_ += static_cast<int64_t>(at + 1 - begin_);
            begin_ = at + 1;
            return true;
        }
        size_t searchedBytes = end_ - begin_;
        if (!Fill()) {
            if (end_ == begin_) return false;
            buffer_[end_] = '\n';  // in the padding, cleared by Fill
            size_t stop = end_;
            if (buffer_[stop - 1] == '\r') --stop;
            line = std::string_view(buffer_.get() + begin_, stop - begin_);
            consumed_ += static_cast<int64_t>(end_ - begin_);
            begin_ = end_;
            return true;
        }
        searched = begin_ + searchedBytes;  // Fill moved the unfinished line to the front
    }
}

Failure CancelledFailure() {
    return Failure{std::string(), std::string(), MessageIcon::None};
}

bool IsCancelled(const Outcome& outcome) {
    return outcome.Error && outcome.Error->Text.empty() && outcome.Error->Caption.empty();
}

Failure FileOpenFailure() {
    return Failure::Captioned("read file not exist  ", "File Error");
}

Failure TruncatedHeaderFailure() {
    return HeaderValueFailure("The file ends within its header.");
}

Failure HeaderValueFailure(std::string text) {
    return Failure::Captioned(std::move(text), "File Error");
}

Failure ChannelCountFailure(int64_t count) {
    return HeaderValueFailure("The file header gives " + std::to_string(count) +
                              " channels; 1 to 8 channels can be read.");
}

std::string ModificationDateText(std::FILE* file) {
    return ModificationDateText(fileno(file));
}

std::string ModificationDateText(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return std::string();
    std::time_t t = st.st_mtime;
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec & ~1);
    return text;
}

std::string HeaderText(std::string_view bytes, size_t width) {
    while (!bytes.empty() && (bytes.back() == ' ' || bytes.back() == '\t')) bytes.remove_suffix(1);
    return CutToFileWidth(DecodeFileText(bytes), width);
}

int64_t LeadingInteger(const char* p, const char* end) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    constexpr int64_t kLimit = int64_t(1) << 40;
    int64_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        if (value < kLimit) value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

std::string_view WithoutByteOrderMark(std::string_view line) {
    if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    return line;
}

}  // namespace wavora
