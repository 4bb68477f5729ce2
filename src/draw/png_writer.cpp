#include "draw/png_writer.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <QImage>
#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace wavora {

namespace {

struct PngError {
    char text[200];
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto* err = static_cast<PngError*>(png_get_error_ptr(png));
    if (err) std::snprintf(err->text, sizeof err->text, "%s", message ? message : "PNG error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Encodes into an open file. Nothing with a destructor lives in this frame, since libpng reports
// an error by jumping back to the setjmp below.
bool Encode(FILE* file, int width, int height, const uint8_t* rgb, size_t stride, PngError* err) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, err, OnPngError, OnPngWarning);
    if (!png) {
        std::snprintf(err->text, sizeof err->text, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(err->text, sizeof err->text, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rgb + static_cast<size_t>(y) * stride);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

Failure WriteFailure(const std::string& path, const std::string& reason) {
    return Failure{"Cannot create file \"" + path + "\". " + reason, kApplicationTitle, MessageIcon::Warning};
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return std::string();
    return path.substr(0, slash + 1);
}

}  // namespace

Outcome WritePngRgb(const std::string& path, int width, int height, const uint8_t* rgb, size_t stride) {
    if (path.empty()) return Outcome::Fail(WriteFailure(path, "No file name."));
    if (width <= 0 || height <= 0 || !rgb) return Outcome::Fail(WriteFailure(path, "The picture is empty."));

    // A fresh name beside the target, so a failed write never leaves a broken file under the
    // user's name and an existing file stays as it was until the new one is complete.
    static std::atomic<unsigned> counter{0};
    std::string base = path.substr(FolderOf(path).size());
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = FolderOf(path) + "." + base + "." + std::to_string(getpid()) + "-" +
               std::to_string(counter.fetch_add(1)) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return Outcome::Fail(WriteFailure(path, std::strerror(errno)));
    FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        int e = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return Outcome::Fail(WriteFailure(path, std::strerror(e)));
    }

    PngError err{};
    bool encoded = Encode(file, width, height, rgb, stride, &err);
    int writeErrno = std::ferror(file) ? errno : 0;
    bool flushed = std::fflush(file) == 0;
    if (!flushed && !writeErrno) writeErrno = errno;
    bool closed = std::fclose(file) == 0;
    if (!closed && !writeErrno) writeErrno = errno;
    if (!encoded || !flushed || !closed || writeErrno) {
        ::unlink(temp.c_str());
        std::string reason = writeErrno ? std::strerror(writeErrno) : err.text;
        return Outcome::Fail(WriteFailure(path, reason));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        int e = errno;
        ::unlink(temp.c_str());
        return Outcome::Fail(WriteFailure(path, std::strerror(e)));
    }
    return {};
}

Outcome WritePng(const std::string& path, const QImage& image) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return WritePngRgb(path, rgb.width(), rgb.height(), rgb.constBits(),
                       static_cast<size_t>(rgb.bytesPerLine()));
}

}  // namespace wavora
