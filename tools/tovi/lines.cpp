#include "lines.h"

#include <cerrno>
#include <cstring>

LineReader::LineReader(const std::string &path) : file_(nullptr), owned_(false) {
    if (path.empty() || path == "-") {
        file_ = stdin;
        return;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) error_ = std::strerror(errno);
    owned_ = file_ != nullptr;
}

LineReader::~LineReader() {
    if (owned_) std::fclose(file_);
}

int LineReader::Get() {
    if (at_ == have_) {
        have_ = std::fread(buffer_, 1, sizeof buffer_, file_);
        at_ = 0;
        if (have_ == 0) return EOF;
    }
    return buffer_[at_++];
}

bool LineReader::NextPiece(Line &piece, size_t size, bool (*cutAfter)(unsigned char)) {
    piece.text.clear();
    piece.end.clear();
    piece.last = true;
    int c;
    bool any = false;
    while ((c = Get()) != EOF) {
        any = true;
        if (c == '\n') {
            piece.end = "\n";
            break;
        }
        piece.text.push_back(static_cast<char>(c));
        if (cutAfter && piece.text.size() >= size && c != '\r' && cutAfter(static_cast<unsigned char>(c))) {
            piece.last = false;
            break;
        }
    }
    if (std::ferror(file_)) {
        error_ = std::strerror(errno);
        return false;
    }
    if (!any) return false;
    if (!piece.end.empty() && !piece.text.empty() && piece.text.back() == '\r') {
        piece.text.pop_back();
        piece.end = "\r\n";
    }
    if (lineStarts_) number_++;
    lineStarts_ = piece.last;
    return true;
}

bool IsValidUtf8(const std::string &text) {
    const unsigned char *s = reinterpret_cast<const unsigned char *>(text.data());
    size_t n = text.size(), i = 0;
    while (i < n) {
        unsigned char b = s[i];
        size_t len;
        unsigned long cp;
        if (b < 0x80) {
            i++;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; k++) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += len;
    }
    return true;
}
