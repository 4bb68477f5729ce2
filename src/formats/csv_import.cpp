#include "formats/csv_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <thread>

#include "formats/data_readers.h"
#include "formats/data_writers.h"
#include "formats/reader_support.h"
#include "formats/standard_csv.h"
#include "record/line_split.h"
#include "record/number_text.h"
#include "record/text_codec.h"
#include "record/text_format.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define WAVORA_HAVE_AVX2_SCAN 1
#endif

namespace wavora {

namespace {

const char* const kIndexProgressText = "Reading data file";
const char* const kImportProgressText = "Importing data";
const char* const kSaveProgressText = "Writing data file";

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The start of every line, in blocks that never move: the index grows without copying what it
// holds, and takes 8 bytes per line.
class LineStarts {
  public:
    static constexpr int kBlockBits = 16;
    static constexpr int64_t kBlock = int64_t(1) << kBlockBits;

    void Push(int64_t offset) {
        if (left_ == 0) {
            blocks_.emplace_back(new int64_t[kBlock]);
            next_ = blocks_.back().get();
            left_ = kBlock;
        }
        *next_++ = offset;
        --left_;
        ++size_;
    }
    void PopBack() {
        --size_;
        ++left_;
        --next_;
    }
    int64_t Size() const { return size_; }
    int64_t operator[](int64_t i) const {
        return blocks_[static_cast<size_t>(i >> kBlockBits)][i & (kBlock - 1)];
    }
    size_t Bytes() const {
        return blocks_.size() * static_cast<size_t>(kBlock) * sizeof(int64_t) +
               blocks_.capacity() * sizeof(blocks_[0]);
    }

  private:
    std::vector<std::unique_ptr<int64_t[]>> blocks_;
    int64_t* next_ = nullptr;
    int64_t left_ = 0;
    int64_t size_ = 0;
};

// Where the scan of the file stands between two blocks.
struct ScanState {
    LineStarts* Starts = nullptr;
    int64_t Commas = 0;  // commas of the line being scanned
    int64_t Widest = 0;  // most commas of a finished line
};

// Lines and commas of one block, a byte at a time.
void ScanPlain(const char* p, size_t n, int64_t base, ScanState& st) {
    const char* end = p + n;
    const char* s = p;
    while (s < end) {
        const char* lf = static_cast<const char*>(std::memchr(s, '\n', static_cast<size_t>(end - s)));
        const char* stop = lf ? lf : end;
        st.Commas += std::count(s, stop, ',');
        if (!lf) break;
        st.Widest = std::max(st.Widest, st.Commas);
        st.Commas = 0;
        st.Starts->Push(base + (lf - p) + 1);
        s = lf + 1;
    }
}

#ifdef WAVORA_HAVE_AVX2_SCAN
// The same, 32 bytes at a time: one mask of the line feeds and one of the commas.
__attribute__((target("avx2,popcnt"))) void ScanAvx2(const char* p, size_t n, int64_t base, ScanState& st) {
    const __m256i lf = _mm256_set1_epi8('\n'), comma = _mm256_set1_epi8(',');
    size_t i = 0;
    int64_t commas = st.Commas, widest = st.Widest;
    for (; i + 32 <= n; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        uint32_t lines = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, lf)));
        uint32_t commaBits = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, comma)));
        while (lines) {
            const unsigned at = static_cast<unsigned>(__builtin_ctz(lines));
            const uint32_t before = (uint32_t(1) << at) - 1;
            commas += __builtin_popcount(commaBits & before);
            commaBits &= ~before;
            widest = std::max(widest, commas);
            commas = 0;
            st.Starts->Push(base + static_cast<int64_t>(i + at) + 1);
            lines &= lines - 1;
        }
        commas += __builtin_popcount(commaBits);
    }
    st.Commas = commas;
    st.Widest = widest;
    ScanPlain(p + i, n - i, base + static_cast<int64_t>(i), st);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    return has;
}
#endif

