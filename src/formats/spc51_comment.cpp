#include "formats/spc51_comment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "formats/spc_files.h"
#include "record/text_codec.h"
#include "record/text_format.h"

namespace wavora {

namespace {

constexpr size_t kFieldWidth = 32;

// One field to be written: its bytes at an offset of the file.
struct FieldWrite {
    int64_t Offset = 0;
    std::string Bytes;
};

// The text a read of the file takes from a field's bytes: up to the first NUL, trailing blanks
// removed, decoded.
std::string StoredText(const std::string& bytes) {
    return DecodeFileText(TrimRight(bytes.substr(0, bytes.find('\0'))));
}

Failure WriteFailure() {
    return Failure::Captioned("File write error", "FILE WRITE ERROR");
}

bool ReadWhole(int fd, int64_t offset, size_t length, std::string& out) {
    out.assign(length, '\0');
    size_t got = 0;
    while (got < length) {
        ssize_t r = ::pread(fd, out.data() + got, length - got, static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        got += static_cast<size_t>(r);
    }
    return true;
}

bool WriteWhole(const PatchIo& io, int fd, const std::string& bytes, int64_t offset) {
    ssize_t r;
    do {
        r = io.WriteAt(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    } while (r < 0 && errno == EINTR);
    return r == static_cast<ssize_t>(bytes.size());
}

// Puts the original bytes back after a failed write: on the descriptor while it is open, else on
// the file opened again.
void Restore(const PatchIo& io, int fd, const std::string& path, const std::string& original,
             int64_t offset) {
    const bool reopened = fd < 0;
    if (reopened) fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return;
    if (WriteWhole(io, fd, original, offset)) io.Sync(fd);
    io.Close(fd);
}

std::string CutWarning(const char* what, const std::string& stored) {
    return StrPrintf("The %s is longer than its 32-byte field; \"%s\" was stored.", what, stored.c_str());
}

}  // namespace

PatchIo PatchIo::System() {
    PatchIo io;
    io.WriteAt = [](int fd, const void* bytes, size_t count, off_t offset) {
        return ::pwrite(fd, bytes, count, offset);
    };
    io.Sync = [](int fd) { return ::fsync(fd); };
    io.Close = [](int fd) { return ::close(fd); };
    return io;
}

std::string NameFieldBytes(const std::string& utf8) {
    std::string bytes = EncodeFileText(CutToFileWidth(utf8, kFieldWidth));
    if (bytes.size() < kFieldWidth) bytes.push_back('\0');
    return bytes;
}

std::string CommentFieldBytes(const std::string& utf8) {
    std::string bytes = EncodeFileText(CutToFileWidth(utf8, kFieldWidth));
    bytes.resize(kFieldWidth, '\0');
    return bytes;
}

void ApplyCommentInMemory(WaveRecord& record, const CommentEdit& edit) {
    if (edit.Title) record.Title = CutToFileWidth(*edit.Title, kTitleWidth);
    const int channels = std::clamp(record.ChannelCount, 0, kMaxChannels);
    for (int k = 0; k < channels; ++k)
        if (edit.Names[k]) record.Channels[k].Name = CutToFileWidth(*edit.Names[k], kNameWidth);
}

Outcome ApplyCommentEdit(WaveRecord& record, const CommentEdit& edit) {
    if (record.Format == FormatType::Spc51) return WriteSpc51Texts(record, edit);
    ApplyCommentInMemory(record, edit);
    return Outcome{};
}

Outcome WriteSpc51Texts(WaveRecord& record, const CommentEdit& edit, const PatchIo& io) {
    if (record.Format != FormatType::Spc51) return Outcome::Fail(Failure::Notice("  Not SPC51 Data File!  "));
    const int channels = std::clamp(record.ChannelCount, 0, kMaxChannels);

    // Only the texts that differ from the record's are written.
    std::vector<FieldWrite> writes;
    int titleWrite = -1, commentWrite = -1;
    std::array<int, kMaxChannels> nameWrite;
    nameWrite.fill(-1);
    if (edit.Title && *edit.Title != record.Title) {
        titleWrite = static_cast<int>(writes.size());
        writes.push_back({DblHeader::kTitleOffset, NameFieldBytes(*edit.Title)});
    }
    if (edit.Comment && *edit.Comment != record.Comment) {
        commentWrite = static_cast<int>(writes.size());
        writes.push_back({DblHeader::kCommentOffset, CommentFieldBytes(*edit.Comment)});
    }
    for (int k = 0; k < channels; ++k) {
        if (edit.Names[k] && *edit.Names[k] != record.Channels[k].Name) {
            nameWrite[k] = static_cast<int>(writes.size());
            writes.push_back({DblChannelEntry::OffsetOf(k) + DblChannelEntry::kNameOffset,
                              NameFieldBytes(*edit.Names[k])});
        }
    }
    if (writes.empty()) return Outcome{};

    const int fd = ::open(record.FilePath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return Outcome::Fail(Failure::Captioned("File could not be opened", "Open Error"));

    // The file must still be the one loaded.
    struct stat st {};
    std::string header;
    const bool same =
        ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == record.FileSize &&
        ReadWhole(fd, 0, DblHeader::kSize, header) &&
        std::memcmp(header.data(), record.Header.Bytes.data(), DblHeader::kSize) == 0 &&
        ReadLeI16(record.Header.Bytes.data() + DblHeader::kChannelCountOffset) == record.ChannelCount;
    if (!same) {
        ::close(fd);
        return Outcome::Fail(
            Failure::Captioned("The file " + record.FileName +
                                   " has been changed since it was loaded; load it again before "
                                   "editing its texts.",
                               "File Error"));
    }

    // The stretch from the first to the last changed byte, built in memory from the file's bytes.
    int64_t begin = INT64_MAX, end = 0;
    for (const FieldWrite& w : writes) {
        begin = std::min(begin, w.Offset);
        end = std::max(end, w.Offset + static_cast<int64_t>(w.Bytes.size()));
    }
    std::string original;
    if (!ReadWhole(fd, begin, static_cast<size_t>(end - begin), original)) {
        ::close(fd);
        return Outcome::Fail(WriteFailure());
    }
    std::string changed = original;
    for (const FieldWrite& w : writes)
        changed.replace(static_cast<size_t>(w.Offset - begin), w.Bytes.size(), w.Bytes);

    if (changed != original) {
        if (!WriteWhole(io, fd, changed, begin) || io.Sync(fd) != 0) {
            Restore(io, fd, record.FilePath, original, begin);
            return Outcome::Fail(WriteFailure());
        }
        if (io.Close(fd) != 0) {
            Restore(io, -1, record.FilePath, original, begin);
            return Outcome::Fail(WriteFailure());
        }
    } else {
        ::close(fd);
    }

    // The record takes what a new read of the file would give.
    Outcome outcome;
    auto stored = [&](int index) { return StoredText(writes[static_cast<size_t>(index)].Bytes); };
    if (titleWrite >= 0) {
        const FieldWrite& w = writes[static_cast<size_t>(titleWrite)];
        std::copy(w.Bytes.begin(), w.Bytes.end(), record.Header.Bytes.begin() + w.Offset);
        record.Title = stored(titleWrite);
        if (EncodeFileText(*edit.Title).size() > kFieldWidth)
            outcome.Warnings.push_back(Failure::Notice(CutWarning("title", record.Title)));
    }
    if (commentWrite >= 0) {
        const FieldWrite& w = writes[static_cast<size_t>(commentWrite)];
        std::copy(w.Bytes.begin(), w.Bytes.end(), record.Header.Bytes.begin() + w.Offset);
        record.Comment = stored(commentWrite);
        if (EncodeFileText(*edit.Comment).size() > kFieldWidth)
            outcome.Warnings.push_back(Failure::Notice(CutWarning("comment", record.Comment)));
    }
    for (int k = 0; k < channels; ++k) {
        if (nameWrite[k] < 0) continue;
        record.Channels[k].Name = stored(nameWrite[k]);
        if (EncodeFileText(*edit.Names[k]).size() > kFieldWidth) {
            const std::string what = StrPrintf("name of CH %d", k + 1);
            outcome.Warnings.push_back(Failure::Notice(CutWarning(what.c_str(), record.Channels[k].Name)));
        }
    }
    return outcome;
}

}  // namespace wavora
