#pragma once
// The File Comment editor's work on the record: the title, comment and channel names of an SPC-51
// record are written into its file in place (title at header offset 16, comment at 130, each name
// at offset 0 of its 96-byte channel entry); for any other format they change the record only.
//
// Writing into the user's own file is done with care:
// - Each text goes in code page 932, cut to its 32-byte field without splitting a double-byte
//   character. A title or name shorter than its field ends with one NUL and the field's later
//   bytes keep their values; the comment fills its 32 bytes, NUL padded. No byte outside a field
//   is touched, and only the fields whose text changed are written.
// - Before writing, the header is read again: the file must still be the one loaded (the same
//   size and the same 512 header bytes, so the same tag and channel count).
// - The changed stretch is built in memory and written with one write at its offset, then flushed
//   to the disk and the file closed, each step checked. On any failure the original bytes are
//   put back. The file keeps its identity (same inode, owner and permissions); no backup is made.
// - The record takes the texts exactly as a new read of the file would give them, and only after
//   the write succeeded.

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// The texts of the editor's OK (UTF-8). An empty optional leaves that text as it is; names of
// channels beyond the record's are ignored.
struct CommentEdit {
    std::optional<std::string> Title;
    std::optional<std::string> Comment;
    std::array<std::optional<std::string>, kMaxChannels> Names;
};

// The system calls the in-place write uses; the tests put failing ones in.
struct PatchIo {
    std::function<ssize_t(int fd, const void* bytes, size_t count, off_t offset)> WriteAt;
    std::function<int(int fd)> Sync;
    std::function<int(int fd)> Close;
    static PatchIo System();
};

// The editor's OK: WriteSpc51Texts for an SPC-51 record, ApplyCommentInMemory for the others.
Outcome ApplyCommentEdit(WaveRecord& record, const CommentEdit& edit);

// The record only (formats other than SPC-51): the title and the names of the record's channels,
// each cut to its width (32 and 31 bytes in code page 932). The comment is not used.
void ApplyCommentInMemory(WaveRecord& record, const CommentEdit& edit);

// Writes the changed texts into the SPC-51 file record.FilePath and, after the write succeeded,
// puts the stored texts into the record (Title, Comment, channel Names and the header image).
// Failures, each leaving file and record as they were:
//   "File could not be opened" ("Open Error"): the file cannot be opened for update;
//   the file changed since it was loaded ("File Error");
//   "File write error" ("FILE WRITE ERROR"): a write, the flush or the close failed.
// A text cut to its field comes back as a warning that says what was stored.
Outcome WriteSpc51Texts(WaveRecord& record, const CommentEdit& edit, const PatchIo& io = PatchIo::System());

// The bytes a title or name field takes for a text: code page 932, at most 32 bytes without
// splitting a character, and one NUL when shorter.
std::string NameFieldBytes(const std::string& utf8);
// The 32 bytes of the comment field for a text, NUL padded.
std::string CommentFieldBytes(const std::string& utf8);

}  // namespace wavora