// Reads exactly `length` bytes at `offset`, or fewer at the end of the file; false on a read error.
bool ReadAt(int fd, int64_t offset, size_t length, std::string& out) {
    out.resize(length);
    size_t got = 0;
    while (got < length) {
        ssize_t r = ::pread(fd, out.data() + got, length - got, static_cast<off_t>(offset + got));
        if (r < 0) {
            if (errno == EINTR) continue;
            out.clear();
            return false;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    out.resize(got);
    return true;
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

// ---- CsvLineIndex

struct CsvLineIndex::Data {
    std::string Path;
    int Fd = -1;
    dev_t Device = 0;
    ino_t Inode = 0;
    struct timespec Modified {};
    int64_t TextEnd = 0;  // bytes indexed
    LineStarts Starts;
    int64_t Widest = 0;
    int64_t LastContent = 0;

    ~Data() {
        if (Fd >= 0) ::close(Fd);
    }
};

CsvLineIndex::CsvLineIndex() = default;
CsvLineIndex::~CsvLineIndex() = default;
CsvLineIndex::CsvLineIndex(CsvLineIndex&&) noexcept = default;
CsvLineIndex& CsvLineIndex::operator=(CsvLineIndex&&) noexcept = default;

Outcome CsvLineIndex::Build(const std::string& path, CsvLineIndex& index, const Progress& progress) {
    return BuildIndex(path, index, progress, false);
}

Outcome CsvLineIndex::BuildWithPlainScan(const std::string& path, CsvLineIndex& index) {
    return BuildIndex(path, index, {}, true);
}

namespace {

constexpr size_t kScanBlock = size_t(1) << 18;  // stays in the second-level cache while it is scanned

}  // namespace

Outcome CsvLineIndex::BuildIndex(const std::string& path, CsvLineIndex& index, const Progress& progress,
                                 bool plainScan) {
    index.data_.reset();
    std::unique_ptr<Data> data;
    try {
        data = std::make_unique<Data>();
        data->Path = path;
        data->Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (data->Fd < 0) return Outcome::Fail(FileOpenFailure());
        struct stat st {};
        if (::fstat(data->Fd, &st) != 0 || !S_ISREG(st.st_mode)) return Outcome::Fail(FileOpenFailure());
        data->Device = st.st_dev;
        data->Inode = st.st_ino;
        data->Modified = st.st_mtim;
        ::posix_fadvise(data->Fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        const double expected = std::max<double>(static_cast<double>(st.st_size), 1.0);

        std::unique_ptr<char[]> buffer(new char[kScanBlock]);
        ScanState scan;
        scan.Starts = &data->Starts;
        int64_t offset = 0;
        for (int blocks = 1;; ++blocks) {
            ssize_t got = ::read(data->Fd, buffer.get(), kScanBlock);
            if (got < 0) {
                if (errno == EINTR) continue;
                return Outcome::Fail(FileOpenFailure());
            }
            if (got == 0) break;
            if (offset == 0) data->Starts.Push(0);
            bool vectorScan = false;
#ifdef WAVORA_HAVE_AVX2_SCAN
            vectorScan = !plainScan && HasAvx2();
            if (vectorScan) ScanAvx2(buffer.get(), static_cast<size_t>(got), offset, scan);
#endif
            if (!vectorScan) ScanPlain(buffer.get(), static_cast<size_t>(got), offset, scan);
            offset += got;
            if (blocks % 64 == 0 &&
                !Report(progress, kIndexProgressText, std::min(1.0, static_cast<double>(offset) / expected)))
                return Outcome::Fail(CancelledFailure());
        }
        data->TextEnd = offset;
        // A line feed at the very end starts no further line; a last line without one counts.
        if (data->Starts.Size() > 0 && data->Starts[data->Starts.Size() - 1] == offset)
            data->Starts.PopBack();
        const bool any = data->Starts.Size() > 0;
        data->Widest = any ? std::max(scan.Widest, scan.Commas) + 1 : 0;
    } catch (const std::bad_alloc&) {
        return Outcome::Fail(MemoryFailure());
    }
    Report(progress, kIndexProgressText, 1.0);

    index.data_ = std::move(data);
    // The last line that holds more than blanks: nearly always the last line itself.
    for (int64_t line = index.LineCount(); line >= 1; --line) {
        if (!TrimBlanks(index.LineText(line)).empty()) {
            index.data_->LastContent = line;
            break;
        }
    }
    return Outcome{};
}

const std::string& CsvLineIndex::Path() const {
    static const std::string kNone;
    return data_ ? data_->Path : kNone;
}

int64_t CsvLineIndex::LineCount() const {
    return data_ ? data_->Starts.Size() : 0;
}

int64_t CsvLineIndex::WidestCellCount() const {
    return data_ ? data_->Widest : 0;
}

int64_t CsvLineIndex::LastContentLine() const {
    return data_ ? data_->LastContent : 0;
}

int64_t CsvLineIndex::LineStart(int64_t line) const {
    if (!data_ || line < 1) return 0;
    if (line > LineCount()) return data_->TextEnd;
    return data_->Starts[line - 1];
}

std::string CsvLineIndex::LineText(int64_t line) const {
    if (!data_ || line < 1 || line > LineCount()) return std::string();
    const int64_t begin = LineStart(line), end = LineStart(line + 1);
    std::string text;
    if (!ReadAt(data_->Fd, begin, static_cast<size_t>(end - begin), text)) return std::string();
    std::string_view view = WithoutLineEnd(text);
    if (line == 1) view = WithoutByteOrderMark(view);
    return std::string(view);
}

std::vector<std::string> CsvLineIndex::Cells(int64_t line) const {
    return SplitCells(LineText(line));
}

size_t CsvLineIndex::MemoryBytes() const {
    return data_ ? sizeof(Data) + data_->Path.capacity() + data_->Starts.Bytes() : 0;
}

bool CsvLineIndex::Unchanged() const {
    if (!data_) return false;
    struct stat held {
    }, named{};
    if (::fstat(data_->Fd, &held) != 0 || ::stat(data_->Path.c_str(), &named) != 0) return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino && held.st_size == data_->TextEnd &&
           SameTime(held.st_mtim, data_->Modified);
}

bool CsvLineIndex::IsSameFile(const std::string& path) const {
    if (!data_) return false;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_dev == data_->Device && st.st_ino == data_->Inode;
}

// ---- CsvPreview

struct CsvPreview::Cache {
    static constexpr size_t kLines = 128;  // more than a screen of the grid
    struct Line {
        int64_t Number = 0;
        std::vector<std::string> Cells;
        uint64_t Used = 0;
    };
    std::vector<Line> Lines;
    uint64_t Clock = 0;
};

CsvPreview::CsvPreview(const CsvLineIndex& index) : index_(index), cache_(std::make_unique<Cache>()) {}
CsvPreview::~CsvPreview() = default;

int64_t CsvPreview::RowCount() const {
    return index_.LineCount() + 1;
}

int64_t CsvPreview::ColumnCount() const {
    return std::max(index_.WidestCellCount(), kMinDataColumns) + 1;
}

std::string CsvPreview::ColumnHeading(int64_t column) {
    return column <= 0 ? std::string() : StrPrintf("%4lld", static_cast<long long>(column));
}

std::string CsvPreview::LineHeading(int64_t row) {
    return StrPrintf("  %5lld", static_cast<long long>(row));
}

std::string CsvPreview::CellText(int64_t row, int64_t column) const {
    if (row <= 0) return ColumnHeading(column);
    if (column <= 0) return LineHeading(row);
    if (row > index_.LineCount()) return std::string();
    Cache& cache = *cache_;
    Cache::Line* line = nullptr;
    for (Cache::Line& l : cache.Lines)
        if (l.Number == row) line = &l;
    if (!line) {
        if (cache.Lines.size() < Cache::kLines) {
            line = &cache.Lines.emplace_back();
        } else {
            line = &*std::min_element(
                cache.Lines.begin(), cache.Lines.end(),
                [](const Cache::Line& a, const Cache::Line& b) { return a.Used < b.Used; });
        }
        line->Number = row;
        line->Cells = index_.Cells(row);
    }
    line->Used = ++cache.Clock;
    if (column > static_cast<int64_t>(line->Cells.size())) return std::string();
    return DecodeFileText(line->Cells[static_cast<size_t>(column - 1)]);
}

// ---- The selection

int CsvImportSelection::Channels() const {
    return static_cast<int>(std::clamp<int64_t>(ToColumn - FromColumn + 1, 0, kMaxChannels));
}

CsvImportSelection StartSelection(const CsvLineIndex& index) {
    CsvImportSelection s;
    const int64_t last = index.LastContentLine() > 0 ? index.LastContentLine() : index.LineCount();
    s.ToLine = std::max<int64_t>(last, 1);
    s.ToColumn = std::max<int64_t>(static_cast<int64_t>(index.Cells(last).size()), 1);
    return s;
}

CsvImportFields FieldsOf(const CsvImportSelection& s) {
    auto text = [](int64_t v) { return std::to_string(v); };
    CsvImportFields f;
    f.NamesLine = text(s.NamesLine);
    f.MemoLine = text(s.MemoLine);
    f.UnitLine = text(s.UnitLine);
    f.FromLine = text(s.FromLine);
    f.ToLine = text(s.ToLine);
    f.FromColumn = text(s.FromColumn);
    f.ToColumn = text(s.ToColumn);
    f.SamplingRate = text(s.SamplingRate);
    f.UnitIndex = static_cast<int>(s.Unit);
    return f;
}

Outcome ParseImportFields(const CsvImportFields& fields, CsvImportSelection& selection,
                          CsvImportField* badField) {
    struct Entry {
        const std::string* Text;
        int64_t* Value;
        CsvImportField Field;
    };
    CsvImportSelection parsed = selection;
    const Entry entries[] = {
        {&fields.NamesLine, &parsed.NamesLine, CsvImportField::NamesLine},
        {&fields.MemoLine, &parsed.MemoLine, CsvImportField::MemoLine},
        {&fields.UnitLine, &parsed.UnitLine, CsvImportField::UnitLine},
        {&fields.FromLine, &parsed.FromLine, CsvImportField::FromLine},
        {&fields.ToLine, &parsed.ToLine, CsvImportField::ToLine},
        {&fields.FromColumn, &parsed.FromColumn, CsvImportField::FromColumn},
        {&fields.ToColumn, &parsed.ToColumn, CsvImportField::ToColumn},
        {&fields.SamplingRate, &parsed.SamplingRate, CsvImportField::SamplingRate},
    };
    if (badField) *badField = CsvImportField::None;
    for (const Entry& e : entries) {
        std::optional<int> value = StrictInt(*e.Text);
        if (!value) {
            if (badField) *badField = e.Field;
            return Outcome::Fail(Failure{NotIntegerText(*e.Text), kApplicationTitle, MessageIcon::Warning});
        }
        *e.Value = *value;
    }
    if (fields.UnitIndex < 0 || fields.UnitIndex > 3) {
        if (badField) *badField = CsvImportField::Unit;
        return Outcome::Fail(Failure::Captioned(
            "Choose the unit of the sampling rate: s, ms, \xCE\xBCs or ns.", kImportCaption));
    }
    parsed.Unit = static_cast<TimeUnit>(fields.UnitIndex);
    selection = parsed;
    return Outcome{};
}

namespace {

Outcome Refuse(CsvImportField field, CsvImportField* badField, std::string text) {
    if (badField) *badField = field;
    return Outcome::Fail(Failure::Captioned(std::move(text), kImportCaption));
}

}  // namespace

Outcome CheckImportSelection(const CsvLineIndex& index, const CsvImportSelection& s,
                             CsvImportField* badField) {
    if (badField) *badField = CsvImportField::None;
    const long long lines = index.LineCount();
    if (lines == 0) return Refuse(CsvImportField::None, badField, "The file holds no line to import.");
    struct LineField {
        int64_t Value;
        CsvImportField Field;
        const char* Label;
    };
    const LineField lineFields[] = {
        {s.NamesLine, CsvImportField::NamesLine, "SiteName Line"},
        {s.MemoLine, CsvImportField::MemoLine, "Memo Line"},
        {s.UnitLine, CsvImportField::UnitLine, "Unit Line"},
        {s.FromLine, CsvImportField::FromLine, "Data Line From"},
        {s.ToLine, CsvImportField::ToLine, "Data Line to"},
    };
    for (const LineField& f : lineFields) {
        if (f.Value < 1 || f.Value > lines)
            return Refuse(f.Field, badField,
                          StrPrintf("%s %lld is not a line of the file; its lines are 1 to %lld.", f.Label,
                                    static_cast<long long>(f.Value), lines));
    }
    if (s.FromLine > s.ToLine)
        return Refuse(CsvImportField::ToLine, badField,
                      StrPrintf("Data Line to (%lld) is before Data Line From (%lld).",
                                static_cast<long long>(s.ToLine), static_cast<long long>(s.FromLine)));
    if (s.Samples() > INT32_MAX)
        return Refuse(CsvImportField::ToLine, badField,
                      StrPrintf("%lld data lines are more than a record can hold (%d).",
                                static_cast<long long>(s.Samples()), INT32_MAX));
    const long long widest = index.WidestCellCount();
    if (s.FromColumn < 1 || s.FromColumn > widest)
        return Refuse(CsvImportField::FromColumn, badField,
                      StrPrintf("Data Column from %lld is not a column of the file; its lines have columns 1 "
                                "to %lld.",
                                static_cast<long long>(s.FromColumn), widest));
    if (s.FromColumn > s.ToColumn)
        return Refuse(CsvImportField::ToColumn, badField,
                      StrPrintf("Data Column to (%lld) is before Data Column from (%lld).",
                                static_cast<long long>(s.ToColumn), static_cast<long long>(s.FromColumn)));
    // Columns beyond the 8 taken are not read, so only the used ones must be in the file.
    const long long lastUsed = s.FromColumn + s.Channels() - 1;
    if (lastUsed > widest)
        return Refuse(CsvImportField::ToColumn, badField,
                      StrPrintf("Data Column to %lld is beyond the widest line of the file (%lld columns).",
                                lastUsed, widest));
    if (s.SamplingRate < 1 || s.SamplingRate > INT32_MAX)
        return Refuse(CsvImportField::SamplingRate, badField,
                      StrPrintf("The Sampling Rate must be a whole number above 0, not %lld.",
                                static_cast<long long>(s.SamplingRate)));
    return Outcome{};
}

// ---- The import

namespace {

enum class CellProblem { None, Missing, Empty, NotNumber, OutOfRange };

// Reads the selected cells of one data line into values[0 .. channels-1]: `skip` cells are passed
// over, then each cell must hold one number. On a problem, `badColumn` is the cell's column counted
// from 1 and `badCell` points at the cell. The character at `end` must be the line end, with
// kRowPadding readable bytes from there (LineReader leaves them).
CellProblem ReadCells(const char* s, const char* end, int64_t skip, int channels, float* values,
                      int64_t& badColumn, const char*& badCell) {
    for (int64_t c = 0; c < skip; ++c) {
        const void* comma = std::memchr(s, ',', static_cast<size_t>(end - s));
        if (!comma) {
            badColumn = skip + 1;
            badCell = end;
            return CellProblem::Missing;
        }
        s = static_cast<const char*>(comma) + 1;
    }
    for (int k = 0; k < channels; ++k) {
        const char* cell = s;
        while (IsBlank(*s)) ++s;
        CellProblem problem = CellProblem::None;
        if (s == end || *s == ',') {
            problem = CellProblem::Empty;
        } else {
            const char* after = s;
            const float v = ParseFieldNumber(s, end, &after);
            const char* t = after;
            while (IsBlank(*t)) ++t;
            if (after == s || (t != end && *t != ',')) {
                problem = CellProblem::NotNumber;
            } else if (!(std::fabs(v) <= kLargestPhysicalValue)) {
                // Spectra of such values would overflow; beyond the float range v is infinite.
                problem = CellProblem::OutOfRange;
            } else {
                values[k] = v;
                s = t;
            }
        }
        if (problem != CellProblem::None) {
            badColumn = skip + k + 1;
            badCell = cell;
            return problem;
        }
        if (k + 1 < channels) {
            if (s == end) {
                badColumn = skip + k + 2;
                badCell = end;
                return CellProblem::Missing;
            }
            ++s;  // the comma
        }
    }
    return CellProblem::None;
}

// The first bad cell found, by line.
struct CellFault {
    CellProblem Problem = CellProblem::None;
    int64_t Line = INT64_MAX;
    int64_t Column = 0;
    std::string Text;  // the cell as it stands (cut), for the message
};

struct ImportPiece {
    int64_t FirstLine = 0, LastLine = 0;  // inclusive
    std::array<float, kMaxChannels> Maxima{};
    CellFault Fault;
    bool ReadError = false;
    bool OutOfMemory = false;
};

enum class ImportPass { Check, Samples };

struct ImportShared {
    const CsvLineIndex* Index = nullptr;
    const CsvImportSelection* Selection = nullptr;
    int Channels = 0;
    std::array<float, kMaxChannels> Maxima{};
    std::array<int16_t*, kMaxChannels> Out{};
    std::atomic<size_t> NextPiece{0};
    std::atomic<int64_t> BytesDone{0};
    std::atomic<bool> Stop{false};
    std::atomic<int64_t> FirstBadLine{INT64_MAX};
};

constexpr int64_t kImportPieceBytes = int64_t(2) << 20;
constexpr size_t kMaxImportPieces = 256;
constexpr unsigned kMaxImportThreads = 4;
constexpr int64_t kLinesPerCheck = 1 << 14;

std::string CellForMessage(const char* cell, const char* end) {
    const char* stop = cell;
    while (stop < end && *stop != ',') ++stop;
    std::string text = DecodeFileText(std::string_view(cell, static_cast<size_t>(stop - cell)));
    constexpr size_t kShown = 40;
    std::string cut = CutToFileWidth(text, kShown);
    return cut.size() < text.size() ? cut + "..." : cut;
}

void RunImportPiece(ImportPiece& piece, ImportPass pass, ImportShared& shared,
                    const std::function<bool()>& report) {
    const CsvLineIndex& index = *shared.Index;
    FilePtr file(std::fopen(index.Path().c_str(), "rb"));
    const int64_t begin = index.LineStart(piece.FirstLine), end = index.LineStart(piece.LastLine + 1);
    if (!file || !index.IsSameFile(index.Path()) || std::fseek(file.get(), begin, SEEK_SET) != 0) {
        piece.ReadError = true;
        return;
    }
    LineReader reader(file.get(), end - begin,
                      static_cast<size_t>(std::clamp<int64_t>(end - begin, 1 << 16, 1 << 22)));
    const CsvImportSelection& sel = *shared.Selection;
    const int channels = shared.Channels;
    const int64_t skip = sel.FromColumn - 1;
    std::array<float, kMaxChannels> values{};
    std::string_view text;
    int64_t line = piece.FirstLine, reported = 0;
    for (; line <= piece.LastLine; ++line) {
        if (!reader.Next(text)) {
            piece.ReadError = true;  // the file is shorter than when it was indexed
            break;
        }
        if (line == 1) text = WithoutByteOrderMark(text);
        const char* lineEnd = text.data() + text.size();
        int64_t badColumn = 0;
        const char* badCell = nullptr;
        CellProblem problem =
            ReadCells(text.data(), lineEnd, skip, channels, values.data(), badColumn, badCell);
        if (problem != CellProblem::None) {
            piece.Fault = CellFault{problem, line, badColumn, CellForMessage(badCell, lineEnd)};
            int64_t known = shared.FirstBadLine.load();
            while (line < known && !shared.FirstBadLine.compare_exchange_weak(known, line)) {
            }
            return;
        }
        if (pass == ImportPass::Check) {
            for (int k = 0; k < channels; ++k)
                piece.Maxima[k] = std::max(piece.Maxima[k], std::fabs(values[k]));
        } else {
            const int64_t row = line - sel.FromLine;
            for (int k = 0; k < channels; ++k)
                shared.Out[k][row] = QuantiseSample(values[k], shared.Maxima[k]);
        }
        if ((line - piece.FirstLine + 1) % kLinesPerCheck == 0) {
            shared.BytesDone += reader.Consumed() - reported;
            reported = reader.Consumed();
            if (report && !report()) shared.Stop = true;
            // A bad cell on an earlier line makes the rest of this piece pointless.
            if (shared.Stop || line > shared.FirstBadLine.load()) return;
        }
    }
    shared.BytesDone += reader.Consumed() - reported;
    if (reader.ReadError()) piece.ReadError = true;
}

void TakeImportPieces(std::vector<ImportPiece>& pieces, ImportPass pass, ImportShared& shared,
                      const std::function<bool()>& report) {
    for (size_t i; !shared.Stop && (i = shared.NextPiece++) < pieces.size();) {
        if (pieces[i].FirstLine > shared.FirstBadLine.load()) continue;
        try {
            RunImportPiece(pieces[i], pass, shared, report);
        } catch (const std::bad_alloc&) {
            pieces[i].OutOfMemory = true;
            shared.Stop = true;
        }
        if (report && !shared.Stop && !report()) shared.Stop = true;
    }
}

// Runs one pass over every piece on a few threads, the calling thread among them (it alone
// reports progress).
void RunImportPass(std::vector<ImportPiece>& pieces, ImportPass pass, ImportShared& shared,
                   const std::function<bool()>& report) {
    shared.NextPiece = 0;
    const unsigned threads = static_cast<unsigned>(std::min<size_t>(
        pieces.size(), std::clamp(std::thread::hardware_concurrency(), 1u, kMaxImportThreads)));
    std::vector<std::jthread> helpers;
    try {
        for (unsigned t = 1; t < threads; ++t)
            helpers.emplace_back([&] { TakeImportPieces(pieces, pass, shared, nullptr); });
    } catch (const std::exception&) {
        // No thread to be had: the calling thread takes the pieces alone.
    }
    TakeImportPieces(pieces, pass, shared, report);
}

// Cuts lines first .. last into pieces of about kImportPieceBytes.
std::vector<ImportPiece> CutIntoPieces(const CsvLineIndex& index, int64_t first, int64_t last) {
    const int64_t begin = index.LineStart(first), end = index.LineStart(last + 1);
    const size_t count = static_cast<size_t>(
        std::clamp<int64_t>((end - begin) / kImportPieceBytes, 1, static_cast<int64_t>(kMaxImportPieces)));
    std::vector<ImportPiece> pieces;
    int64_t line = first;
    for (size_t i = 1; i < count; ++i) {
        const int64_t target = begin + static_cast<int64_t>(static_cast<double>(end - begin) * i / count);
        // The first line that starts at or after the target.
        int64_t lo = line + 1, hi = last + 1;
        while (lo < hi) {
            int64_t mid = lo + (hi - lo) / 2;
            if (index.LineStart(mid) < target)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo > last) break;
        ImportPiece piece;
        piece.FirstLine = line;
        piece.LastLine = lo - 1;
        pieces.push_back(piece);
        line = lo;
    }
    ImportPiece piece;
    piece.FirstLine = line;
    piece.LastLine = last;
    pieces.push_back(piece);
    return pieces;
}

Failure ChangedFileFailure(const std::string& path) {
    return Failure::Captioned(
        "The file " + FileNameOf(path) + " has been changed since it was read for the import; open it again.",
        "File Error");
}

std::string CellProblemText(const CsvLineIndex& index, const CellFault& fault) {
    const long long line = fault.Line, column = fault.Column;
    switch (fault.Problem) {
        case CellProblem::Missing:
            return StrPrintf(
                "Line %lld has no column %lld (it has %lld cells); every data line must hold "
                "a number in every selected column.",
                line, column, static_cast<long long>(index.Cells(fault.Line).size()));
        case CellProblem::Empty:
            return StrPrintf("Line %lld, column %lld is empty; every selected cell must hold a number.", line,
                             column);
        case CellProblem::NotNumber:
            return StrPrintf("Line %lld, column %lld: \"%s\" is not a number.", line, column,
                             fault.Text.c_str());
        case CellProblem::OutOfRange:
            return StrPrintf(
                "Line %lld, column %lld: %s is beyond the range of values the program can analyse "
                "(%g to %g).",
                line, column, fault.Text.c_str(), -static_cast<double>(kLargestPhysicalValue),
                static_cast<double>(kLargestPhysicalValue));
        case CellProblem::None:
            break;
    }
    return std::string();
}

// A text of a header line's cell as the standard CSV reader would take it from a saved file:
// blanks before it skipped, trailing blanks removed, decoded and cut to `width` bytes.
std::string HeaderCell(const std::vector<std::string>& cells, int64_t column, size_t width) {
    if (column < 1 || column > static_cast<int64_t>(cells.size())) return std::string();
    std::string_view cell = cells[static_cast<size_t>(column - 1)];
    while (!cell.empty() && IsBlank(cell.front())) cell.remove_prefix(1);
    return HeaderText(cell, width);
}

std::string ChannelName(const std::vector<std::string>& names, int64_t column, int channel) {
    std::string name = HeaderCell(names, column, kNameWidth);
    return name.empty() ? StrPrintf("CH%d", channel + 1) : name;
}

}  // namespace

Outcome ImportCsv(const CsvLineIndex& index, const CsvImportSelection& selection, WaveRecord& record,
                  const Progress& progress) {
    if (Outcome checked = CheckImportSelection(index, selection); !checked.Ok()) return checked;
    if (!index.Unchanged()) return Outcome::Fail(ChangedFileFailure(index.Path()));

    const int channels = selection.Channels();
    const int64_t rows = selection.Samples();
    ImportShared shared;
    shared.Index = &index;
    shared.Selection = &selection;
    shared.Channels = channels;
    const double totalBytes =
        2.0 * static_cast<double>(std::max<int64_t>(
                  index.LineStart(selection.ToLine + 1) - index.LineStart(selection.FromLine), 1));
    std::function<bool()> report = [&] {
        return Report(progress, kImportProgressText,
                      std::min(1.0, static_cast<double>(shared.BytesDone) / totalBytes));
    };

    WaveRecord staged;
    std::vector<ImportPiece> pieces;
    try {
        pieces = CutIntoPieces(index, selection.FromLine, selection.ToLine);

        // First pass: every selected cell must be a number; the largest magnitude of each column.
        RunImportPass(pieces, ImportPass::Check, shared, report);
        auto failure = [&]() -> std::optional<Failure> {
            for (const ImportPiece& p : pieces)
                if (p.OutOfMemory) return MemoryFailure();
            const ImportPiece* faulty = nullptr;
            for (const ImportPiece& p : pieces)
                if (p.Fault.Problem != CellProblem::None && (!faulty || p.Fault.Line < faulty->Fault.Line))
                    faulty = &p;
            if (faulty) return Failure::Captioned(CellProblemText(index, faulty->Fault), kImportCaption);
            if (shared.Stop) return CancelledFailure();
            for (const ImportPiece& p : pieces)
                if (p.ReadError) return ChangedFileFailure(index.Path());
            return std::nullopt;
        };
        if (auto f = failure()) return Outcome::Fail(*f);
        for (const ImportPiece& p : pieces)
            for (int k = 0; k < channels; ++k) shared.Maxima[k] = std::max(shared.Maxima[k], p.Maxima[k]);
        // A column too small for a normal scale factor reads as zeros, as in the CSV reader.
        for (int k = 0; k < channels; ++k) shared.Maxima[k] = UsableColumnMaximum(shared.Maxima[k]);

        // Nothing of the earlier record (its title, names, header bytes) is carried over.
        staged = FreshRecord(record);
        if (!AllocateSamples(staged, channels, rows)) return Outcome::Fail(MemoryFailure());

        // Second pass: every value scaled so that the column maximum becomes ±32000.
        for (int k = 0; k < channels; ++k) shared.Out[k] = staged.Channels[k].Samples.data();
        RunImportPass(pieces, ImportPass::Samples, shared, report);
        if (auto f = failure()) return Outcome::Fail(*f);
        if (!index.Unchanged()) return Outcome::Fail(ChangedFileFailure(index.Path()));
    } catch (const std::bad_alloc&) {
        return Outcome::Fail(MemoryFailure());
    }
    Report(progress, kImportProgressText, 1.0);

    const std::vector<std::string> names = index.Cells(selection.NamesLine);
    const std::vector<std::string> units = index.Cells(selection.UnitLine);
    for (int k = 0; k < channels; ++k) {
        ChannelInfo& ch = staged.Channels[k];
        const int64_t column = selection.FromColumn + k;
        ch.Name = ChannelName(names, column, k);
        ch.Unit = HeaderCell(units, column, kUnitWidth);
        ch.DisplayUnit = ch.Unit;
        ch.ScaleFactor = ColumnScaleFactor(shared.Maxima[k]);
        ch.RawPeak = 32000;
    }
    staged.FilePath = index.Path();
    staged.FileName = FileNameOf(index.Path());
    staged.Format = FormatType::CsvArbitrary;
    staged.ChannelCount = channels;
    staged.SampleCount = static_cast<int32_t>(rows);
    staged.SamplingRate = static_cast<int32_t>(selection.SamplingRate);
    staged.Time = selection.Unit;
    staged.RateUnitText = TimeText(selection.Unit);
    {
        FilePtr file(std::fopen(index.Path().c_str(), "rb"));
        staged.DateText = file ? ModificationDateText(file.get()) : std::string();
    }
    const int16_t rateWord = static_cast<int16_t>(selection.SamplingRate);
    staged.Header.SetSamplingRate(rateWord == 0 ? int16_t(100) : rateWord);
    staged.Header.WriteI32(DblHeader::kSampleCountOffset, static_cast<int32_t>(rows));
    record = std::move(staged);
    return Outcome{};
}

// ---- The save

std::string StandardCsvName(const std::string& fileName) {
    // A dot that starts the name (a hidden file) is part of the name.
    const size_t dot = fileName.size() > 1 ? fileName.find('.', 1) : std::string::npos;
    if (dot == std::string::npos) return fileName + "_std.csv";
    return fileName.substr(0, dot) + "_std." + fileName.substr(dot + 1);
}

std::string OverwriteQuestionText(const std::string& name) {
    return StrPrintf("Same file %s is already exists. Overwrite?", name.c_str());
}

namespace {

// The cells of the selected columns of a header line, joined by commas, in code page 932.
std::string HeaderLine(const std::vector<std::string>& cells, const CsvImportSelection& s, bool names) {
    std::string line;
    for (int k = 0; k < s.Channels(); ++k) {
        const int64_t column = s.FromColumn + k;
        if (k) line += ',';
        if (names && HeaderCell(cells, column, kNameWidth).empty()) {
            line += StrPrintf("CH%d", k + 1);
        } else if (column <= static_cast<int64_t>(cells.size())) {
            line += EncodeFileText(DecodeFileText(cells[static_cast<size_t>(column - 1)]));
        }
    }
    return line;
}

}  // namespace

Outcome SaveAsStandardCsv(const CsvLineIndex& index, const CsvImportSelection& s, const std::string& target,
                          const Progress& progress) {
    if (Outcome checked = CheckImportSelection(index, s); !checked.Ok()) return checked;
    if (index.IsSameFile(target))
        return Outcome::Fail(Failure::Captioned(
            "The file being imported cannot be replaced by its standard CSV copy; choose another name.",
            "File Name Error"));
    if (!index.Unchanged()) return Outcome::Fail(ChangedFileFailure(index.Path()));

    constexpr const char* kLineEnd = "\r\n";
    SafeFileWriter writer(target);
    if (!writer.Opened()) return Outcome::Fail(SafeFileWriter::OpenFailure());
    writer.Write(HeaderLine(index.Cells(s.NamesLine), s, true) + kLineEnd);
    writer.Write(StrPrintf("%lld,", static_cast<long long>(s.SamplingRate)) +
                 EncodeFileText(TimeText(s.Unit)) + kLineEnd);
    writer.Write(HeaderLine(index.Cells(s.MemoLine), s, false) + kLineEnd);
    writer.Write(HeaderLine(index.Cells(s.UnitLine), s, false) + kLineEnd);

    // The data lines: the selected cells are one stretch of each line, written as they stand.
    FilePtr file(std::fopen(index.Path().c_str(), "rb"));
    const int64_t begin = index.LineStart(s.FromLine), end = index.LineStart(s.ToLine + 1);
    if (!file || std::fseek(file.get(), begin, SEEK_SET) != 0)
        return Outcome::Fail(ChangedFileFailure(index.Path()));
    LineReader reader(file.get(), end - begin);
    const int channels = s.Channels();
    std::string block;
    std::string_view text;
    for (int64_t line = s.FromLine; line <= s.ToLine; ++line) {
        if (!reader.Next(text)) return Outcome::Fail(ChangedFileFailure(index.Path()));
        if (line == 1) text = WithoutByteOrderMark(text);
        const char* p = text.data();
        const char* stop = p + text.size();
        for (int64_t c = 1; c < s.FromColumn && p < stop; ++c) {
            const void* comma = std::memchr(p, ',', static_cast<size_t>(stop - p));
            p = comma ? static_cast<const char*>(comma) + 1 : stop;
        }
        const char* q = p;
        for (int k = 0; k < channels && q < stop; ++k) {
            const void* comma = std::memchr(q, ',', static_cast<size_t>(stop - q));
            if (!comma || k + 1 == channels) {
                q = comma ? static_cast<const char*>(comma) : stop;
                break;
            }
            q = static_cast<const char*>(comma) + 1;
        }
        block.append(p, static_cast<size_t>(q - p));
        block += kLineEnd;
        if (block.size() > (size_t(1) << 20)) {
            writer.Write(block);
            block.clear();
            if (!Report(progress, kSaveProgressText,
                        static_cast<double>(reader.Consumed()) /
                            static_cast<double>(std::max<int64_t>(end - begin, 1))))
                return Outcome::Fail(CancelledFailure());
        }
    }
    writer.Write(block);
    return writer.Finish();
}

}  // namespace wavora
