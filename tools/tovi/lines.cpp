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

bool LineReader::Next(Line &line) {
    line.text.clear();
    line.end.clear();
    int c;
    bool any = false;
    while ((c = std::getc(file_)) != EOF) {
        any = true;
        if (c == '\n') {
            line.end = "\n";
            break;
        }
        line.text.push_back(static_cast<char>(c));
    }
    if (std::ferror(file_)) {
        error_ = std::strerror(errno);
        return false;
    }
    if (!any) return false;
    if (!line.end.empty() && !line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
        line.end = "\r\n";
    }
    number_++;
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
