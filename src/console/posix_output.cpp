#include "console/posix_output.h"

#include <fcntl.h>
#include <unistd.h>

namespace quorvik::console::posix {

bool keepStandardDescriptors() {
    bool outputClosed = false;
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        // open() takes the lowest free descriptor: this one.
        ::open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (descriptor == 1) outputClosed = true;
    }
    return outputClosed;
}

Output::Output(int descriptor, bool closed) : descriptor_(descriptor) {
    if (closed) error_ = EBADF;
    buffer_.reserve(64 * 1024);
}

Output::~Output() {
    flushBuffer();
}

Output::int_type Output::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return flushBuffer() ? 0 : traits_type::eof();
    buffer_.push_back(traits_type::to_char_type(c));
    if (buffer_.size() >= buffer_.capacity() && !flushBuffer()) return traits_type::eof();
    return c;
}

int Output::sync() {
    return flushBuffer() ? 0 : -1;
}

bool Output::flushBuffer() {
    if (error_ != 0) {
        buffer_.clear();
        return false;
    }
    std::size_t written = 0;
    while (written < buffer_.size() && !readerGone_) {
        const ssize_t count =
            ::write(descriptor_, buffer_.data() + written, buffer_.size() - written);
        if (count >= 0) {
            written += static_cast<std::size_t>(count);
        } else if (errno == EPIPE) {
            readerGone_ = true;
        } else if (errno != EINTR) {
            error_ = errno;
            buffer_.clear();
            return false;
        }
    }
    buffer_.clear();
    return true;
}

}  // namespace quorvik::console::posix
