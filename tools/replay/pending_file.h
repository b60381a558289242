// A file written under a temporary name beside the one asked for, and renamed to it
// only when complete: a failure, an exit on the way or SIGINT, SIGTERM or SIGHUP
// removes it, so no half-written file ever carries the name asked for.
#pragma once

#include <string>

class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Makes the temporary file in the folder of `path`; false, with a message in
    // error(), when that folder cannot take it. One at a time.
    bool create(const std::string& path);
    const std::string& temporaryPath() const { return temporary_; }
    // Gives the complete file its name; false, with a message, when it cannot.
    bool commit();
    // Removes the temporary file.
    void discard();
    const std::string& error() const { return error_; }

private:
    std::string path_;
    std::string temporary_;
    std::string error_;
};
