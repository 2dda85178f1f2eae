#pragma once

// Standard output as a console program on Linux is expected to treat it: a
// write that fails (a full disk, a closed descriptor) is an error the exit
// status shows, while a reader that has gone away (a broken pipe: `| head`)
// only means nobody wants the rest, which is then dropped. SIGPIPE is ignored
// for that, so a save that has finished is never turned into a kill.

#include <cerrno>
#include <streambuf>
#include <string>

namespace quorvik::console::posix {

// Opens /dev/null on any of descriptors 0, 1 and 2 that is closed, so that no
// file the program opens later takes their place and receives its output.
// True when standard output was closed: writing to it then fails.
bool keepStandardDescriptors();

class Output : public std::streambuf {
public:
    // closed: every write fails, as on a closed descriptor.
    Output(int descriptor, bool closed);
    ~Output() override;

    // The error of the first write that failed; 0 when none did.
    int error() const { return error_; }
    bool readerGone() const { return readerGone_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool flushBuffer();

    int descriptor_;
    int error_ = 0;
    bool readerGone_ = false;
    std::string buffer_;
};

}  // namespace quorvik::console::posix
