#include "record/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace wavora {

namespace {

// One conversion through iconv; `replacement` stands in for a sequence the target cannot take.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    size_t badInputStep) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            size_t used = static_cast<size_t>(outPtr - out.data());
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // EILSEQ or EINVAL (a cut sequence at the end): replace and go on.
        size_t used = static_cast<size_t>(outPtr - out.data());
        out.resize(used);
        out.append(replacement);
        size_t step = badInputStep;
        if (step == 0) {  // UTF-8 input: skip one whole character
            step = 1;
            while (step < inLeft && (static_cast<unsigned char>(inPtr[step]) & 0xC0) == 0x80) ++step;
        }
        step = std::min(step, inLeft);
        inPtr += step;
        inLeft -= step;
        out.resize(out.size() + inLeft * 4 + 16);
        outPtr = out.data() + used + replacement.size();
        outLeft = out.size() - used - replacement.size();
    }
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.resize(static_cast<size_t>(outPtr - out.data()));
    iconv_close(cd);
    return out;
}

}  // namespace

bool IsAscii(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (c >= 0x80) return false;
    return true;
}

bool IsValidUtf8(std::string_view s) {
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t len;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) ||
            (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

std::string DecodeFileText(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    // A lead byte whose trail is not valid: drop one byte and go on.
    return Convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD", 1);
}

std::string EncodeFileText(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::string text(utf8);
    // The micro sign has no code-page-932 form; the Greek mu stands for it in the meters' files.
    for (size_t p; (p = text.find("\xC2\xB5")) != std::string::npos;) text.replace(p, 2, "\xCE\xBC");
    return Convert("CP932", "UTF-8", text, "?", 0);
}

std::string CutToFileWidth(std::string_view utf8, size_t maxBytes) {
    size_t encoded = 0, i = 0;
    while (i < utf8.size()) {
        size_t len = 1;
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        len = std::min(len, utf8.size() - i);
        size_t width = len == 1 ? 1 : EncodeFileText(utf8.substr(i, len)).size();
        if (encoded + width > maxBytes) break;
        encoded += width;
        i += len;
    }
    return std::string(utf8.substr(0, i));
}

}  // namespace wavora
