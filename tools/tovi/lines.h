// Text lines for the converting subcommands: read from a file or standard input, each with
// the line end it had, of any length.
#pragma once

#include <cstdio>
#include <string>

struct Line {
    std::string text;  // without its end
    std::string end;   // "\n", "\r\n", or "" for a last line without one
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
    bool Next(Line &line);
    // Number of the line Next returned last, from 1.
    long number() const { return number_; }

private:
    FILE *file_;
    bool owned_;
    long number_ = 0;
    std::string error_;
};

// Whether the text is well-formed UTF-8.
bool IsValidUtf8(const std::string &text);
