// Text lines for the converting subcommands: read from a file or standard input, each with
// the line end it had, of any length, whole or in pieces.
#pragma once

#include <cstdio>
#include <string>

struct Line {
    std::string text;  // without its end
    std::string end;   // "\n", "\r\n", or "" for a last line without one (and for a piece before the end)
    bool last = true;  // a piece: whether it ends its line
};

class LineReader {
public:
    // Reads `path`, or standard input for "" or "-". ok() tells whether the file opened.
    explicit LineReader(const std::string &path);
    ~LineReader();
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    bool ok() const { return file_ != nullptr; }
    // The reason the file did not open, or a read failed.
    const std::string &error() const { return error_; }
    // The next line; false at the end of the text or on a read error (then error() is set).
    bool Next(Line &line) { return NextPiece(line, 0, nullptr); }
    // The next piece of a line: the rest of the line, or, once the piece holds `size` bytes,
    // the bytes up to and including the next one that `cutAfter` accepts (never a CR).
    bool NextPiece(Line &piece, size_t size, bool (*cutAfter)(unsigned char));
    // Number of the line the last piece belongs to, from 1.
    long number() const { return number_; }

private:
    int Get();

    FILE *file_;
    bool owned_;
    long number_ = 0;
    bool lineStarts_ = true;
    std::string error_;
    unsigned char buffer_[65536];
    size_t have_ = 0, at_ = 0;
};

// Whether the text is well-formed UTF-8.
bool IsValidUtf8(const std::string &text);
